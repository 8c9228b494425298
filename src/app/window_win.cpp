// The overlay window: hover, clicks and dragging, the two timers, hotkeys, the tray icon with
// its menu and commands, and the language switch. Start-up (main_win.cpp) creates it hidden;
// its geometry and painting live in overlay/.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <ctime>
#include <cwchar>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "app/checks_win.h"
#include "app/hotkeys_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "base/store_win.h"
#include "app/window_win.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"
#include "checklist/editor_win.h"
#include "datapack/install_win.h"
#include "datapack/news.h"
#include "datapack/refresh_win.h"
#include "library/live_win.h"
#include "update/check_win.h"
#include "l10n/ui.h"
#include "checklist/persist.h"
#include "l10n/keys.h"
#include "tools/settings_win.h"
#include "library/libwin_win.h"
#include "app/shell_win.h"
#include "tools/about_win.h"
#include "tools/dps_win.h"
#include "tools/feedback_win.h"

int hoverEmb;

namespace {

int pressing;
POINT downPt;
long long lastMin = -1;  // minute of the last per-minute repaint

long long now() { return (long long)time(nullptr); }

bool in(const RECT& r, POINT p) { return r.right > r.left && PtInRect(&r, p); }

void repaint() { InvalidateRect(hwnd, nullptr, FALSE); }

POINT clientPt(LPARAM lp) { return POINT{(short)LOWORD(lp), (short)HIWORD(lp)}; }

void collapse() {
    editMode = 0;
    applyStyle();
}

int taskAt(POINT p) {
    for (int i = 0; i < NT; i++)
        if (in(itemRect[i], p)) return i;
    return -1;
}

int newsAt(POINT p) {
    for (int i = 0; i < nNews && i < NEWS_MAX; i++)
        if (in(newsRect[i], p)) return i;
    return -1;
}

void setTip() {
    nid.uFlags = NIF_TIP;
    wcopy(nid.szTip, W(T(58)), 128);
    nid.szTip[127] = 0;
    Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void toggleTask(int i) {
    StoreBatch batch(*gStore);  // flags, history, streak and notice stamp: one write
    checked[i] = !checked[i];
    saveState(*gStore);
    long long t = now();
    histWrite(t, *gStore);
    histRefresh(t, *gStore);
    Notice n;
    if (streakNotice(i, *gStore, &n)) balloon(W(n.title), W(n.text), 0);
    if (rowsCompact) {  // compact rows: the row of a task done goes away
        newsRefresh(t);
        relayout();
    }
    repaint();
}

void clearAll() {
    StoreBatch batch(*gStore);
    for (int i = 0; i < MAX_TASKS; i++) checked[i] = 0;
    saveState(*gStore);
    long long t = now();
    histWrite(t, *gStore);
    histRefresh(t, *gStore);
    if (rowsCompact) relayout();
    repaint();
}

// Hotkey 2 and menu 101.
void toggleExpanded() {
    editMode = !editMode;
    if (editMode) userHidden = 0;
    applyStyle();
    updateVisibility();
}

void showMenu() {
    HMENU m = CreatePopupMenu();
    wchar_t buf[256];
    if (updAvailable) {
        swprintf(buf, 128, W(T(160)), updVer);
        AppendMenuW(m, MF_STRING, 111, buf);
        SetMenuDefaultItem(m, 111, FALSE);
        AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    }
    AppendMenuW(m, MF_STRING | (forceShow ? MF_CHECKED : 0), 100, W(T(33)));
    swprintf(buf, 256, W(T(34)), W(keyEditStr));
    AppendMenuW(m, MF_STRING | (editMode ? MF_CHECKED : 0), 101, buf);
    AppendMenuW(m, MF_STRING | (compact ? MF_CHECKED : 0), 112, W(T(165)));
    AppendMenuW(m, MF_STRING, 113, W(T(199)));
    AppendMenuW(m, MF_STRING, 103, W(T(35)));
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    swprintf(buf, 256, W(T(36)), W(keyLibStr));
    AppendMenuW(m, MF_STRING, 106, buf);
    AppendMenuW(m, MF_STRING, 107, W(T(128)));
    AppendMenuW(m, MF_STRING, 108, W(T(126)));
    AppendMenuW(m, MF_STRING, 109, W(T(127)));
    AppendMenuW(m, MF_STRING, 110, W(T(159)));
    AppendMenuW(m, MF_STRING, 119, W(T(236)));
    AppendMenuW(m, MF_STRING, 104, W(T(37)));
    HMENU langs = CreatePopupMenu();
    for (int i = 0; i < LANG_COUNT; i++)
        AppendMenuW(langs, MF_STRING | (i == lang ? MF_CHECKED : 0), 700 + i, W(LANG_NAME[i]));
    swprintf(buf, 256, lang == 1 ? L"%ls" : L"%ls \u00B7 Language", W(T(38)));
    AppendMenuW(m, MF_POPUP, (UINT_PTR)langs, buf);
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m, MF_STRING, 118, W(T(228)));
    AppendMenuW(m, MF_STRING, 120, L"Discord");
    AppendMenuW(m, MF_STRING, 114, W(T(223)));
    swprintf(buf, 256, L"%ls\t%ls", W(T(39)), W(keyQuitStr));
    AppendMenuW(m, MF_STRING, 105, buf);
    POINT pt;
    GetCursorPos(&pt);
    SetForegroundWindow(hwnd);
    TrackPopupMenu(m, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd, nullptr);
    DestroyMenu(m);
}

// ---- message handlers ----------------------------------------------------------------------

void onPaint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HDC mem = CreateCompatibleDC(dc);
    // a 32-bit bitmap: GDI+ smooths its edges on every system, Wine included
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), curW, -curH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) bmp = CreateCompatibleBitmap(dc, curW, curH);
    HGDIOBJ old = SelectObject(mem, bmp);
    paint(mem);
    BitBlt(dc, 0, 0, curW, curH, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(h, &ps);
}

