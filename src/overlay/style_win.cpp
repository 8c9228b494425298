// Overlay geometry on the window: scale, fonts (with fallbacks for faces the system lacks),
// the pixel rows of the layout, size, shape and transparency, compact mode.
#include <windows.h>

#include <ctime>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "base/state.h"
#include "checklist/clock.h"
#include "overlay/layout.h"
#include "overlay/overlay_win.h"

RECT gearRect, bookRect, compRect, embRect;
RECT updRectO;
RECT newsRect[NEWS_MAX];
RECT itemRect[MAX_TASKS];
int winW, winH, curW, curH;
int rowsCompact;
int updAvailable;
wchar_t updVer[40];
int gearGlyphs;

namespace {

RECT toPx(const URect& r) {
    if (uEmpty(r)) return RECT{0, 0, 0, 0};
    return RECT{px(r.left), px(r.top), px(r.right), px(r.bottom)};
}

}  // namespace

namespace {
double dpiScale = 1.0;
}

RECT ovWorkArea() {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    HMONITOR m = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                      : MonitorFromPoint(POINT{posX, posY}, MONITOR_DEFAULTTOPRIMARY);
    if (m && GetMonitorInfoW(m, &mi)) return mi.rcWork;
    RECT wa{0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    return wa;
}

void scaleInit() {
    HDC dc = GetDC(nullptr);
    dpiScale = GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
    ReleaseDC(nullptr, dc);
    RECT wa = ovWorkArea();
    sc = ovStartScale(dpiScale, gStore->getInt("ajustes", "Escala", 100), wa.bottom - wa.top, &uiScale);
}

void scaleFit() {
    RECT wa = ovWorkArea();
    int workH = wa.bottom - wa.top, units = ovLayout(compact, updAvailable);
    double s = ovFitScale(sc, dpiScale, units, workH);
    // the whole list does not fit even so: compact rows will show, at the scale that suits them
    if (!compact && (int)(units * s + 0.5) > workH - OV_MARGIN) s = ovFitScale(sc, dpiScale, ovLayout(1, updAvailable), workH);
    sc = s;
}

void makeFonts() {
    HFONT old[] = {fTitle, fSection, fItem, fSub, fSmall, fGear, fNews, fUi};
    fTitle = uiFont(L"Bahnschrift", 22, 700, true);
    fSection = uiFont(L"Bahnschrift", 13, 600, true);
    fItem = uiFont(L"Bahnschrift", 16, 600, true);
    fSub = uiFont(L"Segoe UI", 12, 400);
    fSmall = uiFont(L"Segoe UI", 12, 400);
    fGear = fontExact(L"Segoe MDL2 Assets", 16, 400);
    fNews = uiFont(L"Segoe UI", 12, 600);
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;  // 504 bytes
    fUi = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0) ? CreateFontIndirectW(&ncm.lfMessageFont)
                                                                              : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    gearGlyphs = faceExists(L"Segoe MDL2 Assets") && hasGlyphs(fGear, L"\uE71C\uE8F1\uE713");
    for (HFONT f : old)
        if (f && f != (HFONT)GetStockObject(DEFAULT_GUI_FONT)) DeleteObject(f);
}

void headerRects() {
    if (!fTitle) makeFonts();  // the rectangles come after the fonts
    embRect = RECT{px(6), px(6), px(46), px(46)};
    compRect = RECT{px(206), px(5), px(232), px(29)};
    bookRect = RECT{px(234), px(5), px(260), px(29)};
    gearRect = RECT{px(262), px(5), px(288), px(29)};
    winW = px(OV_W);
}

void posInit() {
    ovStartPos(&posX, &posY, px(12), px(60), GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

int layout() {
    // the whole list while it fits the work area at this scale, else compact mode's rows: the
    // list grows with news and own tasks long after start-up
    RECT wa = ovWorkArea();
    int h = ovLayoutFit(compact, updAvailable, sc, wa.bottom - wa.top, &rowsCompact);
    updRectO = toPx(updRowU);
    for (int i = 0; i < NEWS_MAX; i++) newsRect[i] = toPx(newsRowU[i]);
    for (int i = 0; i < MAX_TASKS; i++) itemRect[i] = toPx(itemRowU[i]);
    return h;
}

void applyStyle() {
    if (!hwnd) return;
    LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (ex & WS_EX_TRANSPARENT) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~(LONG_PTR)WS_EX_TRANSPARENT);
    SetLayeredWindowAttributes(hwnd, 0, (BYTE)ovAlpha(opacity, editMode), LWA_ALPHA);
    RECT wr, wa = ovWorkArea();
    if (editMode) {
        curW = winW;
        // never taller than the work area: with more pending tasks than even compact rows at
        // the smallest scale can show, the last rows stay out of sight rather than the screen
        curH = winH < wa.bottom - wa.top ? winH : wa.bottom - wa.top;
    } else {
        curW = curH = px(OV_EMBLEM);
    }
    // expanded, the panel stays inside the work area: moved up when its bottom would be below it
    // (the stored position stays the player's)
    GetWindowRect(hwnd, &wr);
    int y = wr.top;
    if (editMode && y + curH > wa.bottom) y = wa.bottom - curH > wa.top ? wa.bottom - curH : wa.top;
    if (y != wr.top)
        SetWindowPos(hwnd, nullptr, wr.left, y, curW, curH, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(hwnd, nullptr, 0, 0, curW, curH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(hwnd, editMode ? nullptr : CreateEllipticRgn(0, 0, curW + 1, curH + 1), TRUE);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void relayout() {
    histRefresh((long long)time(nullptr), *gStore);
    winH = px(layout());
    if (hwnd) {
        applyStyle();
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void setCompact(int on) {
    compact = on ? 1 : 0;
    gStore->put("ajustes", "Compacto", compact ? u"1" : u"0");
    newsRefresh((long long)time(nullptr));
    relayout();
}
