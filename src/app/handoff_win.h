// Build codes handed in from outside: --importar-build=CODE at start-up, or a later start with
// that option, which passes the code to the running copy (WM_COPYDATA to a hidden window)
// instead of showing the "already running" notice. A web page's or chat client's link handler
// can so give the program a code.
#pragma once
#include <windows.h>

// In a copy that found another one running: hands text to it, waiting up to 5 s for its
// window; 1 when the running copy took it.
int handOffBuildCode(const wchar_t* text);
// In the running copy: the hidden window that receives codes from later starts.
void handOffListen();
// Imports the first code in text as a new build and tells the player with a tray notice
// (nothing is said when 30 builds exist); logs the outcome.
void importBuildCode(const wchar_t* text);
