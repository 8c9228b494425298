// The live check on its worker thread: one request per channel to the live-status service
// (liveBase, the setting "URLDirecto" or the public service), the result handed to the window
// thread and stored in liveF. The library window calls liveCheck(0) when it opens and
// liveCheck(1) on its five-minute timer (77), and sets liveChanged to redraw its lists.
#pragma once
#include <windows.h>

void liveCheck(int force);

// WM_APP+12 on the overlay: the job (owned from here on).
void liveOnResult(LPARAM job);

// Called after a result changed a flag (the library redraws its categories and results).
extern void (*liveChanged)();
