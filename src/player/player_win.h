// The video player window (hVid): the entry's videos in a list on the left, the embedded browser
// on the right, a button that opens the video on the video site in the system browser and, when
// the browser cannot start, the explanation and a button to the runtime's download page. Made
// once, hidden when closed and reused.
#pragma once
#include <windows.h>

// Shows the player on a library entry's videos (nothing for an entry without any).
void openPlayer(int entry);
// Plays the entry's i-th video, i wrapped into range.
void pPlay(int i);
// Enters (1) or leaves (0) full screen; the page asks for it through the browser host.
void pSetFull(int on);
LRESULT CALLBACK VidProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
