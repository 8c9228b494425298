// Backups of the settings file: byte copies of "ajustes.ini" made and restored by the player.
#pragma once
#include <windows.h>

// Saves a copy where the player chooses and confirms it with the question dialog.
void backupExport(HWND owner);
// Restores a copy after a question and restarts the program; refuses a file that is no
// backup of ours.
void backupImport(HWND owner);
int backupIsOurs(const wchar_t* path);  // the file has estado/instalado
