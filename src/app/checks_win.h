// Timer 2 and what the overlay makes of the worker checks: the six-hourly pack and update
// checks, the offer of a newer version (banner, balloon, update window).
#pragma once
#include <windows.h>

// Timer 2: re-arms itself for ten minutes and runs the pack and update checks when due.
void checksTick(HWND h);

// WM_APP+8 on the overlay.
void onUpdResult(WPARAM ok, LPARAM buf);

// Offers a pending update: the update window, once there is one (balloon clicks, the banner,
// tray command 111, the game closing).
void updOffer();
