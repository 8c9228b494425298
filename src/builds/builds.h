// The player's builds: up to 30 named sets of library entries, one of them current. The
// current build's pieces are the per-entry flags `fav` (in the build) and `owned` (marked
// obtained); the other builds live only in the settings file, as section "builds" (count,
// current index, names) and one section "build<k>" per build whose keys "f0", "f1", ... hold
// "<mark>|<entry key>" in library order.
//
// The library hands its entry keys over with buildsAttach after every database build and then
// calls buildsLoad; it reads `fav` and `owned` by entry index. Every operation that changes a
// build writes the settings at once.
#pragma once
#include <string>
#include <vector>

#include "base/store.h"

constexpr int MAX_BUILDS = 30;
constexpr int BUILD_NAME_MAX = 63;  // UTF-16 units of a stored name

extern int nBuilds;                          // 1..MAX_BUILDS
extern int curBuild;                         // 0..nBuilds-1
extern std::u16string buildName[MAX_BUILDS];  // empty: shown as UI text 169
extern std::vector<unsigned char> fav;        // per entry: a piece of the current build
extern std::vector<unsigned char> owned;      // per entry: that piece is obtained

// The library's entry keys ("<category>|<Spanish title>") in index order. Clears the flags;
// the current build is read again by buildsLoad.
void buildsAttach(std::vector<std::u16string> keys);
int buildEntries();                          // number of attached entries
const std::u16string& buildEntryKey(int i);  // key of entry i
int buildEntryByKey(const std::u16string& key);  // first entry with that key, or -1
// Forgets every build and entry (one build, unnamed); for tests and a library reset.
void buildsReset();

// Reads the index and the current build. The first time (no index yet) the old single build
// of section "mibuild" becomes build 0 and the old section is deleted.
void buildsLoad(Store& st);
// Makes build k current: clears the flags and reads its pieces.
void buildLoad(Store& st, int k);
// Rewrites the current build's section from the flags, then the index.
void favSave(Store& st);
// Rewrites section "builds".
void buildsIndexSave(Store& st);

// The name shown for build k: its name, or UI text 169 when empty.
std::u16string buildShown(int k);
// Changes name so that it differs, ignoring case, from every build's shown name: the base
// (name without a " (n)" suffix, at most 50 characters) gets " (2)", " (3)", ... up to 99.
void uniqueName(std::u16string& name);
// A name fit for storing and showing: control characters become spaces, direction marks and
// invisible formatting are dropped, spaces at both ends trimmed, cut to BUILD_NAME_MAX units
// without splitting a character.
std::u16string buildCleanName(std::u16string_view name);
// The first max units of s, one fewer when the cut would split a surrogate pair.
std::u16string cutUnits(std::u16string_view s, size_t max);

// Adds a build (empty, or a copy of the current one) named after name, made unique, and makes
// it current. 0 when MAX_BUILDS builds exist.
int buildNew(Store& st, std::u16string_view name, bool copy);
// Makes build k current (saving the index); 0 when k is not a valid other build.
int buildSwitch(Store& st, int k);
// Renames the current build (the name made unique against the others).
void buildRename(Store& st, std::u16string_view name);
// A copy of the current build under its name with a suffix; 0 when MAX_BUILDS builds exist.
int buildDuplicate(Store& st);
// Deletes the current build; the only build is emptied and unnamed instead. Later builds move
// one index down; the build now at the same index (or the last one) becomes current.
void buildDelete(Store& st);

// Adds entry i to the current build or removes it (which clears its mark); returns the new
// membership, -1 for an invalid index.
int buildToggle(Store& st, int i);
// Flips the obtained mark of entry i, a piece of the current build; returns the new mark, -1
// when i is not a piece.
int buildToggleOwned(Store& st, int i);
int buildPieces();      // pieces of the current build
int buildOwnedCount();  // obtained pieces of the current build

// Labels the library shows for the current build: the build button of entry i ("Quitar de
// «name»" when it is a piece, else "Añadir a «name»"; the latter also for no entry), the
// obtained button ("✓ Conseguida" or "Marcar como conseguida") and the count of the "Mis
// builds" row ("obtained/pieces", or "0" for an empty build).
std::u16string buildButtonLabel(int i);
std::u16string ownedButtonLabel(int i);
std::u16string buildCountLabel();

// Build menu commands: 1 new, 2 rename, 3 duplicate, 4 delete, 5 share, 6 import.
enum { BM_NEW = 1, BM_RENAME, BM_DUPLICATE, BM_DELETE, BM_SHARE, BM_IMPORT };
// 1 when the command is offered (not greyed out) in the current state.
int buildMenuEnabled(int cmd);
// The name offered for a new build: "<UI text 169> <nBuilds + 1>".
std::u16string buildNewSuggestion();
