#include "tools/settings_win.h"

#include <commctrl.h>

#include <cstdio>
#include <ctime>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/fonts_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "checklist/editor_win.h"
#include "datapack/install_win.h"
#include "datapack/refresh_win.h"
#include "l10n/keys.h"
#include "l10n/ui.h"
#include "overlay/overlay_win.h"
#include "tools/about_win.h"
#include "tools/backup_win.h"
#include "tools/dps_win.h"
#include "tools/feedback_win.h"
#include "tools/settings.h"
#include "tools/welcome_win.h"
#include "widgets/widgets_win.h"

namespace {

enum {
    ID_HEADING = 197, ID_HINT, ID_STATUS,
    ID_KEY_EXPAND = 200, ID_KEY_HIDE, ID_KEY_LIB, ID_KEY_QUIT,
    ID_RESET, ID_OPACITY, ID_OPACITY_TEXT, ID_GAME, ID_AUTOSTART, ID_ALWAYS,
    ID_CLEAR, ID_SAVE, ID_CANCEL, ID_LANG, ID_REMIND, ID_URL, ID_CHECK, ID_IMPORT, ID_DATASTAT, ID_SCALE,
    ID_EDITOR, ID_DPS, ID_EXPORT, ID_RESTORE, ID_WELCOME, ID_FEEDBACK, ID_ABOUT, ID_CAPTURE, ID_CAPTURE_STATUS,
};

HBRUSH foc;  // the focused key box

HWND ctl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
    HWND c = CreateWindowExW(0, cls, text, style | WS_CHILD | WS_VISIBLE, px(x), px(y), px(w), px(h), parent,
                             (HMENU)(INT_PTR)id, hInst, nullptr);
    SendMessageW(c, WM_SETFONT, (WPARAM)fUi, FALSE);
    return c;
}

HWND label(HWND parent, const wchar_t* text, int x, int y, int w, int h, int id = -1) {
    return ctl(parent, L"STATIC", text, SS_NOPREFIX, x, y, w, h, id);
}

HWND button(HWND parent, int text, int x, int y, int w, int h, int id) {
    return ctl(parent, L"BUTTON", W(T(text)), BS_OWNERDRAW | WS_TABSTOP, x, y, w, h, id);
}

// Drop-down lists are drawn by the window so they stay dark where the system theme is light.
HWND dropDown(HWND parent, int x, int y, int w, int h, int id) {
    HWND c = ctl(parent, L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
                 x, y, w, h, id);
    darkTheme(c, L"DarkMode_CFD");
    return c;
}

void addItem(HWND combo, const wchar_t* text) { SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)text); }

// Swallows every key but Tab and shows the combination pressed with the modifiers held.
LRESULT CALLBACK KeyBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
        case WM_GETDLGCODE:
            if (lp && ((const MSG*)lp)->wParam == VK_TAB) return DLGC_WANTCHARS;
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (wp == VK_TAB) break;
            if (keyIsModifier((unsigned)wp)) return 0;
            unsigned m = curMods();
            SetWindowLongPtrW(h, GWLP_USERDATA, (LONG_PTR)keyPack(m, (unsigned)wp));
            char16_t text[KEY_TEXT];
            SetWindowTextW(h, W(keyToStr(m, (unsigned)wp, text)));
            return 0;
        }
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYUP:
        case WM_SYSCHAR: return 0;
        case WM_SETFOCUS: {
            LRESULT r = DefSubclassProc(h, msg, wp, lp);
            HideCaret(h);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
        case WM_KILLFOCUS: {
            LRESULT r = DefSubclassProc(h, msg, wp, lp);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
    }
    return DefSubclassProc(h, msg, wp, lp);
}

