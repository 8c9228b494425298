// Segment translation: lookup, the three ways of cutting a text, the wide conversion with CR LF,
// over a small table of our own (the generated table's byte order is the generator's test; Spanish
// giving every text back and separators surviving are the fuzz target's checks).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "l10n/tr.h"
#include "l10n/ui.h"

namespace {

// Sorted by strcmp; "Marca" translates to itself in English (a name), "Fusil" has only French.
const char* const ES[] = {"Arma exótica", "Blindaje", "Fusil", "Marca", "Tanque"};
const char* const TR[] = {
    "Exotic weapon", "Armor", nullptr, "Marca", "Tank",          // en
    "Arme exotique", "Armure", "Fusil", "Marque", "",            // fr (Tanque: empty = none)
    nullptr, nullptr, nullptr, nullptr, nullptr,                 // de
    nullptr, nullptr, nullptr, nullptr, nullptr,                 // it
    nullptr, nullptr, nullptr, nullptr, nullptr,                 // pt
};

class Tr : public ::testing::Test {
protected:
    void SetUp() override { trUseTables(ES, TR, 5); uiSetLang(1); }
    void TearDown() override { trUseTables(nullptr, nullptr, 0); uiSetLang(0); }
};

}  // namespace

TEST_F(Tr, LookupFindsWholeSegmentsOnlyAndHonoursLengthAndLanguage) {
    struct Case { const char* seg; size_t len; int lang; const char* want; };
    const Case cases[] = {
        {"Marca", 5, 1, "Marca"},           // a translation equal to the Spanish still counts
        {"Blindaje total", 8, 1, "Armor"},  // only len bytes are the segment
        {"Blindaj", 7, 1, nullptr},
        {"Fusil", 5, 1, nullptr},           // no English translation
        {"Tanque", 6, 2, nullptr},          // empty translation means none
        {"Blindaje", 8, 0, nullptr},        // Spanish never translates
        {"Marca\0", 6, 1, nullptr},        // a NUL inside matches nothing, not even "Marca"
    };
    for (const Case& c : cases) {
        const char* got = trSegL(c.seg, c.len, c.lang);
        if (c.want) EXPECT_STREQ(got, c.want) << c.seg << " / " << c.lang;
        else EXPECT_EQ(got, nullptr) << c.seg << " / " << c.lang;
    }
    std::string big(3000, 'a');
    EXPECT_EQ(trSegL(big.c_str(), big.size(), 1), nullptr);
    EXPECT_STREQ(trSeg("Tanque", 6), "Tank");  // current language
}

TEST_F(Tr, CuttingKeepsSeparatorsAndBlanksAndTranslatesCores) {
    struct Case { const char* text; const char* sep; const char* want; };
    const Case cases[] = {
        {"  Blindaje \t · Tanque  ", TR_SUB, "  Armor \t · Tank  "},
        {" · ", TR_SUB, " · "},
        {"Blindaje\n   \nTanque\r\nFusil\n", TR_LINES, "Armor\n   \nTank\r\nFusil\n"},
        {"  Blindaje  ", TR_WHOLE, "  Armor  "},
        {"Blindaje · Tanque", TR_WHOLE, "Blindaje · Tanque"},
        {"", TR_LINES, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(trSplit(c.text, c.sep), c.want) << c.text;
    EXPECT_EQ(trSplit(nullptr, TR_LINES), "");
}

TEST_F(Tr, TableCellsAreNotTrimmedAndEmptyCellsStay) {
    EXPECT_EQ(trTable("Marca\tBlindaje\n\tTanque\t\nBlindaje \tx"), "Marca\tArmor\n\tTank\t\nBlindaje \tx");
    EXPECT_EQ(trTable("\n\t\n"), "\n\t\n");
    EXPECT_EQ(trTable(nullptr), "");
}
