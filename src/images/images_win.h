// Pictures on Windows: decoding embedded and cached pictures with GDI+, the cache folder, the
// download thread, and drawing a picture fitted into a rectangle. Window thread only, except the
// download thread, which reports each finished picture with WM_ZV_IMAGE (id, 1 or 0).
#pragma once
#include <windows.h>
#include <gdiplus.h>

// The bitmap of picture id, or null (not there yet, failed, or no picture). Embedded pictures
// are kept for the whole run; a remote one only until three more have been decoded, so callers
// draw it at once and never keep it. A missing or corrupt cached picture is requested.
Gdiplus::GpBitmap* loadImg(int id);
// 0 ready (or not a remote picture), 1 not yet there, 2 the last download failed.
int imgStatus(int id);
// Queues a download of remote picture id unless it is cached, queued or failed less than
// 15 s ago.
void imgRequest(int id);
// Draws bitmap fitted into the rectangle, centred, with the caller's interpolation.
void drawImgFit(Gdiplus::GpGraphics* g, Gdiplus::GpBitmap* bm, int x, int y, int w, int h);

// The cache folder ("imagenes" under the local application data's "Zenvoral"), made on first use.
const wchar_t* imgDir();
// Full cache path of a catalogue row (at most MAX_PATH characters).
void imgPath(int row, wchar_t* out);
// The row's file is cached with its exact size and not known to be corrupt.
bool imgCached(int row);

// Test support: another cache folder, and the window that hears about finished downloads
// (null: the overlay).
void imgSetDir(const wchar_t* dir);
extern HWND imgNotifyWnd;
