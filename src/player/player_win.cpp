// The video player window. Rules and addresses are player/player; the browser is wvhost_win.
#include "player/player_win.h"

#include <uxtheme.h>

#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/fonts_win.h"
#include "base/msgs_win.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "player/player.h"
#include "player/wvhost_win.h"
#include "tools/toolui_win.h"
#include "widgets/widgets_win.h"

namespace {

enum { ID_VLIST = 600, ID_VBROWSER = 601, ID_VINSTALL = 602 };
constexpr DWORD FULL_STYLES = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

HWND hVList, hVBrowser, hVInstall;
HFONT fPBody;
int pEntry = -1, pIdx, pFull;
RECT pNormalRect;
std::vector<PVid> pVids;  // copies: a new database or pack never leaves them dangling

RECT toRect(const PRect& r) { return RECT{r.x, r.y, r.x + r.w, r.y + r.h}; }

void place(HWND c, const PRect& r, int shown) {
    MoveWindow(c, r.x, r.y, r.w, r.h, TRUE);
    ShowWindow(c, shown ? SW_SHOW : SW_HIDE);
}

void pLayout() {
    if (!hVid) return;
    RECT c;
    GetClientRect(hVid, &c);
    PLayout L = pLayoutCalc(c.right, c.bottom, sc, pFull, wv.state);
    place(hVList, L.list, L.listShown);
    place(hVBrowser, L.open, L.openShown);
    place(hVInstall, L.install, L.installShown);
    wvBounds = toRect(L.browser);
    wvApplyBounds();
    InvalidateRect(hVid, nullptr, FALSE);
}

void onPaint(HWND h) {
    ToolPaint tp(h);
    HDC m = tp.m;
    const RECT& c = tp.c;
    int w = c.right;
    fillRect(m, c, COL_BG);
    if (!pFull) {
        fillRect(m, RECT{0, px(51), w, px(52)}, COL_ACCENT);
        if (!pVids.empty()) {
            std::u16string head = pHeader(pIdx, int(pVids.size()), pVids[pIdx].caption);
            drawText(m, fSection, W(head.c_str()), RECT{px(14), 0, w - px(240), px(30)}, COL_TEXT,
                     DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            drawText(m, fSmall, W(T(116)), RECT{px(14), px(30), w - px(240), px(50)}, COL_DIM, DT_LINE);
        }
        if (int id = pStatusText(wv.state))
            drawText(m, fPBody, W(T(id)), RECT{px(320), px(80), w - px(30), px(160)},
                     wv.state == WV_FAILED ? COL_TEXT : COL_DIM, DT_WORDBREAK | DT_NOPREFIX);
    }
}

void drawItem(const DRAWITEMSTRUCT* d) {
    if (d->CtlID != ID_VLIST) {
        drawButtonAs(d, BTN_AS_SECONDARY);
        return;
    }
    if (d->itemID == (UINT)-1) return;
    bool sel = (d->itemState & ODS_SELECTED) != 0;
    RECT r = d->rcItem;
    fillRect(d->hDC, r, sel ? COL_PANEL : COL_BG);
    if (sel) fillRect(d->hDC, RECT{r.left, r.top + px(6), r.left + px(3), r.bottom - px(6)}, COL_ACCENT);
    if (d->itemID < pVids.size()) {
        RECT t{r.left + px(14), r.top + px(4), r.right - px(6), r.bottom - px(4)};
        drawText(d->hDC, fPBody, W(pVids[d->itemID].caption.c_str()), t, sel ? COL_ACCENT : COL_TEXT,
                 DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void onCommand(HWND h, int id, int code) {
    switch (id) {
        case ID_VLIST:
            if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
                int sel = (int)SendMessageW(hVList, LB_GETCURSEL, 0, 0);
                if (pShouldPlay(sel, pIdx, code == LBN_DBLCLK)) pPlay(sel);
            }
            break;
        case ID_VBROWSER:
            if (!pVids.empty()) openUrl(W(pWatchUrl(pVids[pIdx]).c_str()));
            break;
        case ID_VINSTALL: openUrl(W(EP_WEBVIEW2)); break;
        case IDCANCEL:
            if (pFull) pSetFull(0);
            else SendMessageW(h, WM_CLOSE, 0, 0);
            break;
    }
}

void onClose(HWND h) {
    pSetFull(0);
    wvBounds = RECT{0, 0, 0, 0};
    wvVisible = 0;
    wvNavigate(L"about:blank");  // stops the video
    wvApplyBounds();
    ShowWindow(h, SW_HIDE);
}

void onCreate(HWND h) {
    if (!fPBody) fPBody = uiFont(L"Segoe UI", 15, 400);
    hVList = CreateWindowExW(0, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                 LBS_NOINTEGRALHEIGHT,
                             0, 0, 10, 10, h, (HMENU)(INT_PTR)ID_VLIST, hInst, nullptr);
    darkTheme(hVList, L"DarkMode_Explorer");
    hVBrowser = tButton(h, ID_VBROWSER, W(T(114)));
    hVInstall = tButton(h, ID_VINSTALL, W(T(115)), false);
    wvOnFullScreen = pSetFull;
    wvStart(h);
}

}  // namespace

void pPlay(int i) {
    int n = int(pVids.size());
    if (!hVid || n == 0) return;
    pIdx = pWrap(i, n);
    SendMessageW(hVList, LB_SETCURSEL, pIdx, 0);
    std::u16string url = pPageUrl(pVids[pIdx], lang);
    SetWindowTextW(hVid, W(pVids[pIdx].caption.c_str()));
    logLine(L"Reproductor: %ls", W(url.c_str()));
    RECT c;
    GetClientRect(hVid, &c);
    wvBounds = toRect(pLayoutCalc(c.right, c.bottom, sc, pFull, wv.state).browser);
    wvVisible = 1;
    wvApplyBounds();
    wvNavigate(W(url.c_str()));
    InvalidateRect(hVid, nullptr, FALSE);
}

void pSetFull(int on) {
    if (!hVid || pFull == on) return;
    LONG_PTR style = GetWindowLongPtrW(hVid, GWL_STYLE);
    RECT r;
    if (on) {
        GetWindowRect(hVid, &pNormalRect);
        SetWindowLongPtrW(hVid, GWL_STYLE, style & ~(LONG_PTR)FULL_STYLES);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromWindow(hVid, MONITOR_DEFAULTTONEAREST), &mi);
        r = mi.rcMonitor;
    } else {
        SetWindowLongPtrW(hVid, GWL_STYLE, style | FULL_STYLES);
        r = pNormalRect;
    }
    pFull = on;
    SetWindowPos(hVid, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED);
    pLayout();
    if (!on && GetForegroundWindow() == hVid) SetFocus(hVList);  // the list was hidden: Esc works again
}

void openPlayer(int entry) {
    if (entry < 0 || entry >= DBN || DB[entry].vidCount <= 0) return;
    std::vector<PVid> vids = pVideosOf(DB[entry], wTitle[entry], lang);
    if (vids.empty()) return;
    if (!hVid) {
        hVid = mkWindowEx(L"ZenvoralVideo", VidProc, W(T(111)), P_MIN_W, P_MIN_H,
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr);
        if (!hVid) return;
        int sw = GetSystemMetrics(SM_CXSCREEN), shh = GetSystemMetrics(SM_CYSCREEN), w, hh;
        pOpenSize(sw, shh, sc, &w, &hh);
        SetWindowPos(hVid, nullptr, (sw - w) / 2, (shh - hh) / 2, w, hh, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    pEntry = entry;
    pVids = std::move(vids);
    pIdx = 0;
    SendMessageW(hVList, LB_RESETCONTENT, 0, 0);
    for (size_t k = 0; k < pVids.size(); k++) SendMessageW(hVList, LB_ADDSTRING, 0, (LPARAM)k);
    ShowWindow(hVid, SW_SHOW);
    SetForegroundWindow(hVid);
    pLayout();
    pPlay(0);
    SetFocus(hVList);
}

LRESULT CALLBACK VidProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: onCreate(h); return 0;
        case WM_SIZE: pLayout(); return 0;
        case WM_ZV_WVREADY: pLayout(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: onPaint(h); return 0;
        case WM_MEASUREITEM: ((MEASUREITEMSTRUCT*)lp)->itemHeight = px(58); return TRUE;
        case WM_DRAWITEM: drawItem((const DRAWITEMSTRUCT*)lp); return TRUE;
        case WM_CTLCOLORLISTBOX:
            SetBkColor((HDC)wp, COL_BG);
            return (LRESULT)brBg;
        case WM_COMMAND: onCommand(h, LOWORD(wp), HIWORD(wp)); return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = (MINMAXINFO*)lp;
            mm->ptMinTrackSize.x = px(P_MIN_W);
            mm->ptMinTrackSize.y = px(P_MIN_H);
            return 0;
        }
        case WM_CLOSE: onClose(h); return 0;
        case WM_DESTROY:
            if (h == hVid) hVid = nullptr;
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}
