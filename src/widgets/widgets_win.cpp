#include "widgets/widgets_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cstring>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "l10n/ui.h"
#include "widgets/glyphs.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

HBRUSH brBg, brPanel;
HFONT fBig, fMid, fAsk;
int btnOwned;
const wchar_t* dwmLibrary = L"dwmapi.dll";

void fillRect(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void frameRect(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

void drawText(HDC dc, HFONT f, const wchar_t* s, RECT r, COLORREF c, UINT flags) {
    HGDIOBJ old = f ? SelectObject(dc, f) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c);
    DrawTextW(dc, s, -1, &r, flags);
    if (old) SelectObject(dc, old);
}

namespace {

bool focusShown(const DRAWITEMSTRUCT* dis) {
    return (dis->itemState & ODS_FOCUS) && !(dis->itemState & ODS_NOFOCUSRECT);
}

ARGB argbOf(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace

void widgetsInit() {
    if (!brBg) brBg = CreateSolidBrush(COL_BG);
    if (!brPanel) brPanel = CreateSolidBrush(COL_PANEL);
}

int darkTitle(HWND w) {
    typedef HRESULT(WINAPI * SetAttrFn)(HWND, DWORD, LPCVOID, DWORD);
    static const wchar_t* loadedFor = nullptr;
    static SetAttrFn setAttr = nullptr;
    if (loadedFor != dwmLibrary) {
        loadedFor = dwmLibrary;
        HMODULE m = LoadLibraryExW(dwmLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        setAttr = m ? (SetAttrFn)(void*)GetProcAddress(m, "DwmSetWindowAttribute") : nullptr;
    }
    if (!setAttr || !w) return 0;
    BOOL on = TRUE;
    if (SUCCEEDED(setAttr(w, 20, &on, sizeof on))) return 1;
    // Windows 10 builds before 2004 knew the attribute under the number 19
    return SUCCEEDED(setAttr(w, 19, &on, sizeof on)) ? 1 : 0;
}

void darkTheme(HWND control, const wchar_t* theme) { SetWindowTheme(control, theme, nullptr); }

void drawCheck(const DRAWITEMSTRUCT* dis, bool on, int boxLeft, HFONT font, bool dimOff) {
    HDC dc = dis->hDC;
    RECT rc = dis->rcItem;
    fillRect(dc, rc, COL_BG);
    int s = px(14);
    int bx = rc.left + px(boxLeft), by = rc.top + (rc.bottom - rc.top - s) / 2;
    RECT box{bx, by, bx + s, by + s};
    if (on) {
        fillRect(dc, box, COL_ACCENT);
        HPEN pen = CreatePen(PS_SOLID, px(2) > 0 ? px(2) : 1, COL_BG);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, bx + px(CHECK_MARK[0].x), by + px(CHECK_MARK[0].y), nullptr);
        for (int k = 1; k < 3; k++) LineTo(dc, bx + px(CHECK_MARK[k].x), by + px(CHECK_MARK[k].y));
        SelectObject(dc, old);
        DeleteObject(pen);
    } else {
        frameRect(dc, box, COL_DIM);
    }
    wchar_t text[65];
    GetWindowTextW(dis->hwndItem, text, 65);
    RECT tr{box.right + px(10), rc.top, rc.right - px(4), rc.bottom};
    drawText(dc, font, text, tr, (on || !dimOff) ? COL_TEXT : COL_DIM, DT_LEFT | DT_LINE);
    if (focusShown(dis)) {
        RECT f = rc;
        InflateRect(&f, -px(2), -px(2));
        DrawFocusRect(dc, &f);
    }
}

namespace {

// The buttons' face, or the plain body face for a symbol it lacks (the obtained button's check
// mark where the narrow face is a stand-in).
HFONT buttonFont(const wchar_t* text) {
    static HFONT plain;
    if (!plain) plain = uiFont(L"Segoe UI", 13, 600);
    return fontHaving(fSection, plain, text);
}

}  // namespace

void drawButtonAs(const DRAWITEMSTRUCT* dis, int id) {
    BtnLook look = btnLook(id);
    if (look == BTN_CHECK) {
        drawCheck(dis, hideOld != 0, 14, fSmall, true);
        return;
    }
    HDC dc = dis->hDC;
    RECT rc = dis->rcItem;
    BtnColours c = btnColours(look, dis->itemState & ODS_SELECTED, dis->itemState & ODS_DISABLED,
                              id == BTN_OWNED && btnOwned);
    fillRect(dc, rc, c.face);
    if (c.border != COL_NONE) frameRect(dc, rc, c.border);
    wchar_t text[65];
    GetWindowTextW(dis->hwndItem, text, 65);
    RECT tr{rc.left + px(8), rc.top, rc.right - px(8), rc.bottom};
    drawText(dc, buttonFont(text), text, tr, c.text, DT_CENTER | DT_LINE);
    if (focusShown(dis)) {
        RECT f = rc;
        InflateRect(&f, -px(3), -px(3));
        DrawFocusRect(dc, &f);
    }
}

void drawButton(const DRAWITEMSTRUCT* dis) { drawButtonAs(dis, (int)dis->CtlID); }

void drawGlyph(GpGraphics* g, int glyph, float x, float y, float size, float penWidth) {
    if (!g) return;
    GpPen* pen = nullptr;
    GpSolidFill* brush = nullptr;
    GdipCreatePen1(argbOf(COL_ACCENT), penWidth, UnitPixel, &pen);
    GdipCreateSolidFill(argbOf(COL_ACCENT), &brush);
    GdipSetPenStartCap(pen, LineCapRound);
    GdipSetPenEndCap(pen, LineCapRound);
    GdipSetPenLineJoin(pen, LineJoinRound);
    SmoothingMode oldMode;
    GdipGetSmoothingMode(g, &oldMode);
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    const Glyph& gl = glyphOf(glyph);
    for (int i = 0; i < gl.n; i++) {
        const GlyphPart& p = gl.part[i];
        PointF pts[GLYPH_POINTS];
        for (int k = 0; k < p.n; k++) pts[k] = PointF(x + p.pt[k].x * size, y + p.pt[k].y * size);
        float d = p.n > 1 ? p.pt[1].x * size : 0;
        switch (p.op) {
            case G_LINES: GdipDrawLines(g, pen, pts, p.n); break;
            case G_OUTLINE: GdipDrawPolygon(g, pen, pts, p.n); break;
            case G_FILL: GdipFillPolygon(g, brush, pts, p.n, FillModeAlternate); break;
            case G_CIRCLE: GdipDrawEllipse(g, pen, pts[0].X, pts[0].Y, d, d); break;
            case G_DOT: GdipFillEllipse(g, brush, pts[0].X, pts[0].Y, d, d); break;
            case G_ARC: GdipDrawArc(g, pen, pts[0].X, pts[0].Y, d, d, p.a0, p.sweep); break;
            case G_BEZIER: {
                GpPath* path = nullptr;
                if (GdipCreatePath(FillModeAlternate, &path) == Ok) {
                    GdipAddPathBeziers(path, pts, p.n);
                    GdipDrawPath(g, pen, path);
                    GdipDeletePath(path);
                }
                break;
            }
        }
    }
    GdipSetSmoothingMode(g, oldMode);
    GdipDeleteBrush(brush);
    GdipDeletePen(pen);
}

void paintFrame(HDC dc, const RECT* rect) {
    fillRect(dc, *rect, COL_BG);
    fillRect(dc, RECT{0, 0, rect->right, px(4)}, COL_ACCENT);
    SetBkMode(dc, TRANSPARENT);
}

void drawKey(HDC dc, int x, int y, const wchar_t* text) {
    RECT r{x, y, x + px(58), y + px(40)};
    fillRect(dc, r, COL_PANEL);
    frameRect(dc, r, COL_ACCENT);
    fillRect(dc, RECT{r.left, r.bottom - px(3), r.right, r.bottom}, COL_ACCENT);
    drawText(dc, fSection, text, r, COL_TEXT, DT_CENTER | DT_LINE);
}

HWND mkWindowEx(const wchar_t* className, WNDPROC proc, const wchar_t* title, int width, int height, DWORD style,
                HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(hInst, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = hInst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(hInst, MAKEINTRESOURCEW(1));
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }
    widgetsInit();
    if (!fBig) {
        fBig = uiFont(L"Bahnschrift", 26, 700, true);
        fMid = uiFont(L"Segoe UI", 15, 400);
    }
    RECT r{0, 0, px(width), px(height)};
    AdjustWindowRect(&r, style, FALSE);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hw = CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, className, title, style, x, y, w, h, nullptr,
                              nullptr, hInst, nullptr);
    if (hw) darkTitle(hw);
    return hw;
}

HWND mkWindow(const wchar_t* className, WNDPROC proc, const wchar_t* title, int width, int height) {
    return mkWindowEx(className, proc, title, width, height, WS_CAPTION | WS_SYSMENU, nullptr);
}

LRESULT CALLBACK GridProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NOTIFY) {
        const NMHDR* nm = (const NMHDR*)lp;
        HWND header = (HWND)SendMessageW(h, LVM_GETHEADER, 0, 0);
        if (nm->code == NM_CUSTOMDRAW && header && nm->hwndFrom == header) {
            const NMCUSTOMDRAW* cd = (const NMCUSTOMDRAW*)lp;
            if (cd->dwDrawStage == CDDS_PREPAINT) {
                RECT r;
                GetClientRect(header, &r);
                fillRect(cd->hdc, r, COL_PANEL);
                fillRect(cd->hdc, RECT{r.left, r.bottom - px(2), r.right, r.bottom}, COL_ACCENT);
                return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
            }
            if (cd->dwDrawStage == CDDS_POSTPAINT) {
                // the strip right of the last column, which the header fills itself
                RECT r, last{0, 0, 0, 0};
                GetClientRect(header, &r);
                int n = (int)SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
                if (n > 0) SendMessageW(header, HDM_GETITEMRECT, n - 1, (LPARAM)&last);
                if (last.right < r.right) {
                    fillRect(cd->hdc, RECT{last.right, r.top, r.right, r.bottom - px(2)}, COL_PANEL);
                    fillRect(cd->hdc, RECT{last.right, r.bottom - px(2), r.right, r.bottom}, COL_ACCENT);
                }
                return CDRF_DODEFAULT;
            }
            if (cd->dwDrawStage == CDDS_ITEMPREPAINT) {
                RECT r = cd->rc;
                fillRect(cd->hdc, RECT{r.left, r.top, r.right, r.bottom - px(2)}, COL_PANEL);
                fillRect(cd->hdc, RECT{r.right - 1, r.top + px(5), r.right, r.bottom - px(7)}, COL_BORDER);
                wchar_t text[128] = L"";
                HDITEMW hi{};
                hi.mask = HDI_TEXT;
                hi.pszText = text;
                hi.cchTextMax = 128;
                SendMessageW(header, HDM_GETITEMW, cd->dwItemSpec, (LPARAM)&hi);
                RECT tr{r.left + px(8), r.top, r.right - px(6), r.bottom - px(2)};
                drawText(cd->hdc, fSection, text, tr, COL_TEXT, DT_LEFT | DT_LINE);
                return CDRF_SKIPDEFAULT;
            }
            return CDRF_DODEFAULT;
        }
    }
    return DefSubclassProc(h, msg, wp, lp);
}

