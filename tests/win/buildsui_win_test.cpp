// The build commands through the real question dialog: a cancelled name or deletion changes
// nothing, a clipboard without a code is told, and the menu greys what the rules disable. The
// confirmed paths are walked end to end in the library window; the rules are the core's tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/base_win.h"
#include "base/state.h"
#include "builds/builds.h"
#include "builds/builds_win.h"
#include "builds/buildsui_win.h"
#include "l10n/ui.h"
#include "winutil.h"

TEST(BuildsUi, CancelledQuestionsChangeNothing) {
    MemStore st;
    Store* was = gStore;
    gStore = &st;
    uiUp();
    uiSetLang(0);
    buildsReset();
    buildsAttach({u"1|Striker", u"2|Ceska"});
    buildsLoad(st);
    buildRename(st, u"Mía");
    const std::u16string before = st.text();
    BuildsView v;
    v.owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    dialogTexts.clear();
    UINT_PTR timer = answerDialogs(typeAndPress(L"Otra", IDCANCEL));
    for (int cmd : {BM_NEW, BM_RENAME, BM_DELETE}) buildsMenuCommand(v, cmd, -1);
    EXPECT_EQ(st.text(), before);
    ASSERT_EQ(dialogTexts.size(), 3u);  // each one asked
    EXPECT_EQ(dialogTexts.back(), L"¿Borrar la build «Mía»? No se puede deshacer.");
    onDialog = typeAndPress(nullptr, IDOK);
    clipSet(v.owner, u"nada por aquí");
    buildsMenuCommand(v, BM_IMPORT, -1);
    EXPECT_EQ(st.text(), before);
    EXPECT_EQ(dialogTexts.back(), W(T(182)));
    KillTimer(nullptr, timer);
    // an empty build: share greyed, new, duplicate and import offered
    HMENU m = buildsMenuMake();
    std::string greyed;
    for (int cmd : {BM_NEW, BM_DUPLICATE, BM_SHARE, BM_IMPORT})
        greyed += (GetMenuState(m, UINT(cmd), MF_BYCOMMAND) & MF_GRAYED) ? '1' : '0';
    EXPECT_EQ(greyed, "0010");
    DestroyMenu(m);
    DestroyWindow(v.owner);
    gStore = was;
}
