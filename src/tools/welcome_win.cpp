// The welcome tour (hWel): four pages with a picture, a title and a body, page dots, Back and
// Next. Enter, Right and Page Down turn forward, Left and Page Up back, Esc closes. The pages'
// content is in tools/welcome.
#include "tools/welcome_win.h"

#include <commctrl.h>
#include <gdiplus.h>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "base/state.h"
#include "l10n/ui.h"
#include "overlay/overlay_win.h"
#include "tools/toolui_win.h"
#include "tools/welcome.h"
#include "widgets/widgets_win.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

enum { ID_BACK = 1300, ID_NEXT = 1301 };
constexpr uint32_t COL_BODY = rgb(200, 205, 210);
constexpr uint32_t COL_LINE = rgb(40, 45, 51);

int welPage;

const char16_t* const* playerKeys() {
    static const char16_t* keys[4];
    keys[WEL_KEY_EDIT] = keyEditStr;
    keys[WEL_KEY_HIDE] = keyHideStr;
    keys[WEL_KEY_LIB] = keyLibStr;
    keys[WEL_KEY_QUIT] = keyQuitStr;
    return keys;
}

void onSize(HWND h, int w, int hgt) {
    int nx = w - px(24) - px(150), y = hgt - px(58);
    MoveWindow(GetDlgItem(h, ID_NEXT), nx, y, px(150), px(36), TRUE);
    MoveWindow(GetDlgItem(h, ID_BACK), nx - px(10) - px(120), y, px(120), px(36), TRUE);
}

void keyCaps(HDC dc) {
    const char16_t* const* keys = playerKeys();
    double tw[4];
    for (int k = 0; k < 4; k++) tw[k] = tTextUnits(dc, fSection, W(keys[k]));
    WelCap cap[4];
    welCaps(tw, cap);
    for (int k = 0; k < 4; k++) {
        if (cap[k].w == WEL_CAP_W) drawKey(dc, px(cap[k].x), px(cap[k].y), W(keys[k]));
        else drawKeyWide(dc, px(cap[k].x), px(cap[k].y), cap[k].w, W(keys[k]));
    }
}

void glyphs(HDC dc, std::initializer_list<std::pair<int, POINT>> list) {
    GpGraphics* g = nullptr;
    if (GdipCreateFromHDC(dc, &g) != Ok) return;
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    for (auto& [glyph, at] : list) drawGlyph(g, glyph, (REAL)px(at.x), (REAL)px(at.y), (REAL)px(64), (REAL)px(3));
    GdipDeleteGraphics(g);
}

void onPaint(HWND h) {
    ToolPaint tp(h);
    HDC m = tp.m;
    const RECT& c = tp.c;
    paintFrame(m, &c);
    const int x0 = 36, y0 = 60;
    switch (welPage) {
        case 0: drawEmblem(m, px(x0), px(y0), px(150), 0); break;
        case 1: keyCaps(m); break;
        case 2: glyphs(m, {{0, {x0, y0}}, {1, {x0 + 80, y0}}, {12, {x0 + 40, y0 + 76}}}); break;
        default:
            glyphs(m, {{11, {x0, y0}}});
            drawEmblem(m, px(x0 + 80), px(y0 + 70), px(70), 0);
    }
    int w = c.right, hgt = c.bottom;
    tText(m, fBig, W(T(welTitleId(welPage))), RECT{px(220), px(50), w - px(30), px(92)}, COL_TEXT,
          DT_SINGLELINE | DT_END_ELLIPSIS);
    std::u16string body = welBody(welPage, playerKeys());
    tText(m, fMid, W(body.c_str()), RECT{px(220), px(102), w - px(30), hgt - px(80)}, COL_BODY, DT_WORDBREAK);
    for (int k = 0; k < WEL_PAGES; k++) {
        int x = px(36) + k * px(18);
        HBRUSH b = CreateSolidBrush(k == welPage ? COL_ACCENT : COL_LINE);
        HGDIOBJ ob = SelectObject(m, b), op = SelectObject(m, GetStockObject(NULL_PEN));
        Ellipse(m, x, hgt - px(44), x + px(10) + 1, hgt - px(34) + 1);
        SelectObject(m, ob);
        SelectObject(m, op);
        DeleteObject(b);
    }
}

