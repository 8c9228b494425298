// The settings window's rules: key capture packing and the duplicate check, the opacity slider,
// the rows the lists open on, and what a save stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/state.h"
#include "base/store.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"
#include "checklist/persist.h"
#include "l10n/keys.h"
#include "l10n/ui.h"
#include "testutil.h"
#include "tools/settings.h"

namespace {

// Fresh settings as a first start leaves them: F8, F7, F9, F10, reset at 9, opacity 215.
void freshSettings(MemStore& st) {
    uiSetLang(0);
    loadSettings(st);
    keysParse();
    catReset();
}

SettingsForm untouched() {
    SettingsForm f;
    for (unsigned& k : f.keys) k = 0;
    f.resetRow = resetHour;
    f.slider = opacityToSlider(opacity);
    f.remindRow = remindRowOf(remindMin);
    f.scaleRow = 1;
    return f;
}

constexpr unsigned F7 = 118, F8 = 119, CTRL = MODK_CONTROL;

}  // namespace

TEST(SettingsKeys, UntouchedBoxesKeepTheirKeyAndDuplicatesAreRefused) {
    EXPECT_TRUE(keyIsModifier(165) && keyIsModifier(92) && !keyIsModifier(93));  // the menu key is not one
    MemStore st;
    freshSettings(st);
    struct Case {
        unsigned boxes[KEY_ACTIONS];
        int clash;
    } cases[] = {
        {{keyPack(0, F7), keyPack(CTRL, F7), 0, 0}, 0},   // Ctrl+F7 and F7: different modifiers
        {{0, keyPack(0, F8), 0, 0}, 1},                   // F8 for hide, expand keeps F8
        {{0, 0, keyPack(0, 121), 0}, 1},                  // F10 for the library, quit keeps F10
        {{keyPack(0, F7), keyPack(0, F8), 0, 0}, 0},      // swapped
    };
    for (const Case& c : cases) {
        unsigned out[KEY_ACTIONS];
        keysResolve(c.boxes, out);
        for (int a = 0; a < KEY_ACTIONS; a++)
            if (c.boxes[a] & 0xFFFF) { EXPECT_EQ(out[a], c.boxes[a]); }
        EXPECT_EQ(keysClash(out), c.clash);
    }
    unsigned keep[KEY_ACTIONS], none[KEY_ACTIONS] = {0, 0, 0, 0};
    keysResolve(none, keep);
    EXPECT_EQ(std::vector<unsigned>(keep, keep + KEY_ACTIONS),
              (std::vector<unsigned>{keyPack(0, F8), keyPack(0, F7), keyPack(0, 120), keyPack(0, 121)}));
}

