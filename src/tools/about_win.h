// The About window (hAbout): name, version, description or credits, and the buttons for the web
// site, the community chat, feedback, credits, the update check, the log and closing.
#pragma once
#include <windows.h>

// Opens it, or brings the open one to the front.
void openAbout();

// Shows the library at its credits; set by the library window's module. Until then the
// Credits button shows the program's credits inside the About window.
extern void (*aboutShowLibraryCredits)();
