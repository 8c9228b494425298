// The clipboard side of build sharing on a real window system: Unicode text both ways, an empty
// clipboard and a busy one. (Sharing and importing through it is walked end to end.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "base/base_win.h"
#include "builds/builds_win.h"

namespace {

struct Owner {
    HWND w;
    Owner() { w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~Owner() { DestroyWindow(w); }
};

}  // namespace

TEST(BuildsClipboard, UnicodeTextBothWays) {
    Owner o;
    std::u16string text = u"Build «Mía» · Zenvoral\r\n• Águila 🔥 漢字\r\n" + std::u16string(20000, u'x');
    ASSERT_EQ(clipSet(o.w, text), 1);
    std::u16string back;
    ASSERT_EQ(clipGet(o.w, back), 1);
    EXPECT_EQ(back, text);
    // a clipboard without text reads as nothing
    OpenClipboard(o.w);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(clipGet(o.w, back), 0);
    EXPECT_EQ(back, u"");
}

TEST(BuildsClipboard, BusyClipboardIsNotReportedAsCopied) {
    Owner o, other;
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
    EXPECT_EQ(clipSet(o.w, u"x"), 0);
    std::u16string back;
    EXPECT_EQ(clipGet(o.w, back), 0);
    SetEvent(release);
    t.join();
    EXPECT_EQ(clipSet(o.w, u"y"), 1);
    CloseHandle(held);
    CloseHandle(release);
}
