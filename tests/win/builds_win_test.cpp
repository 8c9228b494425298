// The clipboard side of build sharing on a real window system: Unicode text both ways, a share
// message that imports back, a code pasted with a chat around it, and a busy clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "base/base_win.h"
#include "base/state.h"
#include "builds/builds.h"
#include "builds/builds_win.h"
#include "l10n/ui.h"

namespace {

struct Owner {
    HWND w;
    Owner() { w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~Owner() { DestroyWindow(w); }
};

const std::vector<std::u16string> KEYS = {u"1|Striker", u"2|Ceska", u"3|Eagle Bearer", u"9|Tabla de daño"};

}  // namespace

TEST(BuildsClipboard, UnicodeTextBothWays) {
    Owner o;
    std::u16string text = u"Build «Mía» · Zenvoral\r\n• Águila 🔥 漢字\r\n" + std::u16string(20000, u'x');
    ASSERT_EQ(clipSet(o.w, text), 1);
    std::u16string back;
    ASSERT_EQ(clipGet(o.w, back), 1);
    EXPECT_EQ(back, text);
}

TEST(BuildsClipboard, ShareThenImportFromTheClipboard) {
    Owner o;
    MemStore st;
    Store* was = gStore;
    gStore = &st;
    uiSetLang(0);
    buildsReset();
    buildsAttach(KEYS);
    buildsLoad(st);
    buildRename(st, u"Mía");
    buildToggle(st, 0);
    buildToggle(st, 3);
    ASSERT_EQ(buildShareCopy(o.w, [](int i) { return KEYS[size_t(i)].substr(2); }), 1);
    std::u16string msg;
    ASSERT_EQ(clipGet(o.w, msg), 1);
    EXPECT_EQ(msg.rfind(u"Build «Mía» · Zenvoral\r\n• Striker (Gearset)\r\n• Tabla de daño (Tabla)\r\n\r\nZV1-", 0), 0u);

    // pasted back with a chat around it
    ASSERT_EQ(clipSet(o.w, u"[21:04] amigo: toma\r\n" + msg + u"\r\n[21:05] yo: gracias"), 1);
    ImportResult r;
    ASSERT_EQ(buildImportClipboard(o.w, r), IMPORT_DONE);
    EXPECT_EQ(r.name, u"Mía (2)");
    EXPECT_EQ(r.matched, 2);
    EXPECT_EQ(curBuild, 1);
    EXPECT_EQ(st.getStr("build1", "f1", u"", 300), u"0|9|Tabla de daño");

    // a clipboard with other data, or none
    OpenClipboard(o.w);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(buildImportClipboard(o.w, r), IMPORT_NONE);
    EXPECT_EQ(nBuilds, 2);
    gStore = was;
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