void onLButtonDown(HWND h, LPARAM lp) {
    pressing = 1;
    downPt = clientPt(lp);
    SetCapture(h);
}

// Hands the press over to the system's move loop, from the point where the button went down,
// so the window keeps the offset under the pointer.
void startDrag(HWND h) {
    pressing = 0;
    ReleaseCapture();
    POINT s = downPt;
    ClientToScreen(h, &s);
    SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(s.x, s.y));
}

void onMouseMove(HWND h, LPARAM lp) {
    POINT p = clientPt(lp);
    int hov = in(embRect, p);
    if (hov != hoverEmb) {
        hoverEmb = hov;
        repaint();
        if (hov) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, h, 0};
            TrackMouseEvent(&tme);
        }
    }
    if (!pressing) return;
    int t = px(4);
    if (abs(p.x - downPt.x) <= t && abs(p.y - downPt.y) <= t) return;
    if (!editMode) {
        startDrag(h);
        return;
    }
    if (downPt.y < 52 * sc + 0.5 && !in(gearRect, downPt) && !in(bookRect, downPt) && !in(compRect, downPt)) {
        startDrag(h);
        return;
    }
    pressing = 0;  // a slide over the rows is no click
    ReleaseCapture();
}

void onMouseLeave() {
    if (!hoverEmb) return;
    hoverEmb = 0;
    repaint();
}

void onExitSizeMove(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    posX = r.left;
    posY = r.top;
    saveState(*gStore);
}

void onLButtonUp(LPARAM lp) {
    if (!pressing) return;
    pressing = 0;
    ReleaseCapture();
    POINT p = clientPt(lp);
    if (!editMode) {
        editMode = 1;
        userHidden = 0;
        applyStyle();
        updateVisibility();
        return;
    }
    if (in(embRect, p)) {
        collapse();
        updateVisibility();
        return;
    }
    if (in(gearRect, p)) {
        openSettings();
        return;
    }
    if (in(bookRect, p)) {
        toggleLibrary();
        return;
    }
    if (in(compRect, p)) {
        setCompact(!compact);
        return;
    }
    if (in(updRectO, p)) {
        updOffer();
        return;
    }
    if (int n = newsAt(p); n >= 0) {
        libOpenPack(newsBlk[n]);
        return;
    }
    int i = taskAt(p);
    if (i >= 0) toggleTask(i);
}

BOOL onSetCursor(HWND h) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(h, &p);
    bool hand = in(embRect, p);
    if (editMode && !hand)
        hand = in(gearRect, p) || in(bookRect, p) || in(compRect, p) || in(updRectO, p) || taskAt(p) >= 0 ||
               newsAt(p) >= 0;
    SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
    return TRUE;
}

void onHotkey(int id) {
    switch (id) {
        case 1:
            userHidden = !userHidden;
            if (userHidden && editMode) collapse();
            updateVisibility();
            break;
        case 2: toggleExpanded(); break;
        case 3: toggleLibrary(); break;
        case 4: DestroyWindow(hwnd); break;
    }
}

void onTick() {
    long long t = now();
    static int ticks;
    if (++ticks >= 3) libWarmUp();  // from a few seconds after start (and after a reset) F9 finds it ready
    if (checkResets(t, *gStore)) relayout();
    int news = newsTick(t);
    if (news == 2) {
        newsRefresh(t);
        relayout();
    } else if (news == 1) {
        repaint();
    }
    // the header's reset countdown moves by the minute too
    long long minute = t / 60;
    if (minute != lastMin) {
        lastMin = minute;
        if (editMode && IsWindowVisible(hwnd)) repaint();
    }
    Notice n;
    if (remindCheck(t, *gStore, &n)) balloon(W(n.title), W(n.text), 0);
    updateVisibility();
    if (gProfile && gProfile->pending()) gProfile->retry();  // a save that failed: once more
    storeTell();
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
        case NIN_BALLOONUSERCLICK:
            // balloonKind 1 offers the update, 2 opens the library's news
            if (balloonKind == 1) updOffer();
            if (balloonKind == 2) libOpenPack(-1);
            break;
    }
}

