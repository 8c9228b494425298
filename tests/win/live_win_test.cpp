// The live check against the local test server (its /echo/ answers stand in for the
// live-status service): the worker asks for each channel, the result reaches liveF on the
// window thread, and a result of an older library generation is dropped.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "datapack/pack.h"
#include "library/db.h"
#include "library/live.h"
#include "library/live_win.h"

namespace {

// Waits for the worker's message and hands it on as the overlay would.
bool pumpLive(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG m;
    while (GetTickCount() < end) {
        if (PeekMessageW(&m, hwnd, WM_ZV_LIVE, WM_ZV_LIVE, PM_REMOVE)) {
            liveOnResult(m.lParam);
            return true;
        }
        Sleep(20);
    }
    return false;
}

struct LiveWin : ::testing::Test {
    wchar_t base[256] = L"";
    void SetUp() override {
        if (!GetEnvironmentVariableW(L"ZV_HTTP", base, 256)) GTEST_SKIP() << "ZV_HTTP is not set";
        hwnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        swprintf(liveBase, 512, L"%lsecho/", base);
        std::string t = "# ZENVORAL-DATOS 1\nversion = 1\n"
                        "[creador]\nnombre = Uno\ntwitch = https://www.twitch.tv/offline-uno\n"
                        "[creador]\nnombre = Dos\ntwitch = https://www.twitch.tv/2h-15m\n"
                        "[creador]\nnombre = Tres\ntwitch = https://www.twitch.tv/invalid-tres\n";
        ASSERT_EQ(pkParse(t.data(), t.size()), 1);
        dbInit(nullptr);
        liveLast = 0;
    }
    void TearDown() override {
        dbFree();
        pkClear();
        if (hwnd) DestroyWindow(hwnd);
        hwnd = nullptr;
    }
};

}  // namespace

TEST_F(LiveWin, LiveCreatorsAreMarkedAndOldResultsDropped) {
    liveCheck(0);
    ASSERT_TRUE(pumpLive(20000));
    EXPECT_EQ(liveCount(), 1);
    EXPECT_EQ(liveF[pkEntry[2]], 1);  // the one whose answer is a duration

    liveCheck(0);  // within two minutes: nothing starts
    EXPECT_FALSE(pumpLive(1500));

    liveCheck(1);  // the library's five-minute timer checks regardless...
    dbFree();      // ...but the library is rebuilt before the answer arrives
    dbInit(nullptr);
    ASSERT_TRUE(pumpLive(20000));
    EXPECT_EQ(liveCount(), 0) << "a result for the old generation changes nothing";
}