void keyBox(HWND parent, int y, int id, unsigned mods, unsigned vk) {
    char16_t text[KEY_TEXT];
    HWND b = ctl(parent, L"EDIT", W(keyToStr(mods, vk, text)), ES_CENTER | ES_READONLY | WS_BORDER | WS_TABSTOP, 224, y,
                 200, 24, id);
    SetWindowLongPtrW(b, GWLP_USERDATA, (LONG_PTR)keyPack(mods, vk));
    SetWindowSubclass(b, KeyBoxProc, 1, 0);
}

void toggle(HWND parent, int text, int y, int id, int on) {
    HWND t = button(parent, text, 16, y, 408, 22, id);
    SetWindowLongPtrW(t, GWLP_USERDATA, on);
}

int toggleOn(int id) { return (int)GetWindowLongPtrW(GetDlgItem(hSet, id), GWLP_USERDATA); }

void gameStatus() {
    wchar_t exe[MAX_PATH] = L"", text[400];
    if (hwnd && SendMessageW(hwnd, WM_ZV_GAME, 0, (LPARAM)exe)) swprintf(text, 400, W(T(48)), exe);
    else lstrcpynW(text, W(T(49)), 400);
    SetDlgItemTextW(hSet, ID_STATUS, text);
}

// The capture toggle is on only where Windows can do it: tried on this window first, and
// when the system refuses the toggle stays off and the status line says why.
void setCapture(int on) {
    int ok = !on || captureExclude(hSet, 1);
    if (on) captureExclude(hSet, 0);
    if (!ok) logLine(L"Capturas: Windows no deja ocultar la ventana (error %lu)", (unsigned long)GetLastError());
    HWND t = GetDlgItem(hSet, ID_CAPTURE);
    SetWindowLongPtrW(t, GWLP_USERDATA, on && ok);
    InvalidateRect(t, nullptr, FALSE);
    SetDlgItemTextW(hSet, ID_CAPTURE_STATUS, ok ? L"" : W(T(274)));
}

void opacityText(int p) {
    wchar_t t[16];
    swprintf(t, 16, L"%d %%", p);
    SetDlgItemTextW(hSet, ID_OPACITY_TEXT, t);
}

