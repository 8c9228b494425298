// The installed data pack on disk: choosing it at start-up, writing "datos.txt" safely,
// importing a pack file chosen by the player, and the system's local date formatter.
#pragma once
#include <windows.h>

// Start-up: reads "datos.txt" and puts the installed or the built-in pack in force.
void pkLoadAtStart();

// Installs a pack text (see pkInstall) writing "datos.txt" through a temporary file, and on
// success refreshes everything derived from the pack. Returns pkInstall's result.
int pkInstallText(const char* text, size_t len, int force);

// Refreshes what is derived from the pack in force: news, history texts, overlay size.
void pkRefreshAll();

// Lets the player pick a pack file and installs it; the outcome is a tray balloon.
void pkImportDialog(HWND owner);

// Installs the pack file given on the command line; the player is told nothing, the log how
// it went.
void pkImportPath(const wchar_t* path);

// Sets the local date/time formatter of the news and library to the Windows formatters.
void evLocalInstall();
