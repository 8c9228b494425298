// The overlay window's operations that start-up and other windows call.
#pragma once
#include <windows.h>

extern RECT gearRect, bookRect, compRect, embRect;  // header hit areas: settings, library, compact, emblem
extern int winW, winH;                              // overlay size in pixels

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
void headerRects();       // scales the header hit areas
int layout();             // lays out the expanded overlay; returns its height in units
void applyStyle();        // transparency, click-through and size for the current mode
void updateVisibility();  // shows or hides the overlay
HICON trayIcon();         // icon resource 1 at tray size, or a drawn one
