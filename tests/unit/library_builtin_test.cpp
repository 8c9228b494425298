// The built-in library table as generated from data/library/: its own bookkeeping.
#include "library/libentry.h"

#include <gtest/gtest.h>

TEST(LibraryBuiltin, CountsMatchTheDeclaredPerCategoryTotalsInCategoryOrder) {
    int perCat[14] = {};
    for (int i = 0; i < DB_BUILTIN_N; ++i) {
        ASSERT_GE(DB_BUILTIN[i].cat, i ? DB_BUILTIN[i - 1].cat : 0) << i;
        ASSERT_LT(DB_BUILTIN[i].cat, 14) << i;
        ++perCat[DB_BUILTIN[i].cat];
    }
    for (int c = 0; c < 14; ++c) EXPECT_EQ(perCat[c], DB_BUILTIN_PER_CAT[c]) << "category " << c;
    EXPECT_GT(DB_BUILTIN_N, 0);
}
