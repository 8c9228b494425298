#include <gtest/gtest.h>

#include <string>

#include "library/libentry.h"
#include "tools/dps.h"

// Every built-in weapon can fill the calculator: damage, rate of fire and magazine always; the
// reload and the headshot damage where the entry states them.
TEST(DpsPrefill, EveryBuiltInWeaponFillsTheCalculator) {
    int weapons = 0, noReload = 0, noHead = 0;
    for (int i = 0; i < DB_BUILTIN_N; i++) {
        const LibEntry& e = DB_BUILTIN[i];
        if (e.cat != 3) continue;
        weapons++;
        SCOPED_TRACE(e.title);
        DpsPrefill p;
        int n = dpsFromEntry(e.text, &p);
        for (int f : {DPS_D, DPS_R, DPS_M}) {
            ASSERT_EQ(p.have[f], 1) << f;
            EXPECT_GT(dpsParse(p.text[f].c_str()), 0);
        }
        EXPECT_GE(dpsParse(p.text[DPS_D].c_str()), 1000);  // thousands were read as such
        noReload += !p.have[DPS_L];
        noHead += !p.have[DPS_Q];
        EXPECT_EQ(n, 5 - !p.have[DPS_L] - !p.have[DPS_Q]);
    }
    EXPECT_EQ(weapons, DB_BUILTIN_PER_CAT[3]);
    EXPECT_LE(noReload, 2);
    EXPECT_LE(noHead, weapons / 4);
}
