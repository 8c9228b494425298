// Small painting helpers shared by the DPS, welcome and about windows: text in a rectangle of
// units, filled rectangles, a 32-bit back buffer (so GDI+ line art is smoothed everywhere), a key
// cap of any width, and the button row's owner-drawn button maker.
#pragma once
#include <windows.h>

#include <cstdint>

// A rectangle of units (scaled with px).
RECT unitRect(double l, double t, double r, double b);
void tFill(HDC dc, RECT r, uint32_t colour);
void tText(HDC dc, HFONT f, const wchar_t* s, RECT r, uint32_t colour, UINT flags);
// Text width in units of s in font f.
double tTextUnits(HDC dc, HFONT f, const wchar_t* s);

// A memory device context over a 32-bit bitmap of the client size; blit() copies it to the window.
struct BackBuffer {
    HDC win = nullptr, dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    int w = 0, h = 0;
    BackBuffer(HDC target, int width, int height);
    ~BackBuffer();
    void blit();
};

// One WM_PAINT of a tool window into a back buffer of the client size: paint into m; the
// buffer reaches the window and painting ends when it goes out of scope.
struct ToolPaint {
    HWND wnd;
    PAINTSTRUCT ps;
    HDC dc;
    RECT c;
    BackBuffer bb;
    HDC m;
    explicit ToolPaint(HWND w);
    ~ToolPaint();
};

// A key cap as drawKey paints it, but w units wide (58 is the usual one).
void drawKeyWide(HDC dc, int x, int y, int wUnits, const wchar_t* text);

// An owner-drawn push button (tab stop), hidden or shown.
HWND tButton(HWND parent, int id, const wchar_t* text, bool visible = true);
