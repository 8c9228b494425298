#include "library/live_win.h"

#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/utf.h"
#include "library/db.h"
#include "library/live.h"
#include "update/http_win.h"

void (*liveChanged)();

namespace {

std::atomic<int> liveBusy{0};

DWORD WINAPI liveThread(void* p) {
    LiveJob* job = (LiveJob*)p;
    for (int k = 0; k < job->count; k++) {
        job->live[k] = 0;
        std::wstring url = std::wstring(liveBase) + (const wchar_t*)u8w(job->channel[k]).c_str();
        if (url.size() >= 1024) continue;
        char* body = nullptr;
        size_t len = 0;
        if (httpGet(url.c_str(), &body, &len, nullptr, nullptr) && body) job->live[k] = (unsigned char)liveBodyLive(body, len);
        free(body);
    }
    if (!PostMessageW(hwnd, WM_ZV_LIVE, 0, (LPARAM)job)) free(job);
    return 0;
}

}  // namespace

void liveCheck(int force) {
    if (!dbDone) return;
    DWORD now = GetTickCount();
    if (!liveDue(force, liveLast, now)) return;
    int idle = 0;
    if (!liveBusy.compare_exchange_strong(idle, 1)) return;
    LiveJob* job = (LiveJob*)calloc(1, sizeof(LiveJob));
    if (!job) {
        liveBusy = 0;
        return;
    }
    liveFill(job);
    liveLast = now;
    HANDLE t = job->count ? CreateThread(nullptr, 0, liveThread, job, 0, nullptr) : nullptr;
    if (!t) {
        free(job);
        liveBusy = 0;
        return;
    }
    CloseHandle(t);
}

void liveOnResult(LPARAM lp) {
    liveBusy = 0;
    LiveJob* job = (LiveJob*)lp;
    int changed = liveApply(job);
    free(job);
    if (changed && hLib && liveChanged) liveChanged();
}
