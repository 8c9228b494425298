// The program's own services behind tray commands.
#pragma once
#include <windows.h>

// Starts a new copy with "--reinicio" and closes this one.
void restartApp();

// Logs what happened to the settings file and tells the player with a tray notice when it
// was restored, could not be read or cannot be saved.
void storeTell();

// Switches the whole program to a language (0..5).
void applyLanguage(int index);
