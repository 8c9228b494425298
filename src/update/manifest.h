// The update manifest ("version.txt") and the decision whether it offers a newer program: the
// magic line, key = value pairs with the pack's escapes (first 48 count, the first of a repeated
// key wins), the required keys, the installer address rule, and the version comparison by
// build number or by dotted components. Release notes are looked up per language like the
// pack's localised fields. (The HTTP client below the data pack lives here too, so this folder
// stands below datapack/ and keeps its own small record.)
#pragma once
#include <cstddef>

constexpr const char* UPD_MAGIC = "# ZENVORAL-VERSION";
constexpr int UPD_PAIRS = 48;

struct UpdPairs {
    int n;
    const char* key[UPD_PAIRS];
    const char* val[UPD_PAIRS];  // unescaped, never null
};
constexpr int UPD_VER = 32, UPD_URL = 1024, UPD_SHA = 80;  // buffers, terminator included

// The offer of the last manifest.
extern UpdPairs updInfo;           // its pairs, pointing into updNotesBuf
extern char* updNotesBuf;          // the last manifest text (malloc'd), owned here
extern char16_t updUrl[UPD_URL];   // installer address
extern char16_t updSha[UPD_SHA];   // expected SHA-256, lower case; empty when none

// Cuts text (changed in place, zero-terminated) into pairs. Returns the number of pairs, or -1
// when the text does not begin with the magic.
int mfParse(char* text, UpdPairs* out);

// The first value of key, or null.
const char* mfGet(const UpdPairs* m, const char* key);

// The release notes for language l (0..5): "notas.<code>", "notas", "notas.en", "notas.es";
// the first non-empty one, or null.
const char* updNotes(int l);

// 1 when offered is a newer program than the running one: by "compilacion" when the manifest
// has it (its leading digits against build), else by up to four dotted numbers.
int verNewer(const char* offered, const char* running);

enum { UPD_INVALID = 0, UPD_CURRENT = 1, UPD_NEWER = 2 };

// Takes a fetched manifest (malloc'd, zero-terminated; ownership passes here and the previous
// one is freed), fills updInfo, updUrl, updSha and ver (UPD_VER characters) and says what it
// offers. customAddress: the manifest came from an address other than the built-in one, which
// alone allows an "http://" installer.
int updTake(char* text, int customAddress, char16_t* ver);

// Frees the kept manifest (for tests and shutdown).
void updForget();
