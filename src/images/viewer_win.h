// The image viewer: one gallery picture at a time, fitted to a resizable, always-on-top window,
// with zoom (keys, Ctrl+wheel, double-click), panning (drag, wheel, arrows), previous and next,
// a caption line and a hint line. Pictures that are not downloaded yet show the download state
// and appear by themselves when they arrive. Created on first use, afterwards hidden and shown.
#pragma once
#include <windows.h>

// Opens the viewer on gallery rows first .. first + count - 1 (GALID/GALCAP); title is shown for
// pictures without a caption and as the window title. Nothing happens for an empty gallery.
void openViewer(int first, int count, const wchar_t* title);
// A picture download ended: the visible viewer repaints.
void viewerImageArrived(int id);
// Forgets the viewer window (the library's reset destroys it).
void viewerDestroy();

LRESULT CALLBACK ViewProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
