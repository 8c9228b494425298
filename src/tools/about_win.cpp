// The About window (hAbout): emblem, name, version, the description (or the credits) and
// seven buttons in three rows: web site, community chat, feedback; credits, update check, log;
// close.
#include "tools/about_win.h"

#include <shellapi.h>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/fonts_win.h"
#include "l10n/ui.h"
#include "overlay/overlay_win.h"
#include "tools/about.h"
#include "tools/feedback_win.h"
#include "tools/toolui_win.h"
#include "update/check_win.h"
#include "widgets/widgets_win.h"

void (*aboutShowLibraryCredits)() = nullptr;

namespace {

enum { ID_SITE = 1400, ID_CREDITS, ID_UPDATE, ID_FEEDBACK, ID_LOG, ID_CLOSE, ID_CHAT };
constexpr uint32_t COL_BODY = rgb(200, 205, 210);
constexpr uint32_t COL_GREY = rgb(128, 137, 146);
constexpr int ABOUT_W = 560, ABOUT_H = 344;

// The buttons in reading (and tab) order: three rows of three columns, Close alone at the right.
constexpr int ORDER[7] = {ID_SITE, ID_CHAT, ID_FEEDBACK, ID_CREDITS, ID_UPDATE, ID_LOG, ID_CLOSE};

int showCredits;  // the text area shows the credits instead of the description

const wchar_t* caption(int id) {
    switch (id) {
        case ID_SITE: return W(T(226));
        case ID_CREDITS: return W(T(76));
        case ID_UPDATE: return W(T(159));
        case ID_FEEDBACK: return W(T(228));
        case ID_LOG: return W(T(227));
        case ID_CLOSE: return W(T(229));
    }
    return L"Discord";
}

void onSize(HWND h, int w) {
    int bw = (w - px(48) - px(16)) / 3, bh = px(36);
    for (int k = 0; k < 7; k++) {
        int col = k == 6 ? 2 : k % 3, row = k / 3;
        MoveWindow(GetDlgItem(h, ORDER[k]), px(24) + col * (bw + px(8)), px(196) + row * px(44), bw, bh, TRUE);
    }
}

void onPaint(HWND h) {
    ToolPaint tp(h);
    HDC m = tp.m;
    const RECT& c = tp.c;
    int w = c.right;
    paintFrame(m, &c);
    drawEmblem(m, px(24), px(28), px(64), 0);
    tText(m, fBig, L"Zenvoral", RECT{px(104), px(28), w - px(24), px(62)}, COL_TEXT, DT_SINGLELINE | DT_END_ELLIPSIS);
    tText(m, fSection, W(aboutVersion().c_str()), RECT{px(104), px(64), w - px(24), px(86)}, COL_ACCENT,
          DT_SINGLELINE | DT_END_ELLIPSIS);
    RECT body{px(24), px(110), w - px(24), px(186)};
    if (showCredits) tText(m, fSmall, W(aboutCredits().c_str()), body, COL_GREY, DT_WORDBREAK);
    else tText(m, fMid, W(T(224)), body, COL_BODY, DT_WORDBREAK);
}

void onCommand(HWND h, int id) {
    switch (id) {
        case ID_SITE: openUrl(W(EP_SITE)); break;
        case ID_CHAT: openUrl(W(EP_CHAT)); break;
        case ID_FEEDBACK: openFeedback(); break;
        case ID_CREDITS:
            if (aboutShowLibraryCredits) {
                DestroyWindow(h);
                aboutShowLibraryCredits();
            } else {
                showCredits = !showCredits;
                RECT body{px(24), px(110), px(ABOUT_W - 24), px(186)};
                InvalidateRect(h, &body, FALSE);
            }
            break;
        case ID_UPDATE: updCheck(1); break;
        case ID_LOG: ShellExecuteW(nullptr, L"open", logPath, nullptr, nullptr, SW_SHOWNORMAL); break;
        case ID_CLOSE:
        case IDCANCEL: DestroyWindow(h); break;
    }
}

LRESULT CALLBACK AboutProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            for (int id : ORDER) tButton(h, id, caption(id));
            return 0;
        case WM_SIZE: onSize(h, LOWORD(lp)); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: onPaint(h); return 0;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* d = (const DRAWITEMSTRUCT*)lp;
            drawButtonAs(d, d->CtlID == ID_SITE ? BTN_AS_PRIMARY : BTN_AS_SECONDARY);
            return TRUE;
        }
        case WM_COMMAND: onCommand(h, LOWORD(wp)); return 0;
        case WM_DESTROY: hAbout = nullptr; return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

void openAbout() {
    if (!hAbout) {
        showCredits = 0;
        hAbout = mkWindow(L"ZenvoralAcerca", AboutProc, W(T(223)), ABOUT_W, ABOUT_H);
        if (!hAbout) return;
        RECT c;
        GetClientRect(hAbout, &c);
        onSize(hAbout, c.right);
        ShowWindow(hAbout, SW_SHOW);
        SetFocus(GetDlgItem(hAbout, ID_SITE));
    }
    ShowWindow(hAbout, SW_SHOW);
    SetForegroundWindow(hAbout);
}
