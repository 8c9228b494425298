// The DPS calculator window: nine edit boxes for the weapon's figures and bonuses, and a
// results panel that follows every keystroke. The arithmetic is in tools/dps.
#include "tools/dps_win.h"

#include <string>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "l10n/ui.h"
#include "tools/dps.h"
#include "tools/toolui_win.h"
#include "widgets/widgets_win.h"

namespace {

constexpr int ID_FIRST = 1500;  // 1500..1508, in DpsField order
constexpr uint32_t COL_GREY = rgb(128, 137, 146);

DpsOut dpsRes;

int row(int k) { return 82 + 34 * k; }

// The results panel in pixels; w is the client width.
RECT panelRect(int w) { return RECT{px(390), px(82), w - px(24), px(82 + 8 * 34 + 26)}; }

void onCreate(HWND h) {
    for (int k = 0; k < DPS_FIELDS; k++) {
        HWND e = CreateWindowExW(0, L"EDIT", W(dpsDef[k]), WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_RIGHT |
                                 ES_AUTOHSCROLL, px(250), px(row(k)), px(110), px(26), h,
                                 (HMENU)(INT_PTR)(ID_FIRST + k), hInst, nullptr);
        SendMessageW(e, WM_SETFONT, (WPARAM)fMid, FALSE);
        SendMessageW(e, EM_LIMITTEXT, 10, 0);
        darkTheme(e, L"DarkMode_CFD");
    }
    dpsCalc(h);
}

void onPaint(HWND h) {
    ToolPaint tp(h);
    HDC m = tp.m;
    const RECT& c = tp.c;
    paintFrame(m, &c);
    int w = c.right;
    tText(m, fSmall, W(T(237)), RECT{px(24), px(16), w - px(24), px(74)}, COL_GREY, DT_WORDBREAK);
    const UINT line = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    for (int k = 0; k < DPS_FIELDS; k++)
        tText(m, fMid, W(T(dpsLbl[k])), unitRect(24, row(k), 240, row(k) + 26), COL_TEXT, line);
    RECT p = panelRect(w);
    tFill(m, p, COL_PANEL);
    tFill(m, RECT{p.left, p.top, p.left + px(3), p.bottom}, COL_ACCENT);
    for (int k = 0; k < DPS_RESULTS; k++) {
        int t = p.top + px(14) + px(58) * k;
        tText(m, fSmall, W(T(dpsResLbl[k])), RECT{p.left + px(18), t, p.right - px(12), t + px(20)}, COL_GREY,
              DT_SINGLELINE | DT_END_ELLIPSIS);
        bool big = k == 1 || k == 2;
        std::u16string v = dpsResultText(dpsRes, k);
        tText(m, big ? fBig : fSection, W(v.c_str()), RECT{p.left + px(18), t + px(18), p.right - px(12), t + px(50)},
              big ? COL_ACCENT : COL_TEXT, line);
    }
}

LRESULT CALLBACK DpsProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: onCreate(h); return 0;
        case WM_PAINT: onPaint(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_COMMAND: {
            int id = LOWORD(wp);
            if (id >= ID_FIRST && id < ID_FIRST + DPS_FIELDS && HIWORD(wp) == EN_CHANGE) dpsCalc(h);
            else if (id == IDCANCEL) DestroyWindow(h);
            return 0;
        }
        case WM_CTLCOLOREDIT:
            SetBkColor((HDC)wp, COL_PANEL);
            SetTextColor((HDC)wp, COL_TEXT);
            return (LRESULT)brPanel;
        case WM_DESTROY: hDps = nullptr; return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

void dpsCalc(HWND h) {
    double in[DPS_FIELDS];
    for (int k = 0; k < DPS_FIELDS; k++) {
        wchar_t buf[40];
        buf[0] = 0;
        GetDlgItemTextW(h, ID_FIRST + k, buf, 40);
        in[k] = dpsParse(U(buf));
    }
    dpsRes = dpsCompute(in);
    RECT c;
    GetClientRect(h, &c);
    RECT p = panelRect(c.right);
    InvalidateRect(h, &p, FALSE);
}

void openDps() {
    if (!hDps) {
        hDps = mkWindowEx(L"ZenvoralDPS", DpsProc, W(T(236)), 700, 420, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                          nullptr);
        if (!hDps) return;
        ShowWindow(hDps, SW_SHOW);
        HWND first = GetDlgItem(hDps, ID_FIRST);
        SetFocus(first);
        SendMessageW(first, EM_SETSEL, 0, -1);
    }
    ShowWindow(hDps, SW_SHOW);
    SetForegroundWindow(hDps);
}

void openDpsWith(const DpsPrefill& p) {
    openDps();
    if (!hDps) return;
    for (int k = 0; k < DPS_FIELDS; k++)
        if (p.have[k]) SetDlgItemTextW(hDps, ID_FIRST + k, W(p.text[k].c_str()));  // each change recomputes
}

int dpsUseEntry(const char* body) {
    DpsPrefill p;
    if (!dpsFromEntry(body, &p)) return 0;
    // the weapon's own figures it does not state go back to the defaults, so none is left over
    // from a weapon used before; the player's bonuses stay as typed
    for (int k : {DPS_D, DPS_R, DPS_M, DPS_L, DPS_Q})
        if (!p.have[k]) {
            p.have[k] = 1;
            p.text[k] = dpsDef[k];
        }
    openDpsWith(p);
    return 1;
}
