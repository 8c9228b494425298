// The image viewer window. The geometry (fit, zoom, pan, indicator) is images/viewcalc; the
// pictures come from loadImg and are never kept between paints.
#include "images/viewer_win.h"

#include <gdiplus.h>
#include <windowsx.h>

#include <cstdio>
#include <string>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "base/utf.h"
#include "images/imgcat.h"
#include "images/images_win.h"
#include "images/viewcalc.h"
#include "l10n/ui.h"
#include "widgets/widgets_win.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr COLORREF C_VIEW = RGB(8, 9, 11), C_BG = RGB(13, 15, 17), C_ACCENT = RGB(255, 109, 16),
                   C_TEXT = RGB(222, 226, 230), C_DIM = RGB(128, 137, 146), C_WARN = RGB(230, 120, 110);

int vFirst, vCount, vIdx;
std::wstring vTitle;
VState vs;
int vDrag;
POINT vDragPt;
HFONT fViewBody, fViewArrow;

int header() { return px(46); }

// The current picture (not kept: the ring may dispose it after three more remote pictures).
GpBitmap* vImage() { return vCount > 0 ? loadImg(GALID[vFirst + vIdx]) : nullptr; }

bool picSize(GpBitmap* bm, UINT& w, UINT& h) {
    w = h = 0;
    if (!bm) return false;
    GdipGetImageWidth(bm, &w);
    GdipGetImageHeight(bm, &h);
    return w && h;
}

void viewSize(HWND h, int& w, int& hgt) {
    RECT r;
    GetClientRect(h, &r);
    w = r.right;
    hgt = r.bottom - header();
    if (hgt < 1) hgt = 1;
}

void repaint() {
    if (hView) InvalidateRect(hView, nullptr, FALSE);
}

void vGo(int i) {
    if (vCount <= 0) return;
    vs = VState{};
    vIdx = vWrap(i, vCount);
    imgRequest(GALID[vFirst + vIdx]);
    if (vCount > 1) imgRequest(GALID[vFirst + vWrap(vIdx + 1, vCount)]);
    repaint();
}

void vZoom(double factor, int x, int y) {  // x, y in client coordinates
    UINT w, h;
    if (!picSize(vImage(), w, h)) return;
    int vw, vh;
    viewSize(hView, vw, vh);
    vZoomAt(vs, factor, x, y - header(), w, h, vw, vh);
    repaint();
}

void vPan(double dx, double dy) {
    UINT w, h;
    if (!picSize(vImage(), w, h)) return;
    int vw, vh;
    viewSize(hView, vw, vh);
    vs.offX += dx;
    vs.offY += dy;
    vClamp(vs, w, h, vw, vh);
    repaint();
}

void fit() {
    vs = VState{};
    repaint();
}

void fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
    RECT rc{l, t, r, b};
    HBRUSH br = CreateSolidBrush(c);
    FillRect(dc, &rc, br);
    DeleteObject(br);
}

