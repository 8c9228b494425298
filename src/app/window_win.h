// The overlay window's operations that start-up and other windows call. The overlay's
// geometry, fonts and painting are in overlay/overlay_win.h.
#pragma once
#include <windows.h>

#include "overlay/overlay_win.h"

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
void updateVisibility();  // shows or hides the overlay
HICON trayIcon();         // icon resource 1 at tray size, or a drawn one
// Keeps the overlay out of screen captures when OcultarEnCaptura asks it; logs when Windows
// cannot.
void applyCapture();
