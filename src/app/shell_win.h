// The program's own services behind tray commands.
#pragma once
#include <windows.h>

// Starts a new copy with "--reinicio" and closes this one.
void restartApp();
// Opens the feedback page with the version, build, language and Windows version filled in.
void openFeedback();

// Switches the whole program to a language (0..5).
void applyLanguage(int index);
