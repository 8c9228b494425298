#include "datapack/refresh_win.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <string>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "datapack/install.h"
#include "datapack/install_win.h"
#include "datapack/pack.h"
#include "datapack/refresh.h"
#include "l10n/ui.h"
#include "update/http_win.h"

namespace {

std::atomic<int> pkBusy{0};
int pkJoined;  // a manual check asked for while another was on its way (both on the window's thread)

struct PackJob {
    wchar_t address[1024];
    wchar_t file[MAX_PATH];
    int manual;
};

// The download: the HTTP client never uses a cached copy and deletes the file on any failure.
DWORD WINAPI pkThread(void* p) {
    PackJob* job = (PackJob*)p;
    int ok = httpGet(job->address, nullptr, nullptr, job->file, nullptr);
    if (!PostMessageW(hwnd, WM_ZV_PACK, ok, (LPARAM)job)) {
        DeleteFileW(job->file);
        free(job);
    }
    return 0;
}

void say(int id, const wchar_t* arg, int kind) {
    wchar_t text[256];
    if (arg)
        swprintf(text, 256, W(T(id)), arg);
    else
        wcopy(text, W(T(id)), 256);
    balloon(L"Zenvoral", text, kind);
}

}  // namespace

void pkCheck(int manual) {
    std::u16string addr = pkAddress(U(dataUrl), pkN > 0 ? praw(&pk[0], "url") : nullptr);
    if (addr.empty()) {
        if (manual) say(142, nullptr, 0);
        return;
    }
    int idle = 0;
    if (!pkBusy.compare_exchange_strong(idle, 1)) {
        // a check is on its way: a player who asked gets its answer instead of silence
        if (manual) pkJoined = 1;
        return;
    }
    pkJoined = 0;
    PackJob* job = (PackJob*)calloc(1, sizeof(PackJob));
    if (!job) {
        pkBusy = 0;
        return;
    }
    wcopy(job->address, W(addr.c_str()), 1024);
    swprintf(job->file, MAX_PATH, L"%ls.descarga", pkPath);
    job->manual = manual;
    HANDLE t = CreateThread(nullptr, 0, pkThread, job, 0, nullptr);
    if (!t) {
        free(job);
        pkBusy = 0;
        return;
    }
    CloseHandle(t);
    gStore->put("estado", "ultimaComprobacion", u16num((long long)time(nullptr)));
}

void pkOnResult(WPARAM ok, LPARAM lp) {
    pkBusy = 0;
    PackJob* job = (PackJob*)lp;
    job->manual |= pkJoined;
    pkJoined = 0;
    DWORD len = 0;
    char* text = ok ? readFileA(job->file, &len) : nullptr;
    DeleteFileW(job->file);  // never left behind, whatever it held
    if (!text) {
        logLine(L"Datos: no se pudo descargar %ls", job->address);
        if (job->manual) say(140, nullptr, 0);
        free(job);
        return;
    }
    int r = pkInstallText(text, len, 0);
    free(text);
    if (r == 1) {
        logLine(L"Datos: instalada la versión %ls", W(pkVerW));
        say(138, W(pkVerW), 2);
        updDataStat();
    } else if (r == 2) {
        if (job->manual) say(139, W(pkVerW), 0);
    } else if (r == PK_NOT_SAVED) {  // the writer logged why; the pack in force stays
        if (job->manual) say(272, nullptr, 0);
    } else {
        logLine(L"Datos: el archivo descargado no es válido");
        if (job->manual) say(141, nullptr, 0);
    }
    free(job);
}

void updDataStat() {
    if (!hSet) return;
    wchar_t text[160];
    swprintf(text, 160, W(T(134)), W(pkVerW), W(T(pkFromFile ? 136 : 135)));
    SetDlgItemTextW(hSet, 218, text);
}
