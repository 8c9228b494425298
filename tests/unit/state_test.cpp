#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/state.h"
#include "base/utf.h"
#include "checklist/catalogue.h"
#include "l10n/ui.h"
#include "app/startup.h"
#include "checklist/persist.h"
#include "l10n/keys.h"

namespace {
constexpr unsigned SPANISH = 0x0C0A, GERMAN = 0x0407, DUTCH = 0x0413;

std::u16string get(MemStore& s, const char* sec, const char* key) { return s.getStr(sec, key, u"<none>", 1024); }
}  // namespace

TEST(Settings, ASecondStartWritesNothing) {
    MemStore s;
    loadState(s, SPANISH);
    EXPECT_EQ(get(s, "ajustes", "Idioma"), u"es");
    // a second load writes nothing new, whatever the system's language
    int before = s.writes;
    loadState(s, GERMAN);
    EXPECT_EQ(s.writes, before);
    EXPECT_EQ(lang, 0);
}

TEST(Settings, RangesAndRepairs) {
    // -1 is taken as unsigned 32-bit, modulo 24; a valid language code is kept as written, a bad
    // one is replaced by the system's language
    struct { const char16_t* file; unsigned sys; int hour, opacity, lang; const char16_t* code; } cases[] = {
        {u"HoraReinicio=25\r\nOpacidad=10\r\nIdioma=EN", SPANISH, 1, 60, 1, u"EN"},
        {u"HoraReinicio=-1\r\nOpacidad=999\r\nIdioma=en-GB", DUTCH, 15, 255, 1, u"en"},
        {u"HoraReinicio=7h\r\nIdioma=xx", GERMAN, 7, 215, 3, u"de"},
    };
    for (auto& c : cases) {
        MemStore s;
        s.load(u"[ajustes]\r\n" + std::u16string(c.file) + u"\r\n");
        loadState(s, c.sys);
        EXPECT_EQ((std::vector<int>{resetHour, opacity, lang}), (std::vector<int>{c.hour, c.opacity, c.lang})) << c.hour;
        EXPECT_EQ(get(s, "ajustes", "Idioma"), c.code);
    }
    uiSetLang(0);
}

TEST(Settings, KeyTexts) {
    MemStore s;
    s.load(u"[ajustes]\r\nTeclaEditar=Ctrl+F8\r\nTeclaOcultar=nada\r\nTeclaBiblioteca=\r\n");
    loadState(s, SPANISH);
    EXPECT_EQ(std::make_pair(keyEditMods, keyEditVk), std::make_pair(2u, 119u));
    // a text without a key: the default for this run, the file keeps the bad text; an empty
    // one is written back with the default
    EXPECT_EQ(keyHideVk, 118u);
    EXPECT_EQ(get(s, "ajustes", "TeclaOcultar") + u" " + get(s, "ajustes", "TeclaBiblioteca"), u"nada F9");
}

TEST(Settings, ChecklistRepairRules) {
    MemStore s;
    s.load(u"[checklist]\r\nn=2\r\nt0=2|Farmear Kenly\r\nt1=sin tipo\r\nocultas=1,5,99,-3,x,\r\norden=3,3,99,0,\r\n");
    loadState(s, SPANISH);
    ASSERT_EQ(NT, 14);
    EXPECT_EQ(std::u16string(tCustom[13]), u"Farmear Kenly");
    EXPECT_EQ(std::vector<int>(tHidden, tHidden + NT), (std::vector<int>{0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<int>(ord, ord + NT), (std::vector<int>{3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

    s.load(u"[checklist]\r\nn=3\r\nt0=9|kind out of range\r\nt1=1|\r\nt2=1|x\r\norden=\r\n");
    loadState(s, SPANISH);
    ASSERT_EQ(NT, 15);
    EXPECT_EQ(tasks[13].kind, 0);
    EXPECT_EQ(std::u16string(tCustom[14]), u"x");
}

TEST(Settings, NoMoreThan35CustomTasks) {
    MemStore s;
    s.put("checklist", "n", u"40");
    for (int i = 0; i < 40; i++) s.put("checklist", ("t" + std::to_string(i)).c_str(), u"0|t" + u16num(i));
    loadState(s, SPANISH);
    EXPECT_EQ(NT, 48);
    EXPECT_EQ(std::u16string(tCustom[47]), u"t34");
    // a damaged count with no task lines loads at once
    s.load(u"[checklist]\r\nn=2147483647\r\n");
    loadState(s, SPANISH);
    EXPECT_EQ(NT, 13);
}

TEST(Settings, SaveAndChecklistSaveRoundTrip) {
    MemStore s;
    loadState(s, SPANISH);
    catAdd(1, u"Tarea con acentos: Ñandú ✓");
    catAdd(2, u"Semanal");
    tHidden[3] = tHidden[14] = 1;
    int order[] = {14, 2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    for (int i = 0; i < 15; i++) ord[i] = order[i];
    checked[0] = checked[13] = 1;
    dailyStamp = 1765000000;
    weeklyStamp = 1764800000;
    posX = 40;
    posY = -1;
    saveState(s);
    checklistSave(s);
    catReset();
    dailyStamp = weeklyStamp = 0;
    loadState(s, SPANISH);
    ASSERT_EQ(NT, 15);
    EXPECT_EQ(std::u16string(tCustom[13]), u"Tarea con acentos: Ñandú ✓");
    EXPECT_EQ(std::vector<int>(ord, ord + 15), std::vector<int>(order, order + 15));
    EXPECT_EQ((std::vector<long long>{tHidden[3], tHidden[14], checked[0], checked[13], checked[1], dailyStamp, weeklyStamp, posX, posY}),
              (std::vector<long long>{1, 1, 1, 1, 0, 1765000000, 1764800000, 40, -1}));

    // a checklist saved with fewer tasks drops the old keys of the section
    catReset();
    checklistSave(s);
    EXPECT_EQ(get(s, "checklist", "t0"), u"<none>");
    EXPECT_EQ(get(s, "checklist", "n"), u"0");
}

TEST(Settings, ProfileIntegerRules) {
    struct {
        const char16_t* text;
        int want;
    } cases[] = {
        {u"42abc", 42}, {u"0x1F", 31}, {u"-0x10", -16}, {u"0o17", 15}, {u"0b101", 5}, {u"0X10", 0},
        {u"019", 19}, {u"  +8", 8}, {u"4294967295", -1}, {u"4294967296", 0}, {u"0x", 0},
    };
    for (auto& c : cases) EXPECT_EQ(profileInt(c.text), c.want) << w8u(c.text);
    // (the store reading values, quotes and names as the profile API does: the Wine disk test)
    EXPECT_EQ(u16toll(u"-9223372036854775807"), -9223372036854775807LL);
}
