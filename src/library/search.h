// Search over the library database: text folding (lower case, accents off, separators to
// spaces, apostrophes out), the typo-tolerant edit distance, and the rows of the result list
// for a query, a category row and the hide-outdated switch, with what their second column and
// colours depend on. The list control that shows the rows is the library window's.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Generated lower-case table (Unicode mappings over the BMP that go both ways): FOLD_PAGE[c >> 8] is 0 or
// 1 + the row of FOLD_LOW holding page c >> 8.
extern const unsigned char FOLD_PAGE[256];
extern const char16_t FOLD_LOW[][256];

inline char16_t lowerBmp(char16_t c) {
    unsigned char p = FOLD_PAGE[c >> 8];
    return p ? FOLD_LOW[p - 1][c & 0xFF] : c;
}

// Folds s in place: lower case, then "àáâãä" -> a, "ç" -> c, "èéêë" -> e, "ìíîï" -> i, "ñ" -> n,
// "òóôõö" -> o, "ùúûü" -> u; tab, LF, CR, "-", "/", "_" -> space; ' and U+2018/U+2019 removed.
void foldInPlace(std::u16string& s);
// The same over a terminated buffer; returns the new length.
size_t foldInPlace(char16_t* s);

constexpr int EDIT_MAX = 40;
// Optimal-string-alignment distance (Levenshtein plus adjacent transpositions), lengths <= 40.
int editDist(const char16_t* a, int la, const char16_t* b, int lb);

// Category row values with a meaning of their own (others: category value - 1).
constexpr int ROW_BUILD = 0, ROW_CREATORS = 13, ROW_RECENT = 100;
constexpr int QUERY_MAX = 127;  // characters of the search box that count
constexpr int FUZZY_BELOW = 8;  // the fuzzy step runs when fewer rows matched exactly
constexpr int FUZZY_ROWS = 60;

// What the second column shows.
enum RowCol : unsigned char { COL_SUB, COL_CATEGORY, COL_BUILD, COL_LIVE };

struct LibRow {
    int entry;
    RowCol col;
    unsigned char old;    // outdated
    unsigned char owned;  // a piece of the build marked obtained
    unsigned char live;   // a creator live now
    unsigned char fuzzy;  // listed by the typo-tolerant step
};

// The rows for the search box text (raw), the selected category row's value and hideOld, in
// display order. Empty means the empty state.
void listRows(const char16_t* box, int curCat, int hideOld, std::vector<LibRow>& rows);

// The second column's text.
std::u16string rowText2(const LibRow& r);

// Cell colours as 0x00BBGGRR.
struct RowColours {
    unsigned bg, text1, text2;
};
RowColours rowColours(const LibRow& r, int selected);

// Prepares the name tokens of the database built last (dbInit calls it).
void searchIndex();

// Synonyms (generated from data/busqueda): words players type that the library does not use,
// and what each also searches for.
struct Synonym {
    const char16_t* word;
    const char16_t* target;
};
extern const Synonym SYNONYMS[];
extern const int SYN_N;
