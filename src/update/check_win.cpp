#include "update/check_win.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/msgs_win.h"
#include "l10n/ui.h"
#include "update/http_win.h"
#include "update/manifest.h"

int updManual;
void (*updShowWindow)();

namespace {

std::atomic<int> updBusy{0};

DWORD WINAPI updCheckThread(void*) {
    char* buf = nullptr;
    size_t len = 0;
    int ok = httpGet(updManifest, &buf, &len, nullptr, nullptr);
    if (!PostMessageW(hwnd, WM_ZV_UPDCHECK, ok && buf ? 1 : 0, (LPARAM)buf)) free(buf);
    return 0;
}

}  // namespace

void updCheck(int manual) {
    int idle = 0;
    if (!updBusy.compare_exchange_strong(idle, 1)) {
        // a check is on its way: a player who asked gets its answer instead of silence
        if (manual) updManual = 1;
        return;
    }
    updManual = manual;
    HANDLE t = CreateThread(nullptr, 0, updCheckThread, nullptr, 0, nullptr);
    if (t)
        CloseHandle(t);
    else
        updBusy = 0;
}

int updOnResult(WPARAM ok, LPARAM lp, wchar_t* ver) {
    updBusy = 0;
    char* buf = (char*)lp;
    if (!ok || !buf) {
        free(buf);
        if (updManual) balloon(L"Zenvoral", W(T(158)), 0);
        return -1;
    }
    char16_t v[UPD_VER];
    int custom = lstrcmpW(updManifest, W(EP_MANIFEST)) != 0;
    int r = updTake(buf, custom, v);
    if (r == UPD_INVALID) logLine(L"version.txt no se pudo leer");
    if (r == UPD_NEWER) {
        wcopy(ver, W(v), 40);
        logLine(L"Nueva versión disponible: %ls", ver);
    } else if (updManual) {
        wchar_t text[256];
        swprintf(text, 256, W(T(157)), W(ZV_VERSION));
        balloon(L"Zenvoral", text, 0);
    }
    return r;
}
