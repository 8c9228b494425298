#include "builds/buildsui_win.h"

#include "base/base_win.h"
#include "base/state.h"
#include "builds/builds.h"
#include "builds/builds_win.h"
#include "l10n/ui.h"
#include "widgets/look.h"
#include "widgets/widgets_win.h"

namespace {

void call(const std::function<void()>& f) {
    if (f) f();
}
void call(const std::function<void(int)>& f, int i) {
    if (f) f(i);
}

// The question dialog with an edit field pre-filled with text; the answer in text.
int askName(HWND owner, int question, std::u16string& text) {
    wchar_t buf[ASK_BUF];
    lstrcpynW(buf, W(cutUnits(text, ASK_EDIT_LIMIT).c_str()), ASK_BUF);
    if (!darkAsk(owner, W(T(question)), buf, 1)) return 0;
    text = U(buf);
    return 1;
}

}  // namespace

void buildsFill(HWND combo) {
    for (int k = 0; k < nBuilds; k++) SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)W(buildShown(k).c_str()));
    SendMessageW(combo, CB_SETCURSEL, WPARAM(curBuild), 0);
}

HMENU buildsMenuMake() {
    HMENU m = CreatePopupMenu();
    for (int cmd = BM_NEW; cmd <= BM_IMPORT; cmd++) {
        if (cmd == BM_SHARE) AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(m, MF_STRING | (buildMenuEnabled(cmd) ? 0 : MF_GRAYED), UINT_PTR(cmd), W(T(169 + cmd)));
    }
    return m;
}

int buildsMenu(HWND owner, HWND button) {
    RECT r;
    GetWindowRect(button, &r);
    HMENU m = buildsMenuMake();
    int cmd = (int)TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_NONOTIFY, r.right, r.bottom, 0,
                                  owner, nullptr);
    DestroyMenu(m);
    return cmd;
}

void buildsMenuCommand(const BuildsView& v, int cmd, int entry) {
    Store& st = *gStore;
    switch (cmd) {
    case BM_NEW: {
        std::u16string name = buildNewSuggestion();
        if (askName(v.owner, 176, name) && nBuilds < MAX_BUILDS) {
            buildNew(st, name, false);
            call(v.refresh);
        }
        break;
    }
    case BM_RENAME: {
        std::u16string name = buildShown(curBuild);
        if (askName(v.owner, 177, name)) {
            buildRename(st, name);
            call(v.refresh);
            if (entry >= 0) call(v.showEntry, entry);
        }
        break;
    }
    case BM_DUPLICATE:
        if (buildDuplicate(st)) call(v.refresh);
        break;
    case BM_DELETE: {
        std::u16string q = fillText(T(178), {buildShown(curBuild)});
        if (darkAsk(v.owner, W(q.c_str()), nullptr, 1)) {
            buildDelete(st);
            call(v.refresh);
        }
        break;
    }
    case BM_SHARE: buildShare(v.owner, v.title ? v.title : [](int) { return std::u16string(); }); break;
    case BM_IMPORT:
        buildImport(v.owner, [&] {
            if (v.rowValue != 0) call(v.toBuildRow);
            call(v.refresh);
        });
        break;
    }
}

void buildsCommand(const BuildsView& v, int id, int entry) {
    Store& st = *gStore;
    switch (id) {
    case BID_COMBO: {
        int k = (int)SendMessageW(v.combo, CB_GETCURSEL, 0, 0);
        if (buildSwitch(st, k)) call(v.refresh);
        break;
    }
    case BID_MENU: buildsMenuCommand(v, buildsMenu(v.owner, v.menuButton), entry); break;
    case BID_FAV: {
        int in = buildToggle(st, entry);
        if (in < 0) break;
        if (v.rowValue == 0 && !in) call(v.refresh);  // its row goes away
        else call(v.showEntry, entry);
        call(v.repaintCats);
        break;
    }
    case BID_OWN:
        if (buildToggleOwned(st, entry) < 0) break;
        if (v.rowValue != 0) call(v.showEntry, entry);
        else call(v.keepRow, entry);
        call(v.repaintCats);
        break;
    }
}
