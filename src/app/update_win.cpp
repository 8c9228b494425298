#include "app/update_win.h"

#include <shellapi.h>
#include <uxtheme.h>

#include <cwchar>
#include <string>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/fonts_win.h"
#include "base/msgs_win.h"
#include "base/utf.h"
#include "l10n/ui.h"
#include "overlay/overlay_win.h"
#include "update/download_win.h"
#include "update/manifest.h"
#include "update/verify.h"
#include "widgets/widgets_win.h"

int updPct = UPD_IDLE;

namespace {

enum { ID_NOW = 900, ID_LATER = 901, ID_WEB = 902, ID_NOTES = 903 };

HWND hUNotes, hUNow, hULater, hUWeb;
HFONT fUHead, fUBody;

// The manifest names no digest: its installer cannot be checked, so only the web page is offered.
bool unverifiable() { return !shaValid(updSha); }

void showButtons() {
    bool busy = !updClosable(updPct);
    bool noSha = unverifiable();
    ShowWindow(hUNow, noSha ? SW_HIDE : SW_SHOW);
    EnableWindow(hUNow, !busy);
    EnableWindow(hULater, !busy);
    ShowWindow(hUWeb, noSha || updPct == UPD_FAILED ? SW_SHOW : SW_HIDE);
}

void fallBack(HWND h) {
    updPct = UPD_FAILED;
    showButtons();
    InvalidateRect(h, nullptr, FALSE);
}

void paintUpd(HWND h, HDC dc) {
    RECT rc;
    GetClientRect(h, &rc);
    int w = rc.right, hh = rc.bottom;
    paintFrame(dc, &rc);
    drawEmblem(dc, px(24), px(26), px(48), 0);
    wchar_t line[256];
    swprintf(line, 256, W(T(148)), updVer);
    drawText(dc, fUHead, line, RECT{px(88), px(24), w - px(24), px(56)}, COL_TEXT, DT_LINE);
    swprintf(line, 256, W(T(149)), W(ZV_VERSION));
    drawText(dc, fUBody, line, RECT{px(88), px(58), w - px(24), px(110)}, COL_DIM, DT_WORDBREAK | DT_NOPREFIX);
    drawText(dc, fSection, W(T(150)), RECT{px(24), px(122), w - px(24), px(144)}, COL_DIM, DT_LINE);

    UpdPhase phase = unverifiable() && updPct == UPD_IDLE ? PHASE_FAILED : updPhase(updPct);
    if (phase == PHASE_IDLE) return;
    RECT bar = updRect(w, hh);
    fillRect(dc, bar, COL_PANEL);
    int fill = updFill(updPct, bar.right - bar.left);
    if (fill > 0) fillRect(dc, RECT{bar.left, bar.top, bar.left + fill, bar.bottom}, COL_ACCENT);
    RECT tr{px(24), bar.bottom + px(4), w - px(24), bar.bottom + px(24)};
    if (phase == PHASE_DOWNLOADING) {
        swprintf(line, 256, W(T(153)), updPct);
        drawText(dc, fSmall, line, tr, COL_DIM, DT_LINE);
    } else if (phase == PHASE_INSTALLING) {
        drawText(dc, fSmall, W(T(154)), tr, COL_DIM, DT_LINE);
    } else {
        drawText(dc, fSmall, W(T(155)), tr, COL_WARN, DT_LINE);
    }
}

void layoutUpd(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    int w = rc.right, hh = rc.bottom;
    MoveWindow(hUNotes, px(24), px(150), w - px(48), hh - px(150) - px(112), TRUE);
    MoveWindow(hUNow, w - px(24 + 190), hh - px(60), px(190), px(36), TRUE);
    MoveWindow(hULater, w - px(24 + 190 + 10 + 130), hh - px(60), px(130), px(36), TRUE);
    MoveWindow(hUWeb, px(24), hh - px(60), px(190), px(36), TRUE);
}

void startDownload(HWND h) {
    if (unverifiable() || !updClosable(updPct)) return;
    updPct = 0;
    showButtons();
    ShowWindow(hUWeb, SW_HIDE);
    InvalidateRect(h, nullptr, FALSE);
    if (!updDownloadStart(h, updVer)) fallBack(h);
}

void finished(HWND h, int ok) {
    if (updPct < 0 || updPct > 100) return;  // not downloading: a stray message
    if (ok) {
        updPct = UPD_INSTALLING;
        InvalidateRect(h, nullptr, FALSE);
        UpdateWindow(h);  // the reopen notice is on screen before the program ends
        if (updRunInstaller()) {
            logLine(L"Actualización: instalador %ls en marcha", updTmp);
            DestroyWindow(hwnd);
            return;
        }
    }
    fallBack(h);
}

HWND button(HWND parent, int id, int text) {
    return CreateWindowExW(0, L"BUTTON", W(T(text)), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 10, 10,
                           parent, (HMENU)(INT_PTR)id, hInst, nullptr);
}

}  // namespace

