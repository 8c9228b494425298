// Settings and persistent state: the values kept in "ajustes.ini", their defaults, ranges and
// repair rules, and the load/save operations over a Store.
#pragma once
#include <string>

#include "app/store.h"

constexpr int KEY_TEXT = 64;

extern Store* gStore;  // the settings file; set by the shell at start-up, by tests otherwise

extern std::u16string gameExe;  // executable name of the game
extern int resetHour;           // 0..23
extern int opacity;             // 60..255
extern int remindMin;           // minutes before the daily reset; <= 0 turns reminders off
extern char16_t keyEditStr[KEY_TEXT], keyHideStr[KEY_TEXT], keyLibStr[KEY_TEXT], keyQuitStr[KEY_TEXT];
extern unsigned keyEditVk, keyEditMods, keyHideVk, keyHideMods, keyLibVk, keyLibMods, keyQuitVk, keyQuitMods;
extern long long dailyStamp, weeklyStamp;
extern long long remindDailyStamp, remindWeeklyStamp, streakToastStamp;
extern int bestStreak;
extern int posX, posY;

// Loads settings, language and checklist state; creates the file with its first keys when it
// does not exist. sysLangId is the system's UI language id, used when no valid language is stored.
void loadState(Store& st, unsigned sysLangId);

// Completion flags, period stamps and overlay position into section "estado".
void saveState(Store& st);

// Rewrites section "checklist" from the catalogue (custom tasks, hidden tasks, order).
void checklistSave(Store& st);

// Reads a 64-bit value stored as text (default 0).
long long readI64(Store& st, const char* sec, const char* key);

// Re-renders the four key texts in the current language (after a language switch).
void keysRender();
