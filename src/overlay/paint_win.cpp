// Paints the overlay into a device context from the rows of the last layout: emblem, header
// with the reset countdowns and icons, update banner, news, task groups, streak and key hint.
// Nothing here changes state. GDI for text and fills, GDI+ for the anti-aliased line art.
#include <windows.h>
#include <gdiplus.h>

#include <cmath>
#include <ctime>
#include <cwchar>

#include "base/base_win.h"
#include "base/state.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"
#include "datapack/install.h"
#include "datapack/news.h"
#include "l10n/ui.h"
#include "overlay/layout.h"
#include "overlay/overlay_win.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr COLORREF BG = RGB(13, 15, 17);
constexpr COLORREF ORANGE = RGB(255, 109, 16);
constexpr COLORREF LIGHT = RGB(222, 226, 230);
constexpr COLORREF NEWS_DIM = RGB(200, 205, 210);
constexpr COLORREF GREY = RGB(128, 137, 146);
constexpr COLORREF LINE = RGB(40, 45, 51);
constexpr COLORREF ROW = RGB(24, 27, 31);
constexpr COLORREF GREEN = RGB(95, 191, 138);
constexpr COLORREF PARTIAL = RGB(110, 70, 40);

constexpr UINT DT_ONE = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;  // 0x8820
constexpr UINT DT_VC = DT_ONE | DT_VCENTER;                             // 0x8824
constexpr UINT DT_MID = DT_VC | DT_CENTER;                              // 0x8825
constexpr UINT DT_RT = DT_ONE | DT_RIGHT;                               // 0x8822
constexpr UINT DT_RTVC = DT_VC | DT_RIGHT;                              // 0x8826

ARGB argb(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
    RECT rc{l, t, r, b};
    HBRUSH br = CreateSolidBrush(c);
    FillRect(dc, &rc, br);
    DeleteObject(br);
}
void fillU(HDC dc, int l, int t, int r, int b, COLORREF c) { fill(dc, px(l), px(t), px(r), px(b), c); }

void frame(HDC dc, const RECT& rc, COLORREF c) {
    HBRUSH br = CreateSolidBrush(c);
    FrameRect(dc, &rc, br);
    DeleteObject(br);
}

void text(HDC dc, HFONT f, const wchar_t* s, RECT rc, COLORREF c, UINT flags) {
    SelectObject(dc, f);
    SetTextColor(dc, c);
    DrawTextW(dc, s, -1, &rc, flags);
}
void textU(HDC dc, HFONT f, const wchar_t* s, int l, int t, int r, int b, COLORREF c, UINT flags) {
    text(dc, f, s, RECT{px(l), px(t), px(r), px(b)}, c, flags);
}

int textWidth(HDC dc, HFONT f, const wchar_t* s) {
    SelectObject(dc, f);
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, s, (int)wcslen(s), &sz);
    return sz.cx;
}

// Line art for the header icons when the icon font lacks them: filter, book, gear, drawn in
// a square of side s centred in the icon's rectangle.
enum Icon { ICON_FILTER, ICON_BOOK, ICON_GEAR };

