// Smoke checks of the built-in library that its generator cannot make: what the program's own
// code reads from it. (Random share-code round trips are the interop test's.)
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/utf.h"
#include "builds/share.h"
#include "library/libentry.h"
#include "tools/dps.h"

// A share code names pieces by the hash of their key: two entries with one hash would import as
// each other.
TEST(BuiltInLibrary, NoTwoEntriesShareAHash) {
    std::set<uint32_t> seen;
    for (int i = 0; i < DB_BUILTIN_N; i++) {
        std::u16string key = u16num(DB_BUILTIN[i].cat) + u"|" + u8w(DB_BUILTIN[i].title);
        EXPECT_TRUE(seen.insert(entryHash(key)).second) << DB_BUILTIN[i].title;
    }
}

// Every weapon fills the calculator with damage, rate of fire and magazine, the damage read with
// its thousands (the end-to-end test follows one weapon through the window).
TEST(BuiltInLibrary, EveryWeaponFillsTheCalculator) {
    for (int i = 0; i < DB_BUILTIN_N; i++) {
        if (DB_BUILTIN[i].cat != 3) continue;
        DpsPrefill p;
        EXPECT_GE(dpsFromEntry(DB_BUILTIN[i].text, &p), 3) << DB_BUILTIN[i].title;
        EXPECT_GE(dpsParse(p.text[DPS_D].c_str()), 1000) << DB_BUILTIN[i].title;
    }
}