void text(HDC dc, HFONT f, const wchar_t* s, RECT r, COLORREF c, UINT flags) {
    SelectObject(dc, f);
    SetTextColor(dc, c);
    DrawTextW(dc, s, -1, &r, flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void onPaint(HWND h) {
    PAINTSTRUCT ps;
    HDC out = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    int cw = rc.right, chh = rc.bottom, top = header();
    HDC dc = CreateCompatibleDC(out);
    HBITMAP bmp = CreateCompatibleBitmap(out, cw > 0 ? cw : 1, chh > 0 ? chh : 1);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    SetBkMode(dc, TRANSPARENT);
    fill(dc, 0, 0, cw, chh, C_VIEW);
    int vw, vh;
    viewSize(h, vw, vh);

    GpBitmap* bm = vImage();
    UINT pw, ph;
    if (picSize(bm, pw, ph)) {
        vClamp(vs, pw, ph, vw, vh);
        VRect r = vPlace(vs, pw, ph, vw, vh);
        GpGraphics* g = nullptr;
        GdipCreateFromHDC(dc, &g);
        if (g) {
            GdipSetClipRectI(g, 0, top, vw, vh, CombineModeReplace);
            GdipSetPixelOffsetMode(g, PixelOffsetModeHighQuality);
            double s = vBaseScale(pw, ph, vw, vh) * vs.zoom;
            GdipSetInterpolationMode(g, s < 1 ? InterpolationModeHighQualityBicubic : InterpolationModeHighQualityBilinear);
            GdipDrawImageRectI(g, bm, r.x, top + r.y, r.w, r.h);
            GdipDeleteGraphics(g);
        }
        int itop, ih;
        if (vIndicator(vs, pw, ph, vw, vh, px(30), itop, ih)) fill(dc, cw - 6, top + itop, cw - 2, top + itop + ih, C_ACCENT);
    } else if (vCount > 0) {
        bool failed = imgStatus(GALID[vFirst + vIdx]) == 2;
        text(dc, fViewBody, W(T(failed ? 164 : 163)), RECT{0, top, cw, chh}, failed ? C_WARN : C_DIM, DT_CENTER);
    }

    fill(dc, 0, 0, cw, top, C_BG);
    fill(dc, 0, top - 1, cw, top, C_ACCENT);
    if (vCount > 0) {
        const char* cap = GALCAP[vFirst + vIdx];
        std::wstring c = cap && *cap ? std::wstring(W(u8w(cap).c_str())) : vTitle;
        wchar_t line[600];
        swprintf(line, 600, L"%d / %d   %ls", vIdx + 1, vCount, c.c_str());
        text(dc, fSection, line, RECT{px(14), 0, cw - px(420), top}, C_TEXT, DT_LEFT | DT_END_ELLIPSIS);
        text(dc, fSmall, W(T(110)), RECT{cw - px(420), 0, cw - px(14), top}, C_DIM, DT_RIGHT);
    }
    if (vCount > 1) {
        text(dc, fViewArrow, L"\u2039", RECT{px(6), top, px(46), chh}, C_ACCENT, DT_CENTER);
        text(dc, fViewArrow, L"\u203A", RECT{cw - px(46), top, cw - px(6), chh}, C_ACCENT, DT_CENTER);
    }
    BitBlt(out, 0, 0, cw, chh, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
    EndPaint(h, &ps);
}

void onKey(HWND h, WPARAM k) {
    RECT rc;
    GetClientRect(h, &rc);
    switch (k) {
        case VK_ESCAPE: ShowWindow(h, SW_HIDE); break;
        case VK_RIGHT:
        case VK_NEXT:
        case VK_SPACE: vGo(vIdx + 1); break;
        case VK_LEFT:
        case VK_PRIOR: vGo(vIdx - 1); break;
        case VK_HOME: vGo(0); break;
        case VK_END: vGo(vCount - 1); break;
        case VK_UP: vPan(0, -px(80)); break;
        case VK_DOWN: vPan(0, px(80)); break;
        case VK_ADD:
        case VK_OEM_PLUS: vZoom(1.25, rc.right / 2, rc.bottom / 2); break;
        case VK_SUBTRACT:
        case VK_OEM_MINUS: vZoom(0.8, rc.right / 2, rc.bottom / 2); break;
        case '0':
        case VK_NUMPAD0: fit(); break;
    }
}

void onButtonDown(HWND h, int x, int y) {
    RECT rc;
    GetClientRect(h, &rc);
    if (y >= header() && vCount > 1) {
        if (x < px(50)) return vGo(vIdx - 1);
        if (x > rc.right - px(50)) return vGo(vIdx + 1);
    }
    vDrag = 1;
    vDragPt = POINT{x, y};
    SetCapture(h);
}

}  // namespace

void openViewer(int first, int count, const wchar_t* title) {
    if (count <= 0 || first < 0 || first + count > GAL_N) return;
    if (!hView) {
        static bool registered;
        if (!registered) {
            WNDCLASSW wc{};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = ViewProc;
            wc.hInstance = hInst;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hIcon = LoadIconW(hInst, MAKEINTRESOURCEW(1));
            wc.lpszClassName = L"ZenvoralVisor";
            registered = RegisterClassW(&wc) != 0;
        }
        if (!fViewBody) {
            fViewBody = uiFont(L"Segoe UI", 15, 400);
            fViewArrow = uiFont(L"Bahnschrift", 26, 700, true);
        }
        int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        int w = sw * 85 / 100, h = sh * 85 / 100;
        hView = CreateWindowExW(WS_EX_TOPMOST, L"ZenvoralVisor", W(T(109)), WS_OVERLAPPEDWINDOW, (sw - w) / 2,
                                (sh - h) / 2, w, h, nullptr, nullptr, hInst, nullptr);
        if (!hView) return;
        darkTitle(hView);
    }
    vFirst = first;
    vCount = count;
    vTitle = title ? title : L"";
    SetWindowTextW(hView, vTitle.c_str());
    vGo(0);
    ShowWindow(hView, SW_SHOW);
    SetForegroundWindow(hView);
    SetFocus(hView);
}

void viewerImageArrived(int) {
    if (hView && IsWindowVisible(hView)) repaint();
}

void viewerDestroy() {
    if (hView) DestroyWindow(hView);
    hView = nullptr;
    vCount = 0;
}

LRESULT CALLBACK ViewProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: onPaint(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: repaint(); return 0;
        case WM_KEYDOWN: onKey(h, wp); return 0;
        case WM_MOUSEWHEEL: {
            int delta = GET_WHEEL_DELTA_WPARAM(wp);
            if (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL) {
                POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                ScreenToClient(h, &p);
                vZoom(delta >= 120 ? 1.2 : 1 / 1.2, p.x, p.y);
            } else {
                vPan(0, -(double)(delta / 120) * px(140));
            }
            return 0;
        }
        case WM_LBUTTONDOWN: onButtonDown(h, GET_X_LPARAM(lp), GET_Y_LPARAM(lp)); return 0;
        case WM_MOUSEMOVE:
            if (vDrag) {
                int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
                vPan(vDragPt.x - x, vDragPt.y - y);
                vDragPt = POINT{x, y};
            }
            return 0;
        case WM_LBUTTONUP:
            if (vDrag) {
                vDrag = 0;
                ReleaseCapture();
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (vs.zoom > 1.01) fit();
            else vZoom(2.0, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_CLOSE: ShowWindow(h, SW_HIDE); return 0;
        case WM_DESTROY:
            if (h == hView) hView = nullptr;
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}
