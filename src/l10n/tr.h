// Translation of the library's Spanish texts by segments: a text is cut into pieces (a whole
// title, the parts of a subtitle between " · ", the lines of a body, the cells of a table), each
// piece is looked up whole in the sorted table of Spanish segments and replaced by its
// translation when there is one. Anything without a translation stays in Spanish, and the
// separators and blanks around each piece are kept byte for byte.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Generated from data/library and data/segmentos: SEG_N Spanish segments in strcmp order
// (unique, 2..467 bytes, no line feed, tab or edge blank) and five blocks of SEG_N translations
// (English, French, German, Italian, Portuguese: block lang - 1), null where there is none.
extern const int SEG_N;
extern const char* const SEG_ES[];
extern const char* const SEG_TR[];

// Separators the library cuts with: a whole title is one segment (a byte that never occurs),
// subtitles are cut at " · ", bodies at line feeds.
constexpr const char* TR_WHOLE = "\x01";
constexpr const char* TR_SUB = " \xC2\xB7 ";
constexpr const char* TR_LINES = "\n";

// strcmp of the strings two table slots point to (for bsearch/qsort over pointer tables).
int segCmp(const void* a, const void* b);

// The translation of the len bytes at seg (not terminated) into language l (0..5), or null for
// Spanish, a length outside 1..2047, or no translation. Points into SEG_TR; not to be freed.
const char* trSegL(const char* seg, size_t len, int l);
// The same in the current language.
const char* trSeg(const char* seg, size_t len);

// text with every piece between occurrences of sep translated into language l, appended to out.
// Each piece is split into leading blanks, core and trailing blanks (space, tab, CR); only the
// core is looked up. Null text appends nothing.
void trSplitTo(std::string& out, const char* text, const char* sep, int l);
// The same as a new text, in the current language.
std::string trSplit(const char* text, const char* sep);

// text with every cell of a tab- and line-separated table translated (cells are not trimmed),
// appended to out.
void trTableTo(std::string& out, const char* text, int l);
std::string trTable(const char* text);

// UTF-8 to UTF-16; with crlf every line feed becomes CR LF (for multi-line controls). Invalid
// bytes become U+FFFD one by one, as u8w(s) does.
std::u16string u8w(std::string_view s, int crlf);
// The same appended to out (no temporary).
void u8wAppend(std::u16string& out, std::string_view s, int crlf);

// Swaps in other tables (tests); null es restores the generated ones.
void trUseTables(const char* const* es, const char* const* tr, int n);
