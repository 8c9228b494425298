// The clipboard side of build sharing on a real window system: Unicode text both ways, an empty
// clipboard and a busy one. (Sharing and importing through it is walked end to end.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "base/base_win.h"
#include "builds/builds_win.h"

TEST(BuildsClipboard, BusyThenFreeClipboard) {
    HWND o = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // another program holds the clipboard longer than the share waits
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr), release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread t([&] {
        HWND w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        OpenClipboard(w);
        SetEvent(held);
        WaitForSingleObject(release, 5000);
        CloseClipboard();
        DestroyWindow(w);
    });
    WaitForSingleObject(held, 5000);
    EXPECT_EQ(clipSet(o, u"x"), 0);
    std::u16string back;
    EXPECT_EQ(clipGet(o, back), 0);
    SetEvent(release);
    t.join();
    // free again: Unicode text both ways, and a clipboard without text reads as nothing
    std::u16string text = u"Build «Mía» · Zenvoral\r\n• Águila 🔥 漢字\r\n" + std::u16string(20000, u'x');
    ASSERT_EQ(clipSet(o, text), 1);
    ASSERT_EQ(clipGet(o, back), 1);
    EXPECT_EQ(back, text);
    OpenClipboard(o);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(clipGet(o, back), 0);
    EXPECT_EQ(back, u"");
    CloseHandle(held);
    CloseHandle(release);
    DestroyWindow(o);
}
