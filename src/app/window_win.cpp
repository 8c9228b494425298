// The overlay window: its size and style, painting, clicks, the tray icon with its menu and
// commands, timers and the language switch. Start-up (main_win.cpp) creates it hidden.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "app/app_win.h"
#include "app/endpoints.h"
#include "app/msgs_win.h"
#include "app/state.h"
#include "checklist/catalogue.h"
#include "l10n/ui.h"

RECT gearRect, bookRect, compRect, embRect;
int winW, winH;

namespace {
RECT scaled(int l, int t, int r, int b) { return RECT{px(l), px(t), px(r), px(b)}; }
}  // namespace

void headerRects() {
    gearRect = scaled(262, 5, 288, 29);
    bookRect = scaled(234, 5, 260, 29);
    compRect = scaled(206, 5, 232, 29);
    embRect = scaled(6, 6, 46, 46);
}

int layout() {
    int h = 52;
    for (int kind = 0; kind < 3; kind++) {
        int rows = 0;
        for (int k = 0; k < NT; k++)
            if (!tHidden[ord[k]] && tasks[ord[k]].kind == kind) rows++;
        if (rows) h += 26 + rows * 26;
    }
    return h + 12;
}

void applyStyle() {
    if (!hwnd) return;
    LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
    ex = editMode ? (ex & ~WS_EX_TRANSPARENT) : (ex | WS_EX_TRANSPARENT);
    SetWindowLongW(hwnd, GWL_EXSTYLE, ex);
    int a = opacity + (editMode ? 0 : 30);
    SetLayeredWindowAttributes(hwnd, 0, BYTE(a > 255 ? 255 : a), LWA_ALPHA);
    int w = editMode ? winW : px(52), h = editMode ? winH : px(52);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, w, h, SWP_NOMOVE | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Shows the overlay while forced to; detection of the game joins this rule later.
void updateVisibility() {
    if (!hwnd) return;
    bool show = forceShow && !userHidden;
    if (show && !IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    if (!show && IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_HIDE);
}

void relayout() {
    winH = px(layout());
    applyStyle();
}

namespace {

// A plain dark panel: emblem disc, title and the visible tasks with their marks.
void paint(HDC dc, int w, int h) {
    HBRUSH bg = CreateSolidBrush(RGB(13, 15, 17));
    RECT all{0, 0, w, h};
    FillRect(dc, &all, bg);
    DeleteObject(bg);
    HBRUSH orange = CreateSolidBrush(RGB(255, 109, 16));
    HPEN ring = CreatePen(PS_SOLID, px(3), RGB(255, 109, 16));
    HGDIOBJ oldPen = SelectObject(dc, ring);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Ellipse(dc, px(8), px(8), px(44), px(44));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(ring);
    if (!editMode) {
        DeleteObject(orange);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    HFONT title = CreateFontW(-px(17), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Segoe UI");
    HFONT body = CreateFontW(-px(13), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Segoe UI");
    HFONT small = CreateFontW(-px(11), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Segoe UI");
    HGDIOBJ oldFont = SelectObject(dc, title);
    SetTextColor(dc, RGB(235, 237, 240));
    TextOutW(dc, px(54), px(15), L"ZENVORAL", 8);
    int y = 52;
    for (int kind = 0; kind < 3; kind++) {
        bool any = false;
        for (int k = 0; k < NT; k++) {
            int i = ord[k];
            if (tHidden[i] || tasks[i].kind != kind) continue;
            if (!any) {
                SelectObject(dc, small);
                SetTextColor(dc, RGB(255, 109, 16));
                const wchar_t* head = W(T(26 + kind));
                TextOutW(dc, px(14), px(y + 8), head, (int)wcslen(head));
                y += 26;
                any = true;
            }
            RECT box = scaled(14, y + 5, 30, y + 21);
            if (checked[i]) FillRect(dc, &box, orange);
            else FrameRect(dc, &box, orange);
            SelectObject(dc, body);
            SetTextColor(dc, checked[i] ? RGB(120, 125, 133) : RGB(235, 237, 240));
            const wchar_t* name = W(taskName(i));
            TextOutW(dc, px(38), px(y + 5), name, (int)wcslen(name));
            y += 26;
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(title);
    DeleteObject(body);
    DeleteObject(small);
    DeleteObject(orange);
}

}  // namespace

HICON trayIcon() {
    int n = GetSystemMetrics(SM_CXSMICON);
    HICON ic = (HICON)LoadImageW(hInst, MAKEINTRESOURCEW(1), IMAGE_ICON, n, GetSystemMetrics(SM_CYSMICON), 0);
    if (ic) return ic;
    // drawn fallback: an orange square with a dark centre
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP color = CreateCompatibleBitmap(screen, n, n);
    HBITMAP mask = CreateBitmap(n, n, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    HBRUSH o = CreateSolidBrush(RGB(255, 109, 16)), d = CreateSolidBrush(RGB(13, 15, 17));
    RECT all{0, 0, n, n}, mid{n / 4, n / 4, n - n / 4, n - n / 4};
    FillRect(dc, &all, o);
    FillRect(dc, &mid, d);
    SelectObject(dc, mask);
    PatBlt(dc, 0, 0, n, n, BLACKNESS);
    SelectObject(dc, old);
    ICONINFO ii{TRUE, 0, 0, mask, color};
    ic = CreateIconIndirect(&ii);
    DeleteObject(o);
    DeleteObject(d);
    DeleteObject(color);
    DeleteObject(mask);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ic;
}

namespace {

void setTip() {
    nid.uFlags = NIF_TIP;
    lstrcpynW(nid.szTip, W(T(58)), 128);
    nid.szTip[127] = 0;
    Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void showMenu() {
    HMENU m = CreatePopupMenu();
    wchar_t buf[256];
    AppendMenuW(m, MF_STRING | (forceShow ? MF_CHECKED : 0), 100, W(T(33)));
    swprintf(buf, 256, W(T(34)), keyEditStr);
    AppendMenuW(m, MF_STRING | (editMode ? MF_CHECKED : 0), 101, buf);
    AppendMenuW(m, MF_STRING, 103, W(T(35)));
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    HMENU langs = CreatePopupMenu();
    for (int i = 0; i < LANG_COUNT; i++)
        AppendMenuW(langs, MF_STRING | (i == lang ? MF_CHECKED : 0), 700 + i, W(LANG_NAME[i]));
    swprintf(buf, 256, lang == 1 ? L"%ls" : L"%ls · Language", W(T(38)));
    AppendMenuW(m, MF_POPUP, (UINT_PTR)langs, buf);
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m, MF_STRING, 118, W(T(228)));
    AppendMenuW(m, MF_STRING, 120, L"Discord");
    swprintf(buf, 256, L"%ls\t%ls", W(T(39)), keyQuitStr);
    AppendMenuW(m, MF_STRING, 105, buf);
    POINT pt;
    GetCursorPos(&pt);
    SetForegroundWindow(hwnd);
    TrackPopupMenu(m, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd, nullptr);
    DestroyMenu(m);
}

void onCommand(int id) {
    switch (id) {
        case 100:
            userHidden = 0;
            forceShow = !forceShow;
            updateVisibility();
            break;
        case 101:
            editMode = !editMode;
            if (editMode) userHidden = 0;
            applyStyle();
            updateVisibility();
            break;
        case 103:
            for (int i = 0; i < MAX_TASKS; i++) checked[i] = 0;
            saveState(*gStore);
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case 105: DestroyWindow(hwnd); break;
        case 118: openFeedback(); break;
        case 120: openUrl(W(EP_CHAT)); break;
        default:
            if (id >= 700 && id < 700 + LANG_COUNT) applyLanguage(id - 700);
    }
}

void onPaint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    paint(mem, rc.right, rc.bottom);
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(h, &ps);
}

void onTray(LPARAM lp) {
    switch (LOWORD(lp)) {
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: showMenu(); break;
        case WM_LBUTTONUP:
            userHidden = 0;
            forceShow = !forceShow;
            if (forceShow) editMode = 1;
            applyStyle();
            updateVisibility();
            break;
    }
}

}  // namespace

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: onPaint(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_ZV_TRAY: onTray(lp); return 0;
        case WM_COMMAND: onCommand(LOWORD(wp)); return 0;
        case WM_TIMER:
            if (wp == TIMER_CHECKS) SetTimer(h, TIMER_CHECKS, 600000, nullptr);
            else updateVisibility();
            return 0;
        case WM_DESTROY:
            Shell_NotifyIconW(NIM_DELETE, &nid);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

void applyLanguage(int index) {
    if (index < 0 || index >= LANG_COUNT) return;
    uiSetLang(index);
    gStore->put("ajustes", "Idioma", u16of(LANG_CODE[index]));
    keysRender();
    setTip();
    relayout();
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