void makeControls(HWND h) {
    wchar_t buf[64];
    // left column
    label(h, lang == 0 ? W(T(38)) : L"Idioma \u00B7 Language", 16, 19, 200, 20);
    HWND c = dropDown(h, 224, 16, 200, 400, ID_LANG);
    for (int i = 0; i < LANG_COUNT; i++) addItem(c, W(LANG_NAME[i]));
    SendMessageW(c, CB_SETCURSEL, lang, 0);
    label(h, W(T(41)), 16, 59, 200, 20);
    keyBox(h, 56, ID_KEY_EXPAND, keyEditMods, keyEditVk);
    label(h, W(T(42)), 16, 93, 200, 20);
    keyBox(h, 90, ID_KEY_HIDE, keyHideMods, keyHideVk);
    label(h, W(T(43)), 16, 127, 200, 20);
    keyBox(h, 124, ID_KEY_LIB, keyLibMods, keyLibVk);
    label(h, W(T(194)), 16, 161, 200, 20);
    keyBox(h, 158, ID_KEY_QUIT, keyQuitMods, keyQuitVk);
    label(h, W(T(44)), 16, 186, 408, 18, ID_HINT);
    label(h, W(T(45)), 16, 217, 200, 20);
    c = dropDown(h, 224, 214, 200, 300, ID_RESET);
    for (int row = 0; row < RESET_ROWS; row++) addItem(c, W(resetRowText(row).c_str()));
    SendMessageW(c, CB_SETCURSEL, resetRowOf(resetHour, resetUtc), 0);
    label(h, W(T(46)), 16, 251, 200, 20);
    c = ctl(h, TRACKBAR_CLASSW, L"", TBS_NOTICKS | WS_TABSTOP, 220, 248, 156, 26, ID_OPACITY);
    SendMessageW(c, TBM_SETRANGE, TRUE, MAKELPARAM(25, 100));
    SendMessageW(c, TBM_SETPOS, TRUE, opacityToSlider(opacity));
    label(h, L"", 380, 251, 44, 20, ID_OPACITY_TEXT);
    opacityText(opacityToSlider(opacity));
    label(h, W(T(129)), 16, 285, 200, 20);
    c = dropDown(h, 224, 282, 130, 300, ID_REMIND);
    for (int m : REMIND_CHOICES) {
        if (m == 0) lstrcpynW(buf, W(T(130)), 64);
        else if (m < 60) swprintf(buf, 64, L"%d min", m);
        else swprintf(buf, 64, L"%d h", m / 60);
        addItem(c, buf);
    }
    SendMessageW(c, CB_SETCURSEL, remindRowOf(remindMin), 0);
    label(h, W(T(47)), 16, 319, 200, 20);
    c = ctl(h, L"EDIT", W(gameExe.c_str()), WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 224, 316, 200, 24, ID_GAME);
    SendMessageW(c, EM_LIMITTEXT, 259, 0);
    darkTheme(c, L"DarkMode_CFD");
    label(h, L"", 16, 344, 408, 20, ID_STATUS);
    gameStatus();
    label(h, W(T(56)), 16, 368, 408, 36, ID_HINT);
    toggle(h, 50, 412, ID_AUTOSTART, autostartOn());
    toggle(h, 51, 440, ID_ALWAYS, forceShow);
    toggle(h, 273, 468, ID_CAPTURE, 0);
    label(h, L"", 16, 494, 408, 34, ID_CAPTURE_STATUS);
    if (hideCapture) setCapture(1);
    button(h, 35, 16, 578, 160, 30, ID_CLEAR);
    button(h, 52, 468, 578, 96, 30, ID_CANCEL);
    button(h, 53, 568, 578, 96, 30, ID_SAVE);

    // right column: tools, then news and data
    label(h, W(T(252)), 448, 16, 216, 18, ID_HEADING);
    label(h, W(T(230)), 448, 42, 216, 20);
    c = dropDown(h, 448, 64, 216, 300, ID_SCALE);
    for (int s : SCALE_CHOICES) {
        swprintf(buf, 64, L"%d %%", s);
        addItem(c, buf);
    }
    SendMessageW(c, CB_SETCURSEL, scaleRowOf(uiScale), 0);
    button(h, 199, 448, 104, 216, 30, ID_EDITOR);
    button(h, 236, 448, 140, 216, 30, ID_DPS);
    button(h, 231, 448, 186, 216, 30, ID_EXPORT);
    button(h, 232, 448, 222, 216, 30, ID_RESTORE);
    button(h, 222, 448, 268, 216, 30, ID_WELCOME);
    button(h, 228, 448, 304, 216, 30, ID_FEEDBACK);
    button(h, 223, 448, 340, 216, 30, ID_ABOUT);
    label(h, W(T(137)), 448, 388, 216, 18, ID_HEADING);
    label(h, W(T(131)), 448, 410, 216, 18);
    c = ctl(h, L"EDIT", dataUrl, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 448, 430, 216, 24, ID_URL);
    SendMessageW(c, EM_LIMITTEXT, 1023, 0);
    darkTheme(c, L"DarkMode_CFD");
    label(h, L"", 448, 458, 216, 34, ID_DATASTAT);
    button(h, 132, 448, 496, 216, 30, ID_CHECK);
    button(h, 133, 448, 532, 216, 30, ID_IMPORT);
}

int comboRow(int id) { return (int)SendDlgItemMessageW(hSet, id, CB_GETCURSEL, 0, 0); }

std::u16string editText(int id, int cap) {
    wchar_t buf[1024];
    GetDlgItemTextW(hSet, id, buf, cap < 1024 ? cap : 1024);
    return std::u16string(U(buf));
}

