// Settings and persistent values of the whole program: the values kept in "ajustes.ini", their
// defaults, ranges and repair rules. The checklist's own state is in checklist/persist.h, the
// language in l10n/ui.h; app/startup.h loads everything in order.
#pragma once
#include <string>

#include "base/store.h"

constexpr int KEY_TEXT = 64;

extern Store* gStore;  // the settings file; set by the shell at start-up, by tests otherwise

extern std::u16string gameExe;  // executable name of the game
extern int resetHour;           // 0..23
extern int resetUtc;            // ReinicioUTC: 1 when resetHour is an hour in UTC, 0 local time
extern int opacity;             // 60..255
extern int remindMin;           // minutes before the daily reset; <= 0 turns reminders off
extern char16_t keyEditStr[KEY_TEXT], keyHideStr[KEY_TEXT], keyLibStr[KEY_TEXT], keyQuitStr[KEY_TEXT];
extern unsigned keyEditVk, keyEditMods, keyHideVk, keyHideMods, keyLibVk, keyLibMods, keyQuitVk, keyQuitMods;
extern long long dailyStamp, weeklyStamp;
extern long long remindDailyStamp, remindWeeklyStamp, streakToastStamp;
extern int bestStreak;
extern int posX, posY;
extern int hideCapture;  // OcultarEnCaptura: ask Windows to leave the overlay out of captures

// Loads the settings, the key texts (unparsed), period stamps and overlay position; creates the
// file with its first keys when it does not exist.
void loadSettings(Store& st);

// Copies a key text into one of the fixed key buffers, cut to KEY_TEXT - 1 characters.
void keyTextSet(char16_t* dst, const std::u16string& src);

// Reads a 64-bit value stored as text (default 0).
long long readI64(Store& st, const char* sec, const char* key);
