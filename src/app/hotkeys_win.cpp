#include "app/hotkeys_win.h"
#include "app/checks_win.h"

#include <tlhelp32.h>

#include <cwchar>

#include "base/base_win.h"
#include "app/detect.h"
#include "l10n/keys.h"
#include "base/state.h"
#include "app/window_win.h"
#include "l10n/ui.h"

HHOOK kbHook;
wchar_t foundExe[MAX_PATH];

namespace {

KbRepeat kbRep;
int wasRunning, shown;

struct Action {
    int id;
    unsigned* vk;
    unsigned* mods;
};
// the hook's matching order: expand, hide, library, quit
const Action ACTIONS[4] = {{2, &keyEditVk, &keyEditMods},
                           {1, &keyHideVk, &keyHideMods},
                           {3, &keyLibVk, &keyLibMods},
                           {4, &keyQuitVk, &keyQuitMods}};

// Runs on the window thread for every key event of the session: a few comparisons and at
// most one posted message, no allocation and no I/O.
LRESULT CALLBACK KbProc(int code, WPARAM wp, LPARAM lp) {
    if (code != HC_ACTION || (wp != WM_KEYDOWN && wp != WM_SYSKEYDOWN)) return CallNextHookEx(nullptr, code, wp, lp);
    const KBDLLHOOKSTRUCT* k = (const KBDLLHOOKSTRUCT*)lp;
    unsigned m = curMods(), v = k->vkCode;
    for (const Action& a : ACTIONS) {
        if (*a.vk != v || *a.mods != m) continue;
        if (kbIsRepeat(kbRep, v, k->time)) return 1;
        PostMessageW(hwnd, WM_HOTKEY, a.id, 0);
        kbAccept(kbRep, v, k->time);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void unregisterKeys() {
    for (int id = 1; id <= 4; id++) UnregisterHotKey(hwnd, id);
    if (kbHook) {
        UnhookWindowsHookEx(kbHook);
        kbHook = nullptr;
    }
}

void registerKeys() {
    unregisterKeys();
    const Action byId[4] = {ACTIONS[1], ACTIONS[0], ACTIONS[2], ACTIONS[3]};  // ids 1..4
    bool all = true;
    for (const Action& a : byId)
        if (!RegisterHotKey(hwnd, a.id, *a.mods | MOD_NOREPEAT, *a.vk)) all = false;
    if (all) return;
    for (int id = 1; id <= 4; id++) UnregisterHotKey(hwnd, id);
    kbHook = SetWindowsHookExW(WH_KEYBOARD_LL, KbProc, GetModuleHandleW(nullptr), 0);
}

int gameRunning() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W pe;
    pe.dwSize = sizeof pe;
    int found = 0;
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
        if (isGameName(U(pe.szExeFile), gameExe.c_str())) {
            lstrcpynW(foundExe, pe.szExeFile, MAX_PATH);
            found = 1;
            break;
        }
    }
    CloseHandle(snap);
    return found;
}

void visUpdate() {
    if (!hwnd) return;
    VisStep s = visDecide(gameRunning(), &wasRunning, &forceShow, &userHidden, &editMode);
    if (s.announce) {
        wchar_t text[256];
        swprintf(text, 256, W(T(32)), foundExe, keyHideStr);
        balloon(L"Zenvoral", text, 0);
    }
    if (s.collapse) applyStyle();
    if (s.offerUpdate) updOffer();  // the game has closed: a pending update is offered now
    if (s.show) {
        if (!shown) {
            ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            shown = 1;
        }
        bool toolUp = hSet || (hLib && IsWindowVisible(hLib)) || (hView && IsWindowVisible(hView));
        if (!toolUp) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        InvalidateRect(hwnd, nullptr, FALSE);
    } else if (shown) {
        ShowWindow(hwnd, SW_HIDE);
        shown = 0;
    }
}