void drawIcon(HDC dc, const RECT& box, Icon icon, COLORREF c) {
    GpGraphics* g = nullptr;
    if (GdipCreateFromHDC(dc, &g) != Ok) return;
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    GdipSetPixelOffsetMode(g, PixelOffsetModeHighQuality);
    float s = (float)px(16);
    float x = (box.left + box.right - s) / 2.0f, y = (box.top + box.bottom - s) / 2.0f;
    GpPen* pen = nullptr;
    GdipCreatePen1(argb(c), (float)(1.4 * sc), UnitPixel, &pen);
    GdipSetPenLineJoin(pen, LineJoinRound);
    GdipSetPenStartCap(pen, LineCapRound);
    GdipSetPenEndCap(pen, LineCapRound);
    auto P = [&](float fx, float fy) { return GpPointF{x + fx * s, y + fy * s}; };
    if (icon == ICON_FILTER) {
        GpPointF funnel[] = {P(0.1f, 0.16f), P(0.9f, 0.16f), P(0.58f, 0.54f), P(0.58f, 0.86f), P(0.42f, 0.76f), P(0.42f, 0.54f)};
        GdipDrawPolygon(g, pen, funnel, 6);
    } else if (icon == ICON_BOOK) {
        GpPointF left[] = {P(0.5f, 0.22f), P(0.08f, 0.12f), P(0.08f, 0.8f), P(0.5f, 0.9f)};
        GpPointF right[] = {P(0.5f, 0.22f), P(0.92f, 0.12f), P(0.92f, 0.8f), P(0.5f, 0.9f)};
        GdipDrawLines(g, pen, left, 4);
        GdipDrawLines(g, pen, right, 4);
        GdipDrawLine(g, pen, x + 0.5f * s, y + 0.22f * s, x + 0.5f * s, y + 0.9f * s);
    } else {
        // eight teeth around a ring, a hole in the middle
        GpPointF teeth[32];
        const float ri = 0.36f, ro = 0.48f, pi = 3.14159265f;
        for (int t = 0; t < 8; t++) {
            float a = t * pi / 4;
            float d[4] = {-0.33f, -0.16f, 0.16f, 0.33f};
            float r[4] = {ri, ro, ro, ri};
            for (int k = 0; k < 4; k++)
                teeth[t * 4 + k] = P(0.5f + r[k] * cosf(a + d[k]), 0.5f + r[k] * sinf(a + d[k]));
        }
        GdipDrawPolygon(g, pen, teeth, 32);
        GdipDrawEllipse(g, pen, x + 0.34f * s, y + 0.34f * s, 0.32f * s, 0.32f * s);
    }
    GdipDeletePen(pen);
    GdipDeleteGraphics(g);
}

void headerIcon(HDC dc, const RECT& box, const wchar_t* glyph, Icon icon, COLORREF c) {
    if (gearGlyphs) text(dc, fGear, glyph, box, c, DT_MID);
    else drawIcon(dc, box, icon, c);
}

void paintHeader(HDC dc, long long now) {
    textU(dc, fTitle, L"ZENVORAL", 56, 6, 200, 30, LIGHT, DT_VC);
    int w = textWidth(dc, fTitle, L"ZENVORAL ");
    text(dc, fTitle, L"SHD", RECT{px(56) + w, px(6), px(226), px(30)}, ORANGE, DT_VC);

    wchar_t line[140];
    char16_t day[LEFT_TEXT], week[LEFT_TEXT];
    long long d = nextDaily(now), wk = nextWeekly(now);
    fmtLeft(day, T(29), d ? d - now : 0);
    fmtLeft(week, T(30), wk ? wk - now : 0);
    swprintf(line, 140, L"%ls \u00B7 %ls", W(day), W(week));
    textU(dc, fSmall, line, 56, 30, 288, 46, GREY, DT_ONE);

    headerIcon(dc, compRect, L"\uE71C", ICON_FILTER, compact ? ORANGE : GREY);
    headerIcon(dc, bookRect, L"\uE8F1", ICON_BOOK, GREY);
    headerIcon(dc, gearRect, L"\uE713", ICON_GEAR, GREY);
    fillU(dc, 12, 52, 288, 53, LINE);
}

void paintUpdate(HDC dc) {
    const RECT& r = updRectO;
    fill(dc, r.left, r.top, r.right, r.bottom, ORANGE);
    text(dc, fNews, L"\u2191", RECT{r.left + px(10), r.top, r.left + px(26), r.bottom}, BG, DT_VC);
    char16_t s[160];
    fmtText(s, 160, T(193), {U(updVer)});
    text(dc, fNews, W(s), RECT{r.left + px(28), r.top, r.right - px(8), r.bottom}, BG, DT_VC);
}

