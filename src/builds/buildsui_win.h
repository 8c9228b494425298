// The build commands of the library window: the build selector, the "···" menu with its six
// commands, the build button and the obtained button. The window routes its control commands
// here (ids 306, 315, 316, 317) and lends what only it can do through BuildsView.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

enum { BID_FAV = 306, BID_COMBO = 315, BID_MENU = 316, BID_OWN = 317 };

struct BuildsView {
    HWND owner = nullptr;       // the library window: owns the dialogs, the menu and the clipboard
    HWND combo = nullptr;       // the build selector
    HWND menuButton = nullptr;  // "···"
    int rowValue = 1;           // the selected category row's value; 0 is "Mis builds"
    std::function<void()> refresh;             // refill the selector (buildsFill), refreshList, repaint the categories
    std::function<void()> repaintCats;         // the category list's counts changed
    std::function<void(int)> showEntry;        // show entry again: its button labels changed
    std::function<void(int)> keepRow;          // row 0: refreshList, reselect the entry's row, restore the scroll, show it
    std::function<void()> toBuildRow;          // select row 0 without storing it, clear the search, lay out
    std::function<std::u16string(int)> title;  // an entry's title in the interface language
};

// Fills an emptied selector with the shown names and selects the current build.
void buildsFill(HWND combo);
// The menu: 1 new, 2 rename, 3 duplicate, 4 delete, a separator, 5 share, 6 import; new and
// duplicate greyed with 30 builds, share with an empty build.
HMENU buildsMenuMake();
// Shows the menu at the button's bottom-right corner; the chosen command or 0.
int buildsMenu(HWND owner, HWND button);
// A control command of the window (id BID_*) for the shown entry (-1 for none).
void buildsCommand(const BuildsView& v, int id, int entry);
// A menu command (1..6).
void buildsMenuCommand(const BuildsView& v, int cmd, int entry);
