// The settings window's rules without the window: packing a captured key, the duplicate check,
// the opacity slider, the rows the lists open on, and the save that validates, stores and
// reports what the shell must still do (language, autostart and a restart stay with the shell).
#pragma once
#include <string>

#include "base/store.h"

constexpr int REMIND_CHOICES[5] = {0, 30, 60, 120, 180};  // minutes, 0 = off
constexpr int SCALE_CHOICES[4] = {90, 100, 115, 130};     // percent
enum { KEY_EXPAND, KEY_HIDE, KEY_LIB, KEY_QUIT, KEY_ACTIONS };

// A key box's combination: (modifier flags << 16) | virtual-key code; 0 in the low 16 bits
// means no key was captured.
constexpr unsigned keyPack(unsigned mods, unsigned vk) { return (mods << 16) | (vk & 0xFFFF); }
constexpr unsigned keyPackMods(unsigned packed) { return packed >> 16; }
constexpr unsigned keyPackVk(unsigned packed) { return packed & 0xFFFF; }
// Shift, Ctrl, Alt (either side) and either Windows key: alone they capture nothing.
bool keyIsModifier(unsigned vk);
// The combination each action ends up with: a box without a key keeps the action's current key.
void keysResolve(const unsigned boxes[KEY_ACTIONS], unsigned out[KEY_ACTIONS]);
// 1 when two actions have the same key with the same modifiers.
int keysClash(const unsigned combos[KEY_ACTIONS]);

// The slider (25..100 percent) for an opacity of 60..255, and back.
int opacityToSlider(int opacity);
int sliderToOpacity(int position);

// The row a list opens on: the first offered value at or above the stored one (a hand-edited
// 45 opens on 60 minutes), the last for larger ones, "off" for 0 or less; the scale's own row,
// else the row of 100 %.
int remindRowOf(int minutes);
int scaleRowOf(int percent);

// The reset-hour list: rows 0..23 are the local hours, rows 24..47 the same hours in UTC.
constexpr int RESET_ROWS = 48;
int resetRowOf(int hour, int utc);
// The row's text, "09:00 (hora local)" or "09:00 UTC" in the current language.
std::u16string resetRowText(int row);

struct SettingsForm {
    unsigned keys[KEY_ACTIONS];  // key boxes: expand, hide, library, quit
    int resetRow = -1;           // row of the reset-hour list, -1 when none is selected
    int slider = 0;              // opacity slider position
    std::u16string game;         // game process; empty keeps the stored one
    int remindRow = -1;          // row of REMIND_CHOICES, -1 none
    std::u16string dataUrl;      // data pack address
    int scaleRow = -1;           // row of SCALE_CHOICES, -1 none
    int hideCapture = 0;         // leave the overlay out of screen captures
};

struct SettingsSaved {
    int ok;       // 0: two actions share a key, nothing was stored
    int scale;    // the scale written
    int restart;  // the scale changed: it takes effect at the next start
};

// Validates the form and stores it: the four keys (texts in the current language), reset hour
// and whether it is in UTC (a new hour re-stamps the periods so no tick is lost), opacity (an untouched slider keeps the
// stored value), game process, reminder, data address, scale, capture exclusion; then the
// checklist state.
// currentScale is the scale in force.
SettingsSaved settingsSave(const SettingsForm& f, long long now, int currentScale, Store& st);
