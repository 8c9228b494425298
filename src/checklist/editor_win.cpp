#include "checklist/editor_win.h"

#include <commctrl.h>

#include <ctime>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"
#include "checklist/editor.h"
#include "checklist/persist.h"
#include "l10n/ui.h"
#include "widgets/widgets_win.h"

namespace {

enum { ID_LIST = 1100, ID_ADD, ID_DEL, ID_UP, ID_DOWN, ID_RESTORE, ID_CLOSE };

HWND hChkList;
int chkFilling;  // the list is being refilled: its change notices are ours
HFONT fBody;

int chkSel() {
    int row = (int)SendMessageW(hChkList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return -1;
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = row;
    if (!SendMessageW(hChkList, LVM_GETITEMW, 0, (LPARAM)&it)) return -1;
    return (int)it.lParam < NT ? (int)it.lParam : -1;
}

void chkFill(int select) {
    chkFilling = 1;
    SendMessageW(hChkList, LVM_DELETEALLITEMS, 0, 0);
    int r = 0, chosen = -1;
    for (int kind = 0; kind < 3; kind++)
        for (int p = 0; p < NT; p++) {
            int i = ord[p];
            if (tasks[i].kind != kind) continue;
            LVITEMW it{};
            it.mask = LVIF_TEXT | LVIF_PARAM;
            it.iItem = r;
            it.lParam = i;
            it.pszText = (wchar_t*)W(taskName(i));
            SendMessageW(hChkList, LVM_INSERTITEMW, 0, (LPARAM)&it);
            LVITEMW sub{};
            sub.iSubItem = 1;
            sub.pszText = (wchar_t*)W(T(26 + kind));
            SendMessageW(hChkList, LVM_SETITEMTEXTW, r, (LPARAM)&sub);
            LVITEMW st{};
            st.stateMask = LVIS_STATEIMAGEMASK;
            st.state = INDEXTOSTATEIMAGEMASK(tHidden[i] ? 1 : 2);
            SendMessageW(hChkList, LVM_SETITEMSTATE, r, (LPARAM)&st);
            if (i == select) chosen = r;
            r++;
        }
    if (chosen >= 0) {
        LVITEMW st{};
        st.stateMask = st.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hChkList, LVM_SETITEMSTATE, chosen, (LPARAM)&st);
        SendMessageW(hChkList, LVM_ENSUREVISIBLE, chosen, FALSE);
    }
    chkFilling = 0;
    InvalidateRect(GetDlgItem(hChk, ID_DEL), nullptr, FALSE);
}

// Saves the catalogue and its state and lets the overlay follow.
void chkApply() {
    long long now = (long long)time(nullptr);
    {
        StoreBatch batch(*gStore);  // the catalogue, ticks and today's history in one write
        // ticks remembered from earlier periods name tasks by index, which the editor may move
        prevDaily.clear();
        prevWeekly.clear();
        checklistSave(*gStore);
        saveState(*gStore);
        histWrite(now, *gStore);
    }
    if (hwnd) SendMessageW(hwnd, WM_ZV_RELAYOUT, 0, 0);
}

void chkAdd() {
    if (NT >= MAX_TASKS) return;
    wchar_t name[ASK_BUF] = L"";
    if (!darkAsk(hChk, W(T(208)), name, 1)) return;
    int i = chkAddAfter(chkSel(), U(name));
    if (i < 0) return;
    chkApply();
    chkFill(i);
}

void chkDelete() {
    int i = chkSel();
    if (i < BUILTIN_TASKS) return;
    char16_t q[256];
    fmtText(q, 256, T(209), {tCustom[i]});
    if (!darkAsk(hChk, W(q), nullptr, 1)) return;
    if (!chkDeleteTask(i)) return;
    chkApply();
    chkFill(-1);
}

void chkMove(int direction) {
    int i = chkSel();
    if (i < 0) return;
    chkMoveTask(i, direction);
    chkApply();
    chkFill(i);
}

void chkRestore() {
    if (!darkAsk(hChk, W(T(210)), nullptr, 1)) return;
    chkRestoreAll();
    chkApply();
    chkFill(-1);
}

HWND button(HWND parent, int id, int text) {
    HWND b = CreateWindowExW(0, L"BUTTON", W(T(text)), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 10, 10,
                             parent, (HMENU)(INT_PTR)id, hInst, nullptr);
    SendMessageW(b, WM_SETFONT, (WPARAM)fSection, FALSE);
    return b;
}

void makeControls(HWND h) {
    hChkList = CreateWindowExW(0, WC_LISTVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                   LVS_NOSORTHEADER,
                               0, 0, 10, 10, h, (HMENU)(INT_PTR)ID_LIST, hInst, nullptr);
    SendMessageW(hChkList, WM_SETFONT, (WPARAM)fBody, FALSE);
    SendMessageW(hChkList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SendMessageW(hChkList, LVM_SETBKCOLOR, 0, COL_BG);
    SendMessageW(hChkList, LVM_SETTEXTBKCOLOR, 0, COL_BG);
    SendMessageW(hChkList, LVM_SETTEXTCOLOR, 0, COL_TEXT);
    darkTheme(hChkList, L"DarkMode_Explorer");
    SetWindowSubclass(hChkList, GridProc, 1, 0);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = px(330);
    col.pszText = (wchar_t*)W(T(201));
    SendMessageW(hChkList, LVM_INSERTCOLUMNW, 0, (LPARAM)&col);
    col.cx = px(200);
    col.pszText = (wchar_t*)W(T(202));
    SendMessageW(hChkList, LVM_INSERTCOLUMNW, 1, (LPARAM)&col);
    button(h, ID_ADD, 203);
    button(h, ID_DEL, 204);
    button(h, ID_UP, 205);
    button(h, ID_DOWN, 206);
    button(h, ID_RESTORE, 207);
    button(h, ID_CLOSE, 191);
}

void onSize(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    int m = px(14), top = px(56);
    int lw = rc.right - 2 * m, lh = rc.bottom - top - px(64);
    MoveWindow(hChkList, m, top, lw, lh > 0 ? lh : 0, TRUE);
    SendMessageW(hChkList, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
    int gap = px(6), bh = px(34), y = rc.bottom - px(50);
    int w = (lw - px(110) - px(12) - 4 * gap) / 5;
    if (w > px(120)) w = px(120);
    for (int k = 0; k < 5; k++) MoveWindow(GetDlgItem(h, ID_ADD + k), m + k * (w + gap), y, w, bh, TRUE);
    MoveWindow(GetDlgItem(h, ID_CLOSE), m + lw - px(110), y, px(110), bh, TRUE);
    InvalidateRect(h, nullptr, TRUE);
}

void onPaint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    FillRect(dc, &rc, brBg);
    RECT band{px(14), px(10), rc.right - px(14), px(50)};
    HGDIOBJ old = SelectObject(dc, fSmall);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, COL_DIM);
    DrawTextW(dc, W(T(200)), -1, &band, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(h, &ps);
}

void onDrawItem(const DRAWITEMSTRUCT* dis) {
    DRAWITEMSTRUCT d = *dis;
    if (d.CtlID == ID_DEL && chkSel() < BUILTIN_TASKS) d.itemState |= ODS_DISABLED;
    drawButtonAs(&d, d.CtlID == ID_CLOSE ? BTN_AS_PRIMARY : BTN_AS_SECONDARY);
}

LRESULT onListNotify(const NMHDR* nm) {
    if (nm->code == LVN_ITEMCHANGED) {
        const NMLISTVIEW* lv = (const NMLISTVIEW*)nm;
        if (chkFilling) return 0;
        UINT img = lv->uNewState & LVIS_STATEIMAGEMASK;
        if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_STATEIMAGEMASK) && img) {
            int i = (int)lv->lParam;
            int ticked = (img >> 12) == 2;
            if (i >= 0 && i < NT && tHidden[i] == ticked) {
                tHidden[i] = !ticked;
                chkApply();
                InvalidateRect(hChkList, nullptr, FALSE);
            }
        }
        InvalidateRect(GetDlgItem(hChk, ID_DEL), nullptr, FALSE);
        return 0;
    }
    if (nm->code == NM_CUSTOMDRAW) {
        NMLVCUSTOMDRAW* cd = (NMLVCUSTOMDRAW*)nm;
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            int row = (int)cd->nmcd.dwItemSpec;
            bool sel = SendMessageW(hChkList, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
            cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            int i = (int)cd->nmcd.lItemlParam;
            if (sel) {
                cd->clrText = COL_ACCENT;
                cd->clrTextBk = COL_PANEL;
            } else {
                cd->clrTextBk = COL_BG;
                cd->clrText = (i >= 0 && i < NT && tHidden[i]) ? COL_DIM : COL_TEXT;
            }
            return CDRF_DODEFAULT;
        }
        return CDRF_DODEFAULT;
    }
    return 0;
}

