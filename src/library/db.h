// The library database: the built-in entries followed by the entries the data pack makes, with
// the texts derived from them once per build (translated title, subtitle and body, the folded
// search text, the folded names in all six languages), the per-entry flags, the entry keys
// that identify an entry across runs and languages, and the recently viewed entries.
// Built lazily (dbInit) and thrown away when the language or the pack changes (dbFree); entry
// indexes are valid for one generation (dbGen), everything persistent is kept by entry key.
#pragma once
#include <string>
#include <vector>

#include "builds/builds.h"  // fav and owned: the current build's pieces, per entry
#include "library/libentry.h"

struct Store;

constexpr int CAT_COUNT = 14;
constexpr int CAT_NEWS = 11, CAT_CREATOR = 12;
constexpr int RECENT_MAX = 25;

// Category keys, the values of a pack guide's "cat" (index = category number).
extern const char* const CAT_KEY[CAT_COUNT];

extern std::vector<LibEntry> DB;
extern int DBN, dbDone, dbGen;
extern std::vector<std::u16string> wTitle, wSub, wBody, wTitleEs, wFold, wNames;
extern std::vector<unsigned char> oldF, liveF;
extern std::vector<int> pkEntry;  // per pack record: the entry it made, or -1
extern int recent[RECENT_MAX];
extern int nRecent;

// Builds the database from DB_BUILTIN and the pack in force (pk), in the current language, hands
// the entry keys to the builds and loads them from st, and reads the recently viewed entries
// (section "recientes"). A null st reads nothing. Sets dbDone.
void dbInit(Store* st);

// Frees every per-entry array and clears dbDone (the core side of libReset).
void dbFree();

// The category a pack guide's "cat" value gives: a number below 14 other than 8, or the first
// key the value starts with (case-insensitive); screenshots, unknown and empty values: 11.
int packCategory(const char* v);

// The outdated rule over "title | subtitle" (Spanish) and a pack record's "temporada" (or null).
int isOutdated(const char* title, const char* sub, const char* season);

// "cat|Spanish title", the entry's identity across runs and languages.
std::u16string entryKey(int i);
// The first entry whose key equals key exactly, or -1.
int entryByKey(const char16_t* key);

// The entry made from pack record rec, building the database first if needed; -1 for a record
// out of range or one that made no entry (the caller then shows the news row).
int libPackEntry(int rec, Store* st);

// Moves entry i to the front of the recently viewed list (dropping an earlier occurrence and,
// past 25, the oldest) and rewrites section "recientes" of st by entry key.
void recentPush(int i, Store* st);
