// The shared dark widgets of every tool window: owner-drawn buttons in three looks, the
// category glyphs, the tool-window frame and key caps, the tool-window maker with its dark
// title bar, the dark list-view header and the modal question dialog. Colours and rules are
// in widgets/look.h, the glyph geometry in widgets/glyphs.h.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include "widgets/look.h"

extern HBRUSH brBg, brPanel;   // window background, panel; made once, never freed
extern HFONT fBig, fMid, fAsk;  // made on first use, never freed
extern int btnOwned;            // the library's current entry is owned: button 317 in green

// One line of text, vertically centred, cut with an ellipsis.
constexpr UINT DT_LINE = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
// Painting helpers: solid fill and one-pixel frame in a colour, text in a font and colour.
void fillRect(HDC dc, RECT r, COLORREF c);
void frameRect(HDC dc, RECT r, COLORREF c);
void drawText(HDC dc, HFONT f, const wchar_t* s, RECT r, COLORREF c, UINT flags);

// Makes the shared brushes (and fonts) when they do not exist yet.
void widgetsInit();

// Asks the desktop window manager for a dark title bar; 1 when it took it. Where DWM or the
// attribute is missing the window keeps its light title bar and nothing else changes.
int darkTitle(HWND w);
extern const wchar_t* dwmLibrary;  // the library asked for it ("dwmapi.dll"; tests change it)
// Dark themes for lists ("DarkMode_Explorer") and edits and drop-downs ("DarkMode_CFD").
void darkTheme(HWND control, const wchar_t* theme);

// Paints an owner-drawn button in the look of its control id (text read from the control).
void drawButton(const DRAWITEMSTRUCT* dis);
// Paints it in the look of id without changing the control.
void drawButtonAs(const DRAWITEMSTRUCT* dis, int id);
// A check-box button: box of side 14 at boxLeft units from the left edge, label after it.
// dimOff draws the label in grey while off.
void drawCheck(const DRAWITEMSTRUCT* dis, bool on, int boxLeft, HFONT font, bool dimOff);

// A category glyph (0..13, others draw the notice glyph) in a square of side size at (x, y).
void drawGlyph(Gdiplus::GpGraphics* g, int glyph, float x, float y, float size, float penWidth);

// A tool window's client area: background, a 4-unit accent strip across the top; leaves the
// background mode transparent for the caller's text.
void paintFrame(HDC dc, const RECT* rect);
// A key cap of 58 x 40 units at (x, y) pixels with its label.
void drawKey(HDC dc, int x, int y, const wchar_t* text);

// A hidden, centred, topmost tool window of width x height units of client area, with a dark
// title bar; registers the class on first use. Returns what CreateWindowExW returns.
HWND mkWindow(const wchar_t* className, WNDPROC proc, const wchar_t* title, int width, int height);
// The same with another window style and class background (null: the window paints it).
HWND mkWindowEx(const wchar_t* className, WNDPROC proc, const wchar_t* title, int width, int height, DWORD style,
                HBRUSH background);

// List-view subclass (id 1) that paints the column header dark.
LRESULT CALLBACK GridProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

// The modal question dialog. editBuf (ASK_BUF characters) or null for a plain question;
// showCancel adds a Cancel button. Without a buffer: 1 when ended with OK. With one: the text
// is trimmed of spaces whatever the outcome, and 1 means OK with a non-empty text. Not
// re-entrant: a second call while one is open answers 0 at once.
int darkAsk(HWND owner, const wchar_t* text, wchar_t* editBuf, int showCancel);