// Buttons, captions and focus after a page change.
void showPage(HWND h) {
    HWND next = GetDlgItem(h, ID_NEXT), back = GetDlgItem(h, ID_BACK);
    SetWindowTextW(next, W(T(welNextTextId(welPage))));
    bool backShown = welBackShown(welPage);
    if (!backShown && GetFocus() == back) SetFocus(next);
    ShowWindow(back, backShown ? SW_SHOW : SW_HIDE);
    InvalidateRect(h, nullptr, FALSE);
    InvalidateRect(next, nullptr, FALSE);
}

void turn(HWND h, int forward) {
    int to = forward ? welAfterNext(welPage) : welAfterBack(welPage);
    if (to < 0) {
        DestroyWindow(h);
        return;
    }
    welPage = to;
    showPage(h);
}

// The buttons hand the arrow and page keys to the window instead of moving the focus.
LRESULT CALLBACK KeyProc(HWND b, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_GETDLGCODE && lp) {
        const MSG* m = (const MSG*)lp;
        if (m->message == WM_KEYDOWN && (m->wParam == VK_LEFT || m->wParam == VK_RIGHT || m->wParam == VK_PRIOR ||
                                         m->wParam == VK_NEXT || m->wParam == VK_UP || m->wParam == VK_DOWN))
            return DLGC_WANTALLKEYS;
    }
    if (msg == WM_KEYDOWN) {
        HWND h = GetParent(b);
        switch (wp) {
            case VK_RIGHT:
            case VK_NEXT:
            case VK_DOWN: turn(h, 1); return 0;
            case VK_LEFT:
            case VK_PRIOR:
            case VK_UP: turn(h, 0); return 0;
        }
    }
    return DefSubclassProc(b, msg, wp, lp);
}

LRESULT CALLBACK WelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            for (HWND b : {tButton(h, ID_BACK, W(T(220))), tButton(h, ID_NEXT, W(T(219)))})
                SetWindowSubclass(b, KeyProc, 1, 0);
            return 0;
        case WM_SIZE: onSize(h, LOWORD(lp), HIWORD(lp)); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: onPaint(h); return 0;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* d = (const DRAWITEMSTRUCT*)lp;
            drawButtonAs(d, d->CtlID == ID_NEXT ? BTN_AS_PRIMARY : BTN_AS_SECONDARY);
            return TRUE;
        }
        case WM_KEYDOWN:  // the window itself holds the focus when no button does
            if (wp == VK_RIGHT || wp == VK_NEXT) turn(h, 1);
            else if (wp == VK_LEFT || wp == VK_PRIOR) turn(h, 0);
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case ID_NEXT:
                case IDOK: turn(h, 1); return 0;  // Enter
                case ID_BACK: turn(h, 0); return 0;
                case IDCANCEL: DestroyWindow(h); return 0;
            }
            showPage(h);
            return 0;
        case WM_DESTROY: hWel = nullptr; return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

void openWelcome() {
    if (!hWel) {
        welPage = 0;
        hWel = mkWindow(L"ZenvoralBienvenida", WelProc, L"Zenvoral", 720, 400);
        if (!hWel) return;
        RECT c;
        GetClientRect(hWel, &c);
        onSize(hWel, c.right, c.bottom);
        ShowWindow(GetDlgItem(hWel, ID_BACK), SW_HIDE);
        ShowWindow(hWel, SW_SHOW);
        SetFocus(GetDlgItem(hWel, ID_NEXT));
    }
    ShowWindow(hWel, SW_SHOW);
    SetForegroundWindow(hWel);
}

int welCurrentPage() { return hWel ? welPage : -1; }