void save() {
    SettingsForm f;
    for (int a = 0; a < KEY_ACTIONS; a++)
        f.keys[a] = (unsigned)GetWindowLongPtrW(GetDlgItem(hSet, ID_KEY_EXPAND + a), GWLP_USERDATA);
    f.resetRow = comboRow(ID_RESET);
    f.slider = (int)SendDlgItemMessageW(hSet, ID_OPACITY, TBM_GETPOS, 0, 0);
    f.game = editText(ID_GAME, 260);
    f.remindRow = comboRow(ID_REMIND);
    f.dataUrl = editText(ID_URL, 1024);
    f.scaleRow = comboRow(ID_SCALE);
    f.hideCapture = toggleOn(ID_CAPTURE);
    SettingsSaved r = settingsSave(f, (long long)time(nullptr), uiScale, *gStore);
    if (!r.ok) {
        MessageBoxW(hSet, W(T(54)), W(T(55)), MB_ICONWARNING);
        return;
    }
    lstrcpynW(dataUrl, W(f.dataUrl.c_str()), 1024);
    setAutostart(toggleOn(ID_AUTOSTART));
    forceShow = toggleOn(ID_ALWAYS);
    int newLang = comboRow(ID_LANG);
    if (hwnd) SendMessageW(hwnd, WM_ZV_SETTINGS, 0, 0);
    DestroyWindow(hSet);
    if (hwnd && newLang >= 0 && newLang != lang) SendMessageW(hwnd, WM_ZV_LANGUAGE, newLang, 0);
    if (hwnd && r.restart) PostMessageW(hwnd, WM_ZV_RESTART, 0, 0);
}

void onCommand(HWND h, int id) {
    switch (id) {
        case ID_AUTOSTART:
        case ID_ALWAYS: {
            HWND t = GetDlgItem(h, id);
            SetWindowLongPtrW(t, GWLP_USERDATA, !GetWindowLongPtrW(t, GWLP_USERDATA));
            InvalidateRect(t, nullptr, FALSE);
            break;
        }
        case ID_CAPTURE: setCapture(!toggleOn(ID_CAPTURE)); break;
        case ID_CLEAR:
            if (hwnd) SendMessageW(hwnd, WM_COMMAND, 103, 0);  // as the tray's "Desmarcar todo"
            break;
        case ID_SAVE:
        case IDOK: save(); break;
        case ID_CANCEL:
        case IDCANCEL: DestroyWindow(h); break;
        case ID_CHECK: {
            std::u16string url = editText(ID_URL, 1024);
            lstrcpynW(dataUrl, W(url.c_str()), 1024);
            gStore->put("ajustes", "URLDatos", url);
            pkCheck(1);
            break;
        }
        case ID_IMPORT: pkImportDialog(h); break;
        case ID_EDITOR: openChecklistEditor(); break;
        case ID_EXPORT: backupExport(h); break;
        case ID_RESTORE: backupImport(h); break;
        case ID_DPS: openDps(); break;
        case ID_FEEDBACK: openFeedback(); break;
        case ID_ABOUT: openAbout(); break;
        case ID_WELCOME: openWelcome(); break;
    }
}

