// The built-in library table as generated from data/library/: counts and a few numbers that
// must survive the trip from the data files into the program.
#include "library/libentry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const LibEntry* find(int cat, const char* title) {
    for (int i = 0; i < DB_BUILTIN_N; ++i)
        if (DB_BUILTIN[i].cat == cat && std::strcmp(DB_BUILTIN[i].title, title) == 0) return &DB_BUILTIN[i];
    return nullptr;
}

}  // namespace

// The generator checks each entry and table; here: the generated table's own bookkeeping.
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

TEST(LibraryBuiltin, WeaponNumbersReachTheirBodies) {
    struct Sample { const char* title; const char* rpm; const char* mag; };
    const Sample samples[] = {
        {"Eagle Bearer", "850\nDisparos por minuto", "30\nBalas por cargador"},
        {"The Ravenous", "240\nDisparos por minuto", "60\nBalas por cargador"},
        {"Lady Death", "900\nDisparos por minuto", "32\nBalas por cargador"},
    };
    if (DB_BUILTIN_PER_CAT[3] == 0) GTEST_SKIP() << "no weapons in this build";
    for (const Sample& s : samples) {
        const LibEntry* e = find(3, s.title);
        ASSERT_NE(e, nullptr) << s.title;
        EXPECT_NE(std::strstr(e->text, s.rpm), nullptr) << s.title;
        EXPECT_NE(std::strstr(e->text, s.mag), nullptr) << s.title;
    }
}
