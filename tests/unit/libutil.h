// The shared start of library tests: no pack, no database and the Spanish interface before and
// after each test.
#pragma once
#include <gtest/gtest.h>

#include "datapack/pack.h"
#include "l10n/ui.h"
#include "library/db.h"

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        pkClear();
        pkResetHeader();
        uiSetLang(0);
    }
    void TearDown() override {
        dbFree();
        pkClear();
        pkResetHeader();
        uiSetLang(0);
    }
};
