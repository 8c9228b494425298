// Overlay geometry on the window: scale, fonts (with fallbacks for faces the system lacks),
// the pixel rows of the layout, size, shape and transparency, compact mode.
#include <windows.h>

#include <ctime>
#include <cwchar>

#include "base/base_win.h"
#include "base/state.h"
#include "checklist/clock.h"
#include "overlay/layout.h"
#include "overlay/overlay_win.h"

RECT gearRect, bookRect, compRect, embRect;
RECT updRectO;
RECT newsRect[NEWS_MAX];
RECT itemRect[MAX_TASKS];
int winW, winH, curW, curH;
int updAvailable;
wchar_t updVer[40];
HFONT fTitle, fSection, fItem, fSub, fSmall, fGear, fNews, fUi;
int gearGlyphs;

namespace {

RECT toPx(const URect& r) {
    if (uEmpty(r)) return RECT{0, 0, 0, 0};
    return RECT{px(r.left), px(r.top), px(r.right), px(r.bottom)};
}

int CALLBACK foundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *(int*)found = 1;
    return 0;
}

bool faceExists(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    int found = 0;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, foundFace, (LPARAM)&found, 0);
    ReleaseDC(nullptr, dc);
    return found != 0;
}

bool hasGlyphs(HFONT f, const wchar_t* s) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f);
    WORD idx[16];
    int n = (int)wcslen(s);
    if (n > 16) n = 16;
    bool ok = GetGlyphIndicesW(dc, s, n, idx, GGI_MARK_NONEXISTING_GLYPHS) == (DWORD)n;
    for (int i = 0; ok && i < n; i++) ok = idx[i] != 0xFFFF;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return ok;
}

HFONT font(const wchar_t* face, int size, int weight) {
    return CreateFontW(-px(size), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// Symbols the overlay draws as text: all of them in the plain faces, those of titles,
// headings and chevrons in the narrow ones.
constexpr const wchar_t* SYMBOLS = L"\u2713\u203A\u2191\u00B7\u00D7\u2013";
constexpr const wchar_t* NARROW_SYMBOLS = L"\u203A\u00B7\u00D7\u2013";

// The face asked for when the system has it; otherwise the first stand-in that has every
// symbol the overlay draws, so a missing font never turns into boxes. Narrow faces stand in
// for the narrow title face.
HFONT textFont(const wchar_t* face, int size, int weight, bool narrow = false) {
    if (faceExists(face)) return font(face, size, weight);
    static const wchar_t* const narrowIns[] = {L"Arial Narrow", L"Roboto Condensed", L"DejaVu Sans Condensed", L"Segoe UI", L"DejaVu Sans", L"Tahoma", L"Arial"};
    static const wchar_t* const standIns[] = {L"Segoe UI", L"DejaVu Sans", L"Segoe UI Symbol", L"Tahoma", L"Arial"};
    HFONT first = nullptr;
    const wchar_t* const* list = narrow ? narrowIns : standIns;
    int n = narrow ? (int)(sizeof narrowIns / sizeof *narrowIns) : (int)(sizeof standIns / sizeof *standIns);
    for (int k = 0; k < n; k++) {
        const wchar_t* s = list[k];
        if (!faceExists(s)) continue;
        HFONT f = font(s, size, weight);
        if (hasGlyphs(f, narrow ? NARROW_SYMBOLS : SYMBOLS)) {
            if (first) DeleteObject(first);
            return f;
        }
        if (first) DeleteObject(f);
        else first = f;
    }
    return first ? first : font(face, size, weight);
}

}  // namespace

void scaleInit() {
    HDC dc = GetDC(nullptr);
    double dpi = GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
    ReleaseDC(nullptr, dc);
    RECT wa{0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    sc = ovStartScale(dpi, gStore->getInt("ajustes", "Escala", 100), wa.bottom - wa.top, &uiScale);
}

void makeFonts() {
    HFONT old[] = {fTitle, fSection, fItem, fSub, fSmall, fGear, fNews, fUi};
    fTitle = textFont(L"Bahnschrift", 22, 700, true);
    fSection = textFont(L"Bahnschrift", 13, 600, true);
    fItem = textFont(L"Bahnschrift", 16, 600, true);
    fSub = textFont(L"Segoe UI", 12, 400);
    fSmall = textFont(L"Segoe UI", 12, 400);
    fGear = font(L"Segoe MDL2 Assets", 16, 400);
    fNews = textFont(L"Segoe UI", 12, 600);
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
    int h = ovLayout(compact, updAvailable);
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
    if (editMode) {
        curW = winW;
        curH = winH;
    } else {
        curW = curH = px(OV_EMBLEM);
    }
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