LRESULT CALLBACK ChkProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            if (hChkList) onSize(h);
            return 0;
        case WM_PAINT: onPaint(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_DRAWITEM: onDrawItem((const DRAWITEMSTRUCT*)lp); return TRUE;
        case WM_NOTIFY:
            if (((const NMHDR*)lp)->idFrom == ID_LIST) return onListNotify((const NMHDR*)lp);
            break;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case ID_ADD: chkAdd(); return 0;
                case ID_DEL: chkDelete(); return 0;
                case ID_UP: chkMove(-1); return 0;
                case ID_DOWN: chkMove(+1); return 0;
                case ID_RESTORE: chkRestore(); return 0;
                case ID_CLOSE:
                case IDCANCEL: DestroyWindow(h); return 0;
            }
            break;
        case WM_CLOSE: DestroyWindow(h); return 0;
        case WM_DESTROY:
            hChk = nullptr;
            hChkList = nullptr;
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

void openChecklistEditor() {
    if (hChk) {
        ShowWindow(hChk, SW_SHOWNORMAL);
        SetForegroundWindow(hChk);
        return;
    }
    if (!fBody) fBody = uiFont(L"Segoe UI", 15, 400);
    hChk = mkWindowEx(L"ZenvoralChecklist", ChkProc, W(T(199)), 740, 560, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      nullptr);
    if (!hChk) return;
    makeControls(hChk);
    onSize(hChk);
    chkFill(-1);
    ShowWindow(hChk, SW_SHOWNORMAL);
    SetForegroundWindow(hChk);
    SetFocus(hChkList);
}
