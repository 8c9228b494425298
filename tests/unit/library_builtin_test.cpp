// The built-in library table as generated from data/library/: counts, keys, texts and a few
// numbers that must survive the trip from the data files into the program.
#include "library/libentry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace {

const LibEntry* find(int cat, const char* title) {
    for (int i = 0; i < DB_BUILTIN_N; ++i)
        if (DB_BUILTIN[i].cat == cat && std::strcmp(DB_BUILTIN[i].title, title) == 0) return &DB_BUILTIN[i];
    return nullptr;
}

bool nonEmpty(const char* s) { return s && *s; }

}  // namespace

TEST(LibraryBuiltin, CountsMatchTheDeclaredPerCategoryTotals) {
    int perCat[14] = {};
    int sum = 0;
    for (int i = 0; i < DB_BUILTIN_N; ++i) {
        ASSERT_GE(DB_BUILTIN[i].cat, 0) << i;
        ASSERT_LT(DB_BUILTIN[i].cat, 14) << i;
        ++perCat[DB_BUILTIN[i].cat];
    }
    for (int c = 0; c < 14; ++c) {
        EXPECT_EQ(perCat[c], DB_BUILTIN_PER_CAT[c]) << "category " << c;
        sum += DB_BUILTIN_PER_CAT[c];
    }
    EXPECT_EQ(sum, DB_BUILTIN_N);
    EXPECT_GT(DB_BUILTIN_N, 0);
}

TEST(LibraryBuiltin, EntriesAreGroupedByAscendingCategory) {
    for (int i = 1; i < DB_BUILTIN_N; ++i)
        EXPECT_LE(DB_BUILTIN[i - 1].cat, DB_BUILTIN[i].cat) << DB_BUILTIN[i].title;
}

TEST(LibraryBuiltin, EveryEntryIsCompleteAndUnique) {
    std::set<std::pair<int, std::string>> keys;
    for (int i = 0; i < DB_BUILTIN_N; ++i) {
        const LibEntry& e = DB_BUILTIN[i];
        ASSERT_TRUE(nonEmpty(e.title)) << "entry " << i;
        EXPECT_TRUE(nonEmpty(e.sub)) << e.title;
        EXPECT_TRUE(nonEmpty(e.text)) << e.title;
        ASSERT_NE(e.link, nullptr) << e.title;
        EXPECT_EQ(std::strncmp(e.link, "https://", 8), 0) << e.title << ": " << e.link;
        EXPECT_TRUE(keys.insert({e.cat, e.title}).second) << "duplicate " << e.cat << " / " << e.title;
        EXPECT_TRUE(e.image == 0 || e.image >= 1000) << e.title;
        EXPECT_GE(e.galCount, 0) << e.title;
        EXPECT_GE(e.vidCount, 0) << e.title;
    }
}

TEST(LibraryBuiltin, TablesAreRectangular) {
    for (int i = 0; i < DB_BUILTIN_N; ++i) {
        const LibEntry& e = DB_BUILTIN[i];
        if (!e.table) continue;
        std::string t = e.table;
        int width = -1, cells = 1;
        for (size_t k = 0; k <= t.size(); ++k) {
            if (k == t.size() || t[k] == '\n') {
                if (width < 0) width = cells;
                EXPECT_EQ(cells, width) << e.title;
                cells = 1;
            } else if (t[k] == '\t') {
                ++cells;
            }
        }
        EXPECT_GE(width, 2) << e.title;
    }
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
