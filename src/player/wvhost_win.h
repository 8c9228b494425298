// The embedded browser's host: writes the local player page, loads the loader library, creates
// the browser environment and controller asynchronously on the window thread, maps the private
// host name onto the page's folder, keeps the control's place and visibility, and holds one
// navigation until the control is ready. It reports readiness or failure with WM_ZV_WVREADY to
// the window that started it. Without a loader or a runtime (or with the browser switched off by
// the test word "sinweb", wvDisabled) it ends failed and the player shows its fallbacks.
#pragma once
#include <windows.h>

#include "player/player.h"

extern WvHost wv;                      // state and the waiting address
extern RECT wvBounds;                  // where the control sits in the parent's client area
extern int wvVisible;                  // whether it is shown
extern void (*wvOnFullScreen)(int on); // the page entered (1) or left (0) full screen

// Writes the page; the first time also starts creating the browser inside parent.
void wvStart(HWND parent);
// Opens url now when ready, otherwise keeps it as the waiting address.
void wvNavigate(const wchar_t* url);
// Pushes wvBounds and wvVisible to the control (nothing before it exists).
void wvApplyBounds();
