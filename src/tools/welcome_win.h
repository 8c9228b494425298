// The welcome tour window (hWel): shown on the first start, from the settings window's
// "Ver la bienvenida" and by a test option.
#pragma once
#include <windows.h>

// Opens the tour at its first page, or brings the open one (on the page it shows) to the front.
void openWelcome();
// The page the open tour shows, -1 when it is closed.
int welCurrentPage();