// ---- the question dialog ----------------------------------------------------------------

namespace {

struct AskRequest {
    const wchar_t* text;
    wchar_t* edit;
    int cancel;
};
AskRequest* a;  // the open dialog's request, null while none is open
HWND ed;        // its edit box

HWND child(HWND dlg, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
    HWND c = CreateWindowExW(0, cls, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, dlg, (HMENU)(INT_PTR)id, hInst,
                             nullptr);
    SendMessageW(c, WM_SETFONT, (WPARAM)fAsk, FALSE);
    return c;
}

void askInit(HWND dlg) {
    widgetsInit();
    if (!fAsk) fAsk = uiFont(L"Segoe UI", 15, 400);
    int w = px(ASK_W), h = px(askHeight(a->edit != nullptr));
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, (DWORD)GetWindowLongPtrW(dlg, GWL_STYLE), FALSE, (DWORD)GetWindowLongPtrW(dlg, GWL_EXSTYLE));
    int ww = r.right - r.left, wh = r.bottom - r.top;
    HWND owner = GetWindow(dlg, GW_OWNER);
    RECT o;
    GetWindowRect(owner ? owner : GetDesktopWindow(), &o);
    int x = o.left + (o.right - o.left - ww) / 2, y = o.top + (o.bottom - o.top - wh) / 2;
    SetWindowPos(dlg, HWND_TOPMOST, x, y, ww, wh, 0);
    SetWindowTextW(dlg, L"Zenvoral");
    darkTitle(dlg);
    child(dlg, L"STATIC", a->text, SS_NOPREFIX, px(20), px(18), px(420), px(70), -1);
    ed = nullptr;
    if (a->edit) {
        ed = child(dlg, L"EDIT", a->edit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, px(20), px(88), px(420), px(28), 100);
        darkTheme(ed, L"DarkMode_CFD");
        SendMessageW(ed, EM_LIMITTEXT, ASK_EDIT_LIMIT, 0);
        SendMessageW(ed, EM_SETSEL, 0, -1);
    }
    HWND ok = child(dlg, L"BUTTON", W(T(191)), BS_OWNERDRAW | WS_TABSTOP, w - px(150), h - px(52), px(130), px(34), IDOK);
    if (a->cancel)
        child(dlg, L"BUTTON", W(T(52)), BS_OWNERDRAW | WS_TABSTOP, w - px(290), h - px(52), px(130), px(34), IDCANCEL);
    SetFocus(ed ? ed : ok);
}