// A new reset hour (local or UTC) at 09:30 keeps the ticks of the running periods: the stamps move
// to the new hour's last reset, which still comes when its hour does. The whole form goes in one
// write of the file. (A refused duplicate key and the stored key texts: the end-to-end test.)
TEST(SettingsSave, ANewResetHourKeepsTheTicks) {
    TzScope tz("Europe/Madrid");
    const long long t = localAt(2024, 3, 6, 9, 30);  // a Wednesday, after the 09:00 reset (08:00 UTC)
    struct Case {
        int row;
        const char16_t* stored;  // HoraReinicio and ReinicioUTC
        long long stamp, next;
    } cases[] = {
        {10, u"100", localAt(2024, 3, 5, 10), localAt(2024, 3, 6, 10, 1)},
        {24 + 8, u"81", utc(2024, 3, 6, 8), utc(2024, 3, 7, 8, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        MemStore st;
        freshSettings(st);
        checkResets(t, st);
        checked[0] = checked[9] = 1;
        saveState(st);
        SettingsForm f = untouched();
        f.resetRow = c.row;
        int saves = st.saves;
        ASSERT_EQ(settingsSave(f, t, 100, st).ok, 1);
        EXPECT_EQ(st.saves - saves, 1);
        EXPECT_EQ(st.getStr("ajustes", "HoraReinicio", u"", 8) + st.getStr("ajustes", "ReinicioUTC", u"", 8), c.stored);
        EXPECT_EQ(dailyStamp, c.stamp);
        EXPECT_EQ(checkResets(t + 60, st), 0);
        EXPECT_EQ(checked[0] + checked[9], 2);
        EXPECT_EQ(checkResets(c.next, st), 1);
        EXPECT_EQ(std::make_pair(checked[0], checked[9]), std::make_pair(0, 1));  // the week goes on to Tuesday
        resetHour = resetUtc = 0;
        loadSettings(st);
        EXPECT_EQ(resetRowOf(resetHour, resetUtc), c.row);
    }
}

TEST(SettingsSave, OpacityFollowsTheSliderOnlyWhenMoved) {
    struct Case {
        int stored, slider, saved;
    } cases[] = {
        {215, -1, 215},  // untouched (-1: left where it opened): 215 stays, not 214
        {215, 100, 255}, {215, 23, 60} /* the floor */, {200, 50, 127},
    };
    for (const Case& c : cases) {
        MemStore st;
        st.put("ajustes", "Opacidad", u16num(c.stored));
        freshSettings(st);
        SettingsForm f = untouched();
        if (c.slider >= 0) f.slider = c.slider;
        settingsSave(f, localAt(2024, 3, 6, 12), 100, st);
        EXPECT_EQ(std::make_pair(opacity, st.getInt("ajustes", "Opacidad", 0)), std::make_pair(c.saved, c.saved)) << c.slider;
    }
}

TEST(SettingsSave, ListsOpenOnTheirRows) {
    for (auto [minutes, row] : {std::pair{-5, 0}, {30, 1}, {45, 2}, {600, 4}}) EXPECT_EQ(remindRowOf(minutes), row) << minutes;
    for (auto [percent, row] : {std::pair{90, 0}, {150, 1}, {120, 1}}) EXPECT_EQ(scaleRowOf(percent), row) << percent;

    // a hand-edited 45 saved untouched becomes the row's 60
    MemStore st;
    st.put("ajustes", "AvisoMinutos", u"45");
    freshSettings(st);
    settingsSave(untouched(), localAt(2024, 3, 6, 12), 100, st);
    EXPECT_EQ(remindMin, 60);
    EXPECT_EQ(st.getStr("ajustes", "AvisoMinutos", u"", 16), u"60");
}

TEST(SettingsSave, ScaleRestartsOnlyWhenItChanges) {
    struct Case {
        int row, current, written, restart;
    } cases[] = {{2, 100, 115, 1}, {1, 100, 100, 0}, {-1, 130, 130, 0}, {0, 130, 90, 1}};
    for (const Case& c : cases) {
        MemStore st;
        freshSettings(st);
        SettingsForm f = untouched();
        f.scaleRow = c.row;
        SettingsSaved r = settingsSave(f, localAt(2024, 3, 6, 12), c.current, st);
        EXPECT_EQ((std::vector<int>{r.scale, r.restart, st.getInt("ajustes", "Escala", 0)}),
                  (std::vector<int>{c.written, c.restart, c.written})) << c.row << " " << c.current;
    }
}

TEST(SettingsSave, EmptyGameFieldKeepsTheNameAndEmptyAddressIsStored) {
    MemStore st;
    freshSettings(st);
    SettingsForm f = untouched();
    f.game = u"";
    f.dataUrl = u"";
    settingsSave(f, localAt(2024, 3, 6, 12), 100, st);
    EXPECT_EQ(gameExe, u"TheDivision2.exe");
    EXPECT_EQ(st.getStr("ajustes", "URLDatos", u"x", 1024), u"");
    st.put("ajustes", "OcultarEnCaptura", u"7");  // hand-edited: any other number than 0 means on
    loadSettings(st);
    EXPECT_EQ(hideCapture, 1);
}
