// The build commands as the library window uses them: the selector's contents, the menu's greyed
// commands, and each command's answer taken from the real question dialog. (The end-to-end test
// walks the confirmed paths through the window itself.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/state.h"
#include "builds/builds.h"
#include "builds/builds_win.h"
#include "builds/buildsui_win.h"
#include "l10n/ui.h"
#include "winutil.h"

namespace {

class BuildsUi : public ::testing::Test {
protected:
    MemStore st;
    Store* was = gStore;
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 300, owner, nullptr,
                                 nullptr, nullptr);
    UINT_PTR timer = answerDialogs(typeAndPress(nullptr, IDOK));
    int refreshed = 0, shown = -1;
    BuildsView v;

    static void SetUpTestSuite() { uiUp(); }
    void SetUp() override {
        gStore = &st;
        uiSetLang(0);
        buildsReset();
        buildsAttach({u"1|Striker", u"2|Ceska", u"3|Eagle Bearer", u"9|Tabla de daño"});
        buildsLoad(st);
        v.owner = owner;
        v.combo = combo;
        v.rowValue = 0;
        v.refresh = [this] {
            refreshed++;
            SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            buildsFill(combo);
        };
        v.showEntry = [this](int i) { shown = i; };
        dialogTexts.clear();
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        DestroyWindow(owner);
        gStore = was;
    }
    std::wstring comboText(int k) {
        wchar_t t[128] = L"";
        SendMessageW(combo, CB_GETLBTEXT, WPARAM(k), (LPARAM)t);
        return t;
    }
};

UINT state(HMENU m, int cmd) { return GetMenuState(m, UINT(cmd), MF_BYCOMMAND); }

}  // namespace

TEST_F(BuildsUi, SelectorAndMenu) {
    buildRename(st, u"Striker");
    buildNew(st, u"", false);
    buildsFill(combo);
    EXPECT_EQ(comboText(0) + L"|" + comboText(1), L"Striker|Mi build");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    // greyed: share for an empty build; new and duplicate at 30 builds, where import stays offered
    for (bool full : {false, true}) {
        while (full && nBuilds < MAX_BUILDS) buildNew(st, u"b", false);
        if (full) buildToggle(st, 1);
        HMENU m = buildsMenuMake();
        EXPECT_EQ(GetMenuItemCount(m), 7);
        std::string greyed;
        for (int cmd : {1, 3, 5, 6}) greyed += (state(m, cmd) & MF_GRAYED) ? '1' : '0';
        EXPECT_EQ(greyed, full ? "1100" : "0010");
        DestroyMenu(m);
    }
    // switching through the selector; the current one again does nothing
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    buildsFill(combo);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    buildsCommand(v, BID_COMBO, -1);
    buildsCommand(v, BID_COMBO, -1);
    EXPECT_EQ(curBuild, 0);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(st.getStr("builds", "actual", u"", 8), u"0");
}

// The dialogs' answers: a name typed and confirmed or cancelled, a deletion refused or confirmed,
// and a clipboard without a code. (The end-to-end test walks the confirmed paths in the window.)
TEST_F(BuildsUi, DialogAnswersDecide) {
    onDialog = typeAndPress(L"Striker raid", IDOK);
    buildsMenuCommand(v, BM_NEW, -1);
    onDialog = typeAndPress(L"otra", IDCANCEL);
    buildsMenuCommand(v, BM_NEW, -1);
    ASSERT_EQ(nBuilds, 2);
    EXPECT_EQ(comboText(1), L"Striker raid");

    onDialog = typeAndPress(L"  Mi build  ", IDOK);  // the unnamed build 0 shows that name
    buildsMenuCommand(v, BM_RENAME, 2);
    EXPECT_EQ(buildShown(1), u"Mi build (2)");
    EXPECT_EQ(shown, 2);

    buildToggle(st, 0);
    onDialog = typeAndPress(nullptr, IDCANCEL);
    buildsMenuCommand(v, BM_DELETE, -1);
    EXPECT_EQ(nBuilds, 2);
    EXPECT_EQ(dialogTexts.back(), L"¿Borrar la build «Mi build (2)»? No se puede deshacer.");
    onDialog = typeAndPress(nullptr, IDOK);
    buildsMenuCommand(v, BM_DELETE, -1);
    EXPECT_EQ(nBuilds, 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);

    clipSet(owner, u"nada por aquí");
    buildsMenuCommand(v, BM_IMPORT, -1);
    EXPECT_EQ(nBuilds, 1);
    EXPECT_EQ(dialogTexts.back(), W(T(182)));
}
