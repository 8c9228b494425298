// The program's own services behind tray commands.
#pragma once
#include <windows.h>

// Backups of the settings file: byte copies, refused when the file is no backup of ours.
void backupExport(HWND owner);
void backupImport(HWND owner);
int backupIsOurs(const wchar_t* path);  // the file has estado/instalado

// Starts a new copy with "--reinicio" and closes this one.
void restartApp();
// Opens the feedback page with the version, build, language and Windows version filled in.
void openFeedback();

// Switches the whole program to a language (0..5).
void applyLanguage(int index);
