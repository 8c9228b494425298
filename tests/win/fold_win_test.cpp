// The search's portable lower-casing agrees with the platform's (CharLowerBuffW) over the
// whole BMP, so folding gives the same text as the system would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "library/search.h"

TEST(FoldWin, LowerCaseMatchesCharLowerOverTheBmp) {
    std::vector<wchar_t> all(0x10000);
    for (unsigned c = 0; c < 0x10000; c++) all[c] = wchar_t(c);
    ASSERT_EQ(CharLowerBuffW(all.data(), DWORD(all.size())), DWORD(all.size()));
    int differ = 0;
    for (unsigned c = 0; c < 0x10000; c++) {
        if (lowerBmp(char16_t(c)) == char16_t(all[c])) continue;
        if (++differ <= 20) ADD_FAILURE() << std::hex << "U+" << c << ": ours U+" << unsigned(lowerBmp(char16_t(c)))
                                          << ", system U+" << unsigned(all[c]);
    }
    EXPECT_EQ(differ, 0);
}
