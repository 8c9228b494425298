// Comparing names without regard to case, for every script: the full Unicode case folding
// (so "ÉLITE.EXE" and "élite.exe" are one name, and "STRASSE" and "straße" too).
#pragma once
#include <string>
#include <string_view>

struct CaseFoldRow {
    char32_t from;
    char32_t to[3];  // unused places are 0
};
extern const CaseFoldRow CASE_FOLD[];  // generated, ascending by from
extern const int CASE_FOLD_N;

// s with every character case-folded; unpaired surrogates are kept as they are.
std::u16string caseFold(std::u16string_view s);

// a and b are equal without regard to case.
bool sameFolded(std::u16string_view a, std::u16string_view b);
