#include "app/checks_win.h"

#include <cstdio>
#include <ctime>
#include <cwchar>

#include "app/hotkeys_win.h"
#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "datapack/install_win.h"
#include "datapack/refresh.h"
#include "datapack/refresh_win.h"
#include "l10n/ui.h"
#include "overlay/overlay_win.h"
#include "update/check_win.h"
#include "update/manifest.h"

namespace {

int first = 1;  // the first tick after start checks whatever the stamp says

}  // namespace

void checksTick(HWND h) {
    SetTimer(h, TIMER_CHECKS, 600000, nullptr);
    long long last = readI64(*gStore, "estado", "ultimaComprobacion");
    int due = checksDue(first, (long long)time(nullptr), last);
    first = 0;
    if (!due) return;
    pkCheck(0);
    updCheck(0);
}

void onUpdResult(WPARAM ok, LPARAM buf) {
    wchar_t ver[40];
    int r = updOnResult(ok, buf, ver);
    if (r < 0) return;  // a failed fetch leaves the offer as it was
    if (r != UPD_NEWER) {
        if (updAvailable) {
            updAvailable = 0;
            pkRefreshAll();
        }
        return;
    }
    wcopy(updVer, ver, 40);
    updAvailable = 1;
    pkRefreshAll();  // news, history and the overlay's height with its banner
    if ((updManual || !gameRunning()) && updShowWindow) {
        updShowWindow();
        return;
    }
    wchar_t text[256];
    swprintf(text, 256, W(T(161)), updVer);
    balloon(L"Zenvoral", text, 1);
}

void updOffer() {
    if (updAvailable && updShowWindow) updShowWindow();
}
