// The build commands as the library window will use them: the selector's contents, the menu's
// greyed commands, and each command driven through the real question dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "base/state.h"
#include "builds/builds.h"
#include "builds/builds_win.h"
#include "builds/buildsui_win.h"
#include "l10n/ui.h"

namespace {

const std::vector<std::u16string> KEYS = {u"1|Striker", u"2|Ceska", u"3|Eagle Bearer", u"9|Tabla de daño"};

std::function<void(HWND)> onDialog;
std::vector<std::wstring> asked;  // the texts the dialogs showed

BOOL CALLBACK findDialog(HWND w, LPARAM out) {
    wchar_t cls[32];
    GetClassNameW(w, cls, 32);
    if (!lstrcmpW(cls, L"#32770") && IsWindowVisible(w)) {
        *(HWND*)out = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectText(HWND c, LPARAM) {
    wchar_t cls[32], text[512];
    GetClassNameW(c, cls, 32);
    GetWindowTextW(c, text, 512);
    if (!lstrcmpiW(cls, L"Static") && text[0]) asked.push_back(text);
    return TRUE;
}

// Answers every dialog that appears with act, until the timer is stopped.
void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, (LPARAM)&dlg);
    if (!dlg || GetPropW(dlg, L"zvSeen")) return;
    SetPropW(dlg, L"zvSeen", (HANDLE)1);
    EnumChildWindows(dlg, collectText, 0);
    onDialog(dlg);
}

void answer(const wchar_t* text, int button) {
    onDialog = [=](HWND d) {
        if (text) SetWindowTextW(GetDlgItem(d, 100), text);
        PostMessageW(d, WM_COMMAND, button, 0);
    };
}

class BuildsUi : public ::testing::Test {
protected:
    MemStore st;
    HWND owner = nullptr, combo = nullptr;
    UINT_PTR timer = 0;
    Store* was = nullptr;
    int refreshed = 0, shown = -1, kept = -1, cats = 0, toRow = 0;
    BuildsView v;

    static void SetUpTestSuite() {
        hInst = GetModuleHandleW(nullptr);
        sc = 1.0;
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        if (!fSection) fSection = uiFont(L"Bahnschrift", 13, 600, true);
        if (!fSmall) fSmall = uiFont(L"Segoe UI", 12, 400);
    }
    void SetUp() override {
        was = gStore;
        gStore = &st;
        uiSetLang(0);
        buildsReset();
        buildsAttach(KEYS);
        buildsLoad(st);
        owner = CreateWindowExW(0, L"STATIC", L"biblioteca", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, hInst, nullptr);
        combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 300, owner, nullptr, hInst,
                                nullptr);
        v.owner = owner;
        v.combo = combo;
        v.rowValue = 0;
        v.refresh = [this] {
            refreshed++;
            SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            buildsFill(combo);
        };
        v.showEntry = [this](int i) { shown = i; };
        v.keepRow = [this](int i) { kept = i; };
        v.repaintCats = [this] { cats++; };
        v.toBuildRow = [this] { toRow++; };
        v.title = [](int i) { return KEYS[size_t(i)].substr(2); };
        asked.clear();
        timer = SetTimer(nullptr, 0, 30, tick);
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
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(comboText(0), L"Striker");
    EXPECT_EQ(comboText(1), L"Mi build");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);

    HMENU m = buildsMenuMake();
    EXPECT_EQ(GetMenuItemCount(m), 7);
    wchar_t t[64];
    GetMenuStringW(m, 5, t, 64, MF_BYCOMMAND);
    EXPECT_STREQ(t, L"Copiar código para compartir");
    EXPECT_TRUE(state(m, 5) & MF_GRAYED);  // an empty build
    EXPECT_FALSE(state(m, 1) & MF_GRAYED);
    DestroyMenu(m);
    while (nBuilds < MAX_BUILDS) buildNew(st, u"b", false);
    buildToggle(st, 1);
    m = buildsMenuMake();
    EXPECT_TRUE(state(m, 1) & MF_GRAYED);
    EXPECT_TRUE(state(m, 3) & MF_GRAYED);
    EXPECT_FALSE(state(m, 5) & MF_GRAYED);
    EXPECT_FALSE(state(m, 6) & MF_GRAYED);  // import stays offered: it says nothing with 30 builds
    DestroyMenu(m);