RECT updRect(int w, int h) { return RECT{px(24), h - px(96), w - px(24), h - px(88)}; }

LRESULT CALLBACK UpdProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            hUpd = h;
            hUNotes = CreateWindowExW(0, L"EDIT", L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                      0, 0, 10, 10, h, (HMENU)(INT_PTR)ID_NOTES, hInst, nullptr);
            SendMessageW(hUNotes, WM_SETFONT, (WPARAM)fUBody, 0);
            darkTheme(hUNotes, L"DarkMode_Explorer");
            hUNow = button(h, ID_NOW, 151);
            hULater = button(h, ID_LATER, 152);
            hUWeb = button(h, ID_WEB, 156);
            ShowWindow(hUWeb, SW_HIDE);
            return 0;
        case WM_SIZE: layoutUpd(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT rc;
            GetClientRect(h, &rc);
            // drawn off screen so progress repaints do not flicker
            HDC mem = CreateCompatibleDC(dc);
            HBITMAP bmp = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
            HGDIOBJ old = SelectObject(mem, bmp);
            paintUpd(h, mem);
            BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteObject(bmp);
            DeleteDC(mem);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            SetBkColor((HDC)wp, COL_PANEL);
            SetTextColor((HDC)wp, RGB(200, 205, 210));
            return (LRESULT)brPanel;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* dis = (const DRAWITEMSTRUCT*)lp;
            drawButtonAs(dis, dis->CtlID == ID_NOW ? BTN_AS_PRIMARY : BTN_AS_SECONDARY);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case ID_NOW: startDownload(h); return 0;
                case ID_LATER:
                case IDCANCEL: SendMessageW(h, WM_CLOSE, 0, 0); return 0;
                case ID_WEB: ShellExecuteW(nullptr, L"open", W(EP_SITE), nullptr, nullptr, SW_SHOWNORMAL); return 0;
            }
            break;
        case WM_ZV_DLPROG: {
            int before = updPct;
            updPct = updProgress(updPct, (int)wp);
            if (updPct != before) {
                RECT rc;
                GetClientRect(h, &rc);
                RECT r = updRect(rc.right, rc.bottom);
                r.bottom += px(26);
                InvalidateRect(h, &r, FALSE);
            }
            return 0;
        }
        case WM_ZV_DLDONE: finished(h, (int)wp); return 0;
        case WM_CLOSE:
            if (updClosable(updPct)) DestroyWindow(h);  // never while downloading or installing
            return 0;
        case WM_DESTROY:
            hUpd = nullptr;
            updPct = UPD_IDLE;
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

void openUpdateWindow() {
    if (hUpd) {
        showButtons();  // a later manifest may have brought or dropped the digest
        InvalidateRect(hUpd, nullptr, FALSE);
        ShowWindow(hUpd, SW_SHOW);
        SetForegroundWindow(hUpd);
        return;
    }
    if (fUHead) DeleteObject(fUHead);
    if (fUBody) DeleteObject(fUBody);
    fUHead = uiFont(L"Bahnschrift", 26, 700, true);
    fUBody = uiFont(L"Segoe UI", 14, 400);
    HWND h = mkWindow(L"ZenvoralActualizar", UpdProc, W(T(147)), 560, 470);
    if (!h) return;
    std::u16string notes;
    if (const char* n = updNotes(lang)) {
        for (char16_t c : u8w(n)) {
            if (c == u'\n') notes += u'\r';
            if (c != u'\r') notes += c;
        }
    }
    SetWindowTextW(hUNotes, W(notes.c_str()));
    showButtons();
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    SetFocus(unverifiable() ? hUWeb : hUNow);
}
