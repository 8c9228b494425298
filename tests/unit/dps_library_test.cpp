#include <gtest/gtest.h>

#include <string>

#include "library/libentry.h"
#include "tools/dps.h"

// Every built-in weapon can fill the calculator with damage, rate of fire and magazine, the
// damage read with its thousands (the end-to-end test follows one weapon through the window).
TEST(DpsPrefill, EveryBuiltInWeaponFillsTheCalculator) {
    for (int i = 0; i < DB_BUILTIN_N; i++) {
        if (DB_BUILTIN[i].cat != 3) continue;
        DpsPrefill p;
        EXPECT_GE(dpsFromEntry(DB_BUILTIN[i].text, &p), 3) << DB_BUILTIN[i].title;
        EXPECT_GE(dpsParse(p.text[DPS_D].c_str()), 1000) << DB_BUILTIN[i].title;
    }
}
