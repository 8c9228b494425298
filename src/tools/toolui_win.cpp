#include "tools/toolui_win.h"

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "widgets/look.h"

RECT unitRect(double l, double t, double r, double b) { return RECT{px(l), px(t), px(r), px(b)}; }

void tFill(HDC dc, RECT r, uint32_t colour) {
    HBRUSH b = CreateSolidBrush(colour);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void tText(HDC dc, HFONT f, const wchar_t* s, RECT r, uint32_t colour, UINT flags) {
    HGDIOBJ old = SelectObject(dc, f);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, s, -1, &r, flags | DT_NOPREFIX);
    SelectObject(dc, old);
}

double tTextUnits(HDC dc, HFONT f, const wchar_t* s) {
    HGDIOBJ old = SelectObject(dc, f);
    SIZE sz{};
    GetTextExtentPoint32W(dc, s, lstrlenW(s), &sz);
    SelectObject(dc, old);
    return sz.cx / sc;
}

BackBuffer::BackBuffer(HDC target, int width, int height) : win(target), w(width), h(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w > 0 ? w : 1;
    bi.bmiHeader.biHeight = -(h > 0 ? h : 1);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc = CreateCompatibleDC(target);
    bmp = CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bmp);
}

BackBuffer::~BackBuffer() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

void BackBuffer::blit() { BitBlt(win, 0, 0, w, h, dc, 0, 0, SRCCOPY); }

static RECT clientOf(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return r;
}

ToolPaint::ToolPaint(HWND w)
    : wnd(w), ps{}, dc(BeginPaint(w, &ps)), c(clientOf(w)), bb(dc, c.right, c.bottom), m(bb.dc) {}

ToolPaint::~ToolPaint() {
    bb.blit();
    EndPaint(wnd, &ps);
}

void drawKeyWide(HDC dc, int x, int y, int wUnits, const wchar_t* text) {
    RECT r{x, y, x + px(wUnits), y + px(40)};
    tFill(dc, r, COL_PANEL);
    HBRUSH b = CreateSolidBrush(COL_ACCENT);
    FrameRect(dc, &r, b);
    DeleteObject(b);
    tFill(dc, RECT{r.left, r.bottom - px(3), r.right, r.bottom}, COL_ACCENT);
    RECT t{r.left + px(6), r.top, r.right - px(6), r.bottom - px(3)};
    tText(dc, fSection, text, t, COL_TEXT, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

HWND tButton(HWND parent, int id, const wchar_t* text, bool visible) {
    DWORD style = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW | (visible ? WS_VISIBLE : 0);
    return CreateWindowExW(0, L"BUTTON", text, style, 0, 0, 10, 10, parent, (HMENU)(INT_PTR)id, hInst, nullptr);
}