INT_PTR CALLBACK AskDlg(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: askInit(dlg); return FALSE;  // the focus is set
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            SetTextColor((HDC)wp, COL_TEXT);
            SetBkColor((HDC)wp, COL_BG);
            return (INT_PTR)brBg;
        case WM_CTLCOLOREDIT:
            SetTextColor((HDC)wp, COL_TEXT);
            SetBkColor((HDC)wp, COL_PANEL);
            return (INT_PTR)brPanel;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* dis = (const DRAWITEMSTRUCT*)lp;
            drawButtonAs(dis, dis->CtlID == IDOK ? BTN_AS_PRIMARY : BTN_AS_SECONDARY);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                if (ed && a->edit) GetWindowTextW(ed, a->edit, ASK_BUF);
                EndDialog(dlg, 1);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, 0);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE: EndDialog(dlg, 0); return TRUE;
    }
    return FALSE;
}

}  // namespace

int darkAsk(HWND owner, const wchar_t* text, wchar_t* editBuf, int showCancel) {
    if (a) return 0;  // one question at a time
    // an in-memory template without controls: style, extended style, no items, 200 x 80 dialog
    // units, then empty menu, class and title
    alignas(4) static WORD tpl[12];
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, ex = WS_EX_TOPMOST;
    std::memset(tpl, 0, sizeof tpl);
    tpl[0] = LOWORD(style);
    tpl[1] = HIWORD(style);
    tpl[2] = LOWORD(ex);
    tpl[3] = HIWORD(ex);
    tpl[7] = 200;
    tpl[8] = 80;
    AskRequest req{text, editBuf, showCancel};
    a = &req;
    INT_PTR r = DialogBoxIndirectParamW(hInst, (LPCDLGTEMPLATEW)tpl, owner, AskDlg, 0);
    a = nullptr;
    ed = nullptr;
    return askResult(r == 1, reinterpret_cast<char16_t*>(editBuf));
}
