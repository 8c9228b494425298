// The data pack in force: the parser that cuts a pack text into records of key/value fields,
// and the accessors every consumer reads them with (localized text, yes/no, UTC instant,
// season code). pk, pkN and pkBuf change together, only when a parse succeeds; pointers taken
// from pk stay valid until the next successful parse.
#pragma once
#include <cstddef>

constexpr int PK_BLOCKS = 300;  // records, header included
constexpr int PK_FIELDS = 48;   // fields per record
constexpr const char* PK_MAGIC = "# ZENVORAL-DATOS";

struct PackBlock {
    const char* kind;  // "general" for the header, else the text inside the brackets
    int n;             // fields stored
    const char* key[PK_FIELDS];
    const char* val[PK_FIELDS];  // unescaped, never null
};

extern PackBlock pk[PK_BLOCKS];
extern int pkN;       // valid records in pk, 0 before the first parse
extern char* pkBuf;   // the text the records point into

// The pack built into the program (generated from data/pack/datos.txt).
extern const char PACK_BUILTIN[];
extern const unsigned PACK_BUILTIN_LEN;

// Parses len bytes of text (no terminator needed); on success replaces the pack and returns 1,
// otherwise returns 0 and the pack in force stays.
int pkParse(const char* text, size_t len);
// The same in two steps, for a pack that must first be stored: pkStage parses into work
// records (1 when valid) without touching the pack in force; pkAdopt then puts them in force,
// pkDiscard drops them.
int pkStage(const char* text, size_t len);
void pkAdopt();
void pkDiscard();

// The localized value of key: key.<language>, key, key.en, key.es; the first non-empty one.
const char* pget(const PackBlock* b, const char* key);
// The first field named key, as written (null when missing).
const char* praw(const PackBlock* b, const char* key);
// 1 when the first field named key begins with S, s, Y, y or 1.
int pyes(const PackBlock* b, const char* key);
// The instant in key ("YYYY-MM-DD[ T]HH:MM", UTC, time optional) as Unix seconds; 0 for none.
long long pkTime(const PackBlock* b, const char* key);
// UTC calendar time to Unix seconds, fields normalised like mktime; -1 outside 1970..3000.
long long pkUtc(int year, int mon, int day, int hour, int min);
// The highest season index (year * 3 + season - 1) named in text by "YnSm" codes, or -1.
int seasonIdx(const char* text);

// Trims a line in place: leading spaces and tabs, trailing spaces, tabs and CR.
char* pkTrim(char* line);
// Rewrites \n, \t and \\ in place; any other backslash stays as written.
void pkUnescape(char* value);

// Forgets the pack (for tests).
void pkClear();