void paintNews(HDC dc, long long now) {
    int y0 = newsY;
    textU(dc, fSection, W(T(117)), 12, y0 + 4, 200, y0 + 22, GREY, DT_ONE);
    if (pkSeasonW[0]) textU(dc, fSmall, W(pkSeasonW), 200, y0 + 4, 288, y0 + 22, ORANGE, DT_RT);
    int ly = px(y0 + 24);
    fill(dc, px(12), ly, px(288), ly + px(1), LINE);
    for (int i = 0; i < nNews && i < NEWS_MAX; i++) {
        const RECT& r = newsRect[i];
        fill(dc, r.left, r.top, r.right, r.bottom, ROW);
        fill(dc, r.left, r.top, r.left + px(3), r.bottom, newsHot[i] ? ORANGE : LINE);
        int x = r.right - px(20);
        char16_t cd[LEFT_TEXT];
        int kind = newsCountdown(cd, newsIni[i], newsFin[i], newsApx[i], now);
        if (kind) {
            int cw = textWidth(dc, fSmall, W(cd));
            text(dc, fSmall, W(cd), RECT{x - cw - px(2), r.top, x, r.bottom}, kind == 2 ? ORANGE : GREY, DT_RTVC);
            x -= px(10) + cw;
        }
        text(dc, fNews, W(newsTxt[i]), RECT{r.left + px(12), r.top, x, r.bottom}, newsHot[i] ? LIGHT : NEWS_DIM, DT_VC);
        text(dc, fItem, L"\u203A", RECT{r.right - px(18), r.top, r.right - px(4), r.bottom}, GREY, DT_MID);
    }
}

void checkBox(HDC dc, const RECT& r, int on) {
    int bx = r.left + px(10), by = r.top + px(9), s = px(12);
    if (!on) {
        frame(dc, RECT{bx, by, bx + s, by + s}, GREY);
        return;
    }
    fill(dc, bx, by, bx + s, by + s, ORANGE);
    HPEN pen = CreatePen(PS_SOLID, px(2), BG);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, bx + px(3), by + px(6), nullptr);
    LineTo(dc, bx + px(5), by + px(9));
    LineTo(dc, bx + px(10), by + px(3));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void paintGroup(HDC dc, int g) {
    int y0 = groupY[g];
    int total = 0, done = 0;
    for (int k = 0; k < NT; k++) {
        int i = ord[k];
        if (tHidden[i] || tasks[i].kind != g) continue;
        total++;
        done += checked[i] != 0;
    }
    textU(dc, fSection, W(T(26 + g)), 12, y0 + 4, 230, y0 + 22, GREY, DT_ONE);
    wchar_t count[24];
    swprintf(count, 24, L"%d/%d", done, total);
    textU(dc, fSmall, count, 230, y0 + 4, 288, y0 + 22, done == total ? GREEN : GREY, DT_RT);
    int ty = px(y0 + 24), th = px(3);
    fill(dc, px(12), ty, px(288), ty + th, LINE);
    if (total > 0 && done > 0) fill(dc, px(12), ty, px(12) + px(276) * done / total, ty + th, ORANGE);

    for (int k = 0; k < NT; k++) {
        int i = ord[k];
        if (tHidden[i] || tasks[i].kind != g) continue;
        const RECT& r = itemRect[i];
        if (r.right <= r.left) continue;
        fill(dc, r.left, r.top, r.right, r.bottom, ROW);
        checkBox(dc, r, checked[i]);
        int tx = r.left + px(10) + px(22), tr = r.right - px(8);
        const wchar_t* name = W(taskName(i));
        if (rowsCompact) {
            text(dc, fItem, name, RECT{tx, r.top, tr, r.bottom}, LIGHT, DT_VC);
            continue;
        }
        text(dc, fItem, name, RECT{tx, r.top + px(5), tr, r.top + px(24)}, checked[i] ? GREY : LIGHT, DT_ONE);
        if (i < BUILTIN_TASKS && *T(2 * i + 1))
            text(dc, fSub, W(T(2 * i + 1)), RECT{tx, r.top + px(22), tr, r.bottom - px(2)}, GREY, DT_ONE);
    }
}

void paintStreak(HDC dc) {
    int y0 = streakY;
    char16_t cur[STREAK_TEXT], best[64], both[128];
    streakText(cur);
    fmtText(best, 64, T(121), {bestStreak});
    fmtText(both, 128, u"%ls \u00B7 %ls", {cur, best});
    textU(dc, fSection, W(T(118)), 12, y0 + 4, 160, y0 + 22, GREY, DT_ONE);
    textU(dc, fSmall, W(both), 120, y0 + 4, 288, y0 + 22, curStreak ? ORANGE : GREY, DT_RT);
    for (int k = 0; k < HIST_CELLS; k++) {
        int v = histCell[k];
        RECT c{px(12 + 20 * k), px(y0 + 28), px(28 + 20 * k), px(y0 + 40)};
        fill(dc, c.left, c.top, c.right, c.bottom, v == 2 ? ORANGE : v == 1 ? PARTIAL : ROW);
        if (k == HIST_CELLS - 1) frame(dc, c, v == 2 ? ORANGE : GREY);
    }
}