void onCommand(int id) {
    switch (id) {
        case 100:
            userHidden = 0;
            forceShow = !forceShow;
            updateVisibility();
            break;
        case 101: toggleExpanded(); break;
        case 103: clearAll(); break;
        case 104: openSettings(); break;
        case 105: DestroyWindow(hwnd); break;
        case 106: toggleLibrary(); break;
        case 107: libOpenPack(-1); break;
        case 108: pkCheck(1); break;
        case 109: pkImportDialog(nullptr); break;
        case 110: updCheck(1); break;
        case 111: updOffer(); break;
        case 112: setCompact(!compact); break;
        case 113: openChecklistEditor(); break;
        case 114: openAbout(); break;
        case 118: openFeedback(); break;
        case 119: openDps(); break;
        case 120: openUrl(W(EP_CHAT)); break;
        default:
            if (id >= 700 && id < 700 + LANG_COUNT) applyLanguage(id - 700);
    }
}

void onDestroy() {
    if (gProfile && gProfile->pending()) gProfile->retry();
    storeTell();
    Shell_NotifyIconW(NIM_DELETE, &nid);
    if (kbHook) unregisterKeys();
    PostQuitMessage(0);
}

}  // namespace

// The overlay follows the game, the tray toggles and the hide key.
void updateVisibility() { visUpdate(); }

void applyCapture() {
    static int applied;  // the state asked of Windows last
    if (!hwnd || hideCapture == applied) return;
    if (captureExclude(hwnd, hideCapture)) applied = hideCapture;
    else logLine(L"Capturas: Windows no deja %ls la ventana (error %lu)", hideCapture ? L"ocultar" : L"mostrar",
                 (unsigned long)GetLastError());
}

HICON trayIcon() {
    int n = GetSystemMetrics(SM_CXSMICON);
    HICON ic = (HICON)LoadImageW(hInst, MAKEINTRESOURCEW(1), IMAGE_ICON, n, GetSystemMetrics(SM_CYSMICON), 0);
    if (ic) return ic;
    // drawn fallback: the emblem on a black mask
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP color = CreateCompatibleBitmap(screen, n, n);
    HBITMAP mask = CreateBitmap(n, n, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    PatBlt(dc, 0, 0, n, n, BLACKNESS);
    drawEmblem(dc, 0, 0, n, 0);
    SelectObject(dc, mask);
    PatBlt(dc, 0, 0, n, n, BLACKNESS);
    SelectObject(dc, old);
    ICONINFO ii{TRUE, 0, 0, mask, color};
    ic = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ic;
}

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: onPaint(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN: onLButtonDown(h, lp); return 0;
        case WM_MOUSEMOVE: onMouseMove(h, lp); return 0;
        case WM_MOUSELEAVE: onMouseLeave(); return 0;
        case WM_LBUTTONUP: onLButtonUp(lp); return 0;
        case WM_EXITSIZEMOVE: onExitSizeMove(h); return 0;
        case WM_SETCURSOR: return onSetCursor(h);
        case WM_HOTKEY: onHotkey((int)wp); return 0;
        case WM_TIMER:
            if (wp == TIMER_CHECKS) checksTick(h);
            else onTick();
            return 0;
        case WM_ZV_TRAY: onTray(lp); return 0;
        case WM_ZV_RELAYOUT:
            if (wp == RELAYOUT_PACK) libReset();  // the library's texts pointed into the old pack
            relayout();
            return 0;
        case WM_ZV_IMAGE: libImageArrived((int)wp, (int)lp); return 0;
        case WM_ZV_RESTART: restartApp(); return 0;
        case WM_ZV_LANGUAGE: applyLanguage((int)wp); return 0;
        case WM_ZV_KEYS:
            if (wp) registerKeys();
            else unregisterKeys();
            return 0;
        case WM_ZV_SETTINGS:
            applyStyle();
            applyCapture();
            updateVisibility();
            return 0;
        case WM_ZV_GAME:
            if (!gameRunning()) return 0;
            if (lp) lstrcpynW((wchar_t*)lp, foundExe, MAX_PATH);
            return 1;
        case WM_ZV_PACK: pkOnResult(wp, lp); return 0;
        case WM_ZV_UPDCHECK: onUpdResult(wp, lp); return 0;
        case WM_ZV_LIVE: liveOnResult(lp); return 0;
        case WM_COMMAND: onCommand(LOWORD(wp)); return 0;
        case WM_DESTROY: onDestroy(); return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

void applyLanguage(int index) {
    if (index < 0 || index >= LANG_COUNT) return;
    uiSetLang(index);
    libReset();
    gStore->put("ajustes", "Idioma", u16of(LANG_CODE[index]));
    keysRender();
    makeFonts();
    setTip();
    newsRefresh(now());
    relayout();
    // open tool windows are made anew in the new language
    if (hSet) {
        DestroyWindow(hSet);
        openSettings();
    }
    if (hChk) {
        DestroyWindow(hChk);
        openChecklistEditor();
    }
}
