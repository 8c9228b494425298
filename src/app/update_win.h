// The update window: the offered version, its notes in the player's language, "Actualizar
// ahora" with the download's progress, the installing notice, and the web page after a failure
// or when the manifest gives no digest to check the installer against.
#pragma once
#include <windows.h>

extern int updPct;  // -1 idle, 0..100 downloading, 101 installing, -2 failed (window thread only)

// Shows the window, making it on first use.
void openUpdateWindow();
LRESULT CALLBACK UpdProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
// The progress bar's rectangle in a client area of width w and height h.
RECT updRect(int w, int h);