void paintHint(HDC dc) {
    char16_t s[240];
    fmtText(s, 240, T(31), {keyEditStr, keyHideStr, keyLibStr, keyQuitStr});
    text(dc, fSmall, W(s), RECT{px(12), winH - px(24), px(288), winH - px(6)}, GREY, DT_ONE);
}

}  // namespace

void drawEmblem(HDC dc, int x, int y, int size, int hover) {
    GpGraphics* g = nullptr;
    if (GdipCreateFromHDC(dc, &g) != Ok) return;
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    GdipSetPixelOffsetMode(g, PixelOffsetModeHighQuality);
    ARGB ring = hover ? 0xFFFF8A3D : 0xFFFF6D10;
    GpSolidFill* disc = nullptr;
    GdipCreateSolidFill(0xFF15181B, &disc);
    GdipFillEllipse(g, disc, (REAL)x, (REAL)y, (REAL)size, (REAL)size);
    REAL w = 0.075f * size;
    GpPen* pen = nullptr;
    GdipCreatePen1(ring, w, UnitPixel, &pen);
    GdipDrawEllipse(g, pen, x + w / 2 + 0.5f, y + w / 2 + 0.5f, size - w - 1, size - w - 1);
    GpPen* chev = nullptr;
    GdipCreatePen1(ring, 0.1f * size, UnitPixel, &chev);
    GdipSetPenStartCap(chev, LineCapRound);
    GdipSetPenEndCap(chev, LineCapRound);
    GdipSetPenLineJoin(chev, LineJoinRound);
    REAL r = size / 2.0f, cx = x + r, cy = y + r;
    for (REAL b : {cy - 0.2f * r, cy + 0.16f * r}) {
        GpPointF pts[3] = {{cx - 0.36f * r, b + 0.18f * r}, {cx, b - 0.16f * r}, {cx + 0.36f * r, b + 0.18f * r}};
        GdipDrawLines(g, chev, pts, 3);
    }
    GdipDeletePen(chev);
    GdipDeletePen(pen);
    GdipDeleteBrush(disc);
    GdipDeleteGraphics(g);
}

void paint(HDC dc) {
    fill(dc, 0, 0, curW, curH, BG);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, fSmall);
    drawEmblem(dc, embRect.left, embRect.top, embRect.right - embRect.left, hoverEmb);
    if (updAvailable && !editMode) {
        int d = px(12), u = px(1);
        HBRUSH br = CreateSolidBrush(ORANGE);
        HPEN pen = CreatePen(PS_SOLID, px(2), BG);
        HGDIOBJ ob = SelectObject(dc, br), op = SelectObject(dc, pen);
        Ellipse(dc, embRect.right - d + u, embRect.top - u, embRect.right + u, embRect.top - u + d);
        SelectObject(dc, ob);
        SelectObject(dc, op);
        DeleteObject(br);
        DeleteObject(pen);
    }
    if (!editMode) {
        SelectObject(dc, oldFont);
        return;
    }
    long long now = (long long)time(nullptr);
    if (updRectO.right > updRectO.left) paintUpdate(dc);
    paintHeader(dc, now);
    if (nNews > 0 && !rowsCompact) paintNews(dc, now);
    for (int g = 0; g < 3; g++)
        if (groupY[g] >= 0) paintGroup(dc, g);
    if (doneMsgY >= 0) {
        fillU(dc, 12, doneMsgY, 288, doneMsgY + 28, ROW);
        textU(dc, fNews, W(T(166)), 24, doneMsgY, 288, doneMsgY + 28, GREEN, DT_VC);
    }
    if (streakY >= 0) paintStreak(dc);
    if (!rowsCompact) paintHint(dc);
    SelectObject(dc, oldFont);
}
