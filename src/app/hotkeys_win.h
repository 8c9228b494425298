// The four global keys (system hotkeys, or a low-level keyboard hook when Windows refuses
// one of them) and the game detection that decides the overlay's visibility.
#pragma once
#include <windows.h>

void registerKeys();    // (re)installs the four keys for the overlay
void unregisterKeys();  // removes the hotkeys and the hook
extern HHOOK kbHook;    // the hook, null while the system hotkeys are in use

extern wchar_t foundExe[MAX_PATH];  // executable name of the game found last
int gameRunning();
void visUpdate();  // the visibility rules: game, forced show, hide key