    // switching through the selector
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    buildsFill(combo);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    buildsCommand(v, BID_COMBO, -1);
    EXPECT_EQ(curBuild, 0);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(st.getStr("builds", "actual", u"", 8), u"0");
    buildsCommand(v, BID_COMBO, -1);  // the current one again: nothing
    EXPECT_EQ(refreshed, 1);
}

TEST_F(BuildsUi, NewRenameDelete) {
    answer(L"Striker raid", IDOK);
    buildsMenuCommand(v, BM_NEW, -1);
    ASSERT_EQ(nBuilds, 2);
    EXPECT_EQ(buildShown(1), u"Striker raid");
    EXPECT_EQ(asked.back(), L"Nombre de la nueva build");
    EXPECT_EQ(comboText(1), L"Striker raid");

    answer(L"otra", IDCANCEL);
    buildsMenuCommand(v, BM_NEW, -1);
    EXPECT_EQ(nBuilds, 2);

    answer(L"  Mi build  ", IDOK);  // the unnamed build 0 shows that name
    buildsMenuCommand(v, BM_RENAME, 2);
    EXPECT_EQ(buildShown(1), u"Mi build (2)");
    EXPECT_EQ(shown, 2);

    buildToggle(st, 0);
    answer(nullptr, IDCANCEL);
    buildsMenuCommand(v, BM_DELETE, -1);
    EXPECT_EQ(nBuilds, 2);
    EXPECT_EQ(asked.back(), L"¿Borrar la build «Mi build (2)»? No se puede deshacer.");
    answer(nullptr, IDOK);
    int before = refreshed;
    buildsMenuCommand(v, BM_DELETE, -1);
    EXPECT_EQ(nBuilds, 1);
    EXPECT_EQ(refreshed, before + 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);

    buildsMenuCommand(v, BM_DUPLICATE, -1);
    EXPECT_EQ(buildShown(1), u"Mi build (2)");
}

TEST_F(BuildsUi, ButtonsInAndOutOfTheBuildRow) {
    v.rowValue = 3;
    buildsCommand(v, BID_FAV, 2);
    EXPECT_EQ(fav[2], 1);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(cats, 1);
    buildsCommand(v, BID_OWN, 2);
    EXPECT_EQ(owned[2], 1);
    EXPECT_EQ(kept, -1);

    v.rowValue = 0;
    shown = -1;
    buildsCommand(v, BID_OWN, 2);  // the row stays selected where it was
    EXPECT_EQ(owned[2], 0);
    EXPECT_EQ(kept, 2);
    int before = refreshed;
    buildsCommand(v, BID_FAV, 2);  // out of the build: its row goes
    EXPECT_EQ(fav[2], 0);
    EXPECT_EQ(refreshed, before + 1);
    EXPECT_EQ(shown, -1);
    buildsCommand(v, BID_OWN, 2);  // not a piece: nothing
    EXPECT_EQ(owned[2], 0);
}

TEST_F(BuildsUi, ShareAndImportThroughTheClipboard) {
    buildRename(st, u"Mía");
    buildToggle(st, 0);
    buildToggle(st, 3);
    answer(nullptr, IDOK);
    buildsMenuCommand(v, BM_SHARE, -1);
    EXPECT_EQ(asked.back(), W(T(179)));
    std::u16string clip;
    ASSERT_EQ(clipGet(owner, clip), 1);
    ASSERT_EQ(clipSet(owner, u"mira esto:\r\n" + clip + u"\r\nsaludos"), 1);

    v.rowValue = 4;
    buildsMenuCommand(v, BM_IMPORT, -1);
    EXPECT_EQ(nBuilds, 2);
    EXPECT_EQ(toRow, 1);
    EXPECT_EQ(comboText(1), L"Mía (2)");
    EXPECT_EQ(asked.back(), L"Build «Mía (2)» importada con 2 piezas.");

    clipSet(owner, u"nada por aquí");
    buildsMenuCommand(v, BM_IMPORT, -1);
    EXPECT_EQ(nBuilds, 2);
    EXPECT_EQ(asked.back(), W(T(182)));
}
