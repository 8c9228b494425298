// The update check: the manifest fetched on a worker thread and read on the window thread. What
// the overlay shows of an offer (banner, balloon, update window) is the roof's part.
#pragma once
#include <windows.h>

extern int updManual;  // the running check was asked for by the player

// Starts a check unless one runs (then even a manual request is dropped).
void updCheck(int manual);

// WM_APP+8: ok and the manifest block (owned from here on). Logs, shows the manual check's
// balloons for a failed fetch or no newer version, and returns UPD_NEWER with the offered
// version in ver (40 characters) when there is one; -1 when the fetch failed.
int updOnResult(WPARAM ok, LPARAM buf, wchar_t* ver);

// Shows the update window; set by the update window's module. Until it exists a newer version
// shows the overlay's banner and a balloon only.
extern void (*updShowWindow)();