void drawCombo(const DRAWITEMSTRUCT* d) {
    bool face = d->itemState & ODS_COMBOBOXEDIT;
    bool sel = (d->itemState & ODS_SELECTED) && !face;
    HBRUSH b = CreateSolidBrush(sel ? COL_BORDER : COL_PANEL);
    FillRect(d->hDC, &d->rcItem, b);
    DeleteObject(b);
    if (d->itemID != (UINT)-1) {
        wchar_t text[128] = L"";
        if (SendMessageW(d->hwndItem, CB_GETLBTEXTLEN, d->itemID, 0) < 128)
            SendMessageW(d->hwndItem, CB_GETLBTEXT, d->itemID, (LPARAM)text);
        RECT r = d->rcItem;
        r.left += px(6);
        HGDIOBJ old = SelectObject(d->hDC, fUi);
        SetBkMode(d->hDC, TRANSPARENT);
        SetTextColor(d->hDC, sel ? COL_ACCENT : COL_TEXT);
        DrawTextW(d->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(d->hDC, old);
    }
    if (face && (d->itemState & ODS_FOCUS) && !(d->itemState & ODS_NOFOCUSRECT)) DrawFocusRect(d->hDC, &d->rcItem);
}

LRESULT onColorStatic(HDC dc, HWND c) {
    int id = GetDlgCtrlID(c);
    if (id >= ID_KEY_EXPAND && id <= ID_KEY_QUIT) {
        bool f = GetFocus() == c;
        SetTextColor(dc, f ? COL_ACCENT : COL_TEXT);
        SetBkColor(dc, f ? COL_KEYFOCUS : COL_PANEL);
        return (LRESULT)(f ? foc : brPanel);
    }
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, COL_BG);
    COLORREF t = COL_TEXT;
    if (id == ID_HEADING) t = COL_ACCENT;
    else if (id == ID_HINT || id == ID_STATUS || id == ID_DATASTAT) t = COL_DIM;
    else if (id == ID_CAPTURE_STATUS) t = COL_WARN;
    SetTextColor(dc, t);
    return (LRESULT)brBg;
}

LRESULT CALLBACK SetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CTLCOLORSTATIC: return onColorStatic((HDC)wp, (HWND)lp);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            SetTextColor((HDC)wp, COL_TEXT);
            SetBkColor((HDC)wp, COL_PANEL);
            return (LRESULT)brPanel;
        case WM_MEASUREITEM: {
            MEASUREITEMSTRUCT* m = (MEASUREITEMSTRUCT*)lp;
            if (m->CtlType == ODT_COMBOBOX) m->itemHeight = px(20);
            return TRUE;
        }
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* d = (const DRAWITEMSTRUCT*)lp;
            if (d->CtlType == ODT_COMBOBOX) drawCombo(d);
            else if (d->CtlID == ID_AUTOSTART || d->CtlID == ID_ALWAYS || d->CtlID == ID_CAPTURE)
                drawCheck(d, GetWindowLongPtrW(d->hwndItem, GWLP_USERDATA) != 0, 0, fUi, false);
            else drawButtonAs(d, d->CtlID == ID_SAVE ? BTN_AS_PRIMARY : BTN_AS_SECONDARY);
            return TRUE;
        }
        case WM_HSCROLL:
            if ((HWND)lp == GetDlgItem(h, ID_OPACITY)) opacityText((int)SendMessageW((HWND)lp, TBM_GETPOS, 0, 0));
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED) onCommand(h, LOWORD(wp));
            return 0;
        case WM_CLOSE: DestroyWindow(h); return 0;
        case WM_DESTROY:
            hSet = nullptr;
            if (hwnd) {
                SendMessageW(hwnd, WM_ZV_KEYS, 1, 0);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

void openSettings() {
    if (hSet) {
        ShowWindow(hSet, SW_SHOWNORMAL);
        SetForegroundWindow(hSet);
        return;
    }
    widgetsInit();
    if (!foc) foc = CreateSolidBrush(COL_KEYFOCUS);
    if (!fUi) makeFonts();
    wchar_t title[128];
    swprintf(title, 128, L"%ls \u00B7 %ls", W(T(40)), W(ZV_VERSION));
    if (hwnd) SendMessageW(hwnd, WM_ZV_KEYS, 0, 0);  // the key boxes capture every key
    hSet = mkWindowEx(L"ZenvoralAjustes", SetProc, title, 680, 624, WS_CAPTION | WS_SYSMENU, brBg);
    if (!hSet) {
        if (hwnd) SendMessageW(hwnd, WM_ZV_KEYS, 1, 0);
        return;
    }
    makeControls(hSet);
    updDataStat();
    ShowWindow(hSet, SW_SHOWNORMAL);
    SetForegroundWindow(hSet);
    SetFocus(GetDlgItem(hSet, ID_SAVE));
}
