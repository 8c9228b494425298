// The library window's rules that need no window: its category rows, where every control goes
// for a client size and the shown entry, whether a stored placement can be used, and the texts
// of the counts. The window (libwin_win.cpp) moves the controls to these rectangles.
#pragma once

constexpr int ROWCAT_N = 16;
// Row values in list order: 0 the build, 12 news, 13 creators, 100 recently viewed, v = category
// v - 1 otherwise.
extern const int ROWCAT[ROWCAT_N];
// The UI text of a row value's label.
int rowLabelId(int value);
// The list position of a row value, -1 when no row has it.
int rowOfValue(int value);

struct LRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool shown = false;
};

// The buttons under the entry, in their order along the row.
// They wrap: a button that would pass the right edge of the entry starts a row above the last,
// and the body ends over the top row.
enum LibBtn { BTN_FAV, BTN_OWN, BTN_GAL, BTN_VID, BTN_LINK, BTN_YT, BTN_WIDE, BTN_DPS, BTN_COUNT };

struct LibLayoutIn {
    int w = 0, h = 0;         // client size in pixels
    double sc = 1.0;          // scale
    bool wide = false;        // expanded reading view
    bool update = false;      // an update is offered: its button sits over the hide-old button
    int curCat = 1;           // selected row value
    int cat = -1;             // shown entry's category, -1 for none
    bool table = false;       // the entry has a table
    bool btn[BTN_COUNT] = {}; // which buttons apply to the entry (BTN_FAV is always asked)
    int scrollW = 17;         // the system's vertical scroll bar width, pixels
};

struct LibLayout {
    LRect cats, upd, old, search, combo, menu, list;
    LRect pic, title, sub, body, grid, prev;
    LRect btn[BTN_COUNT];
    int colName = 0, colType = 0;  // result list column widths
    int comboDrop = 0;             // the build selector's drop height
    bool bigPic = false;           // the entry uses the small picture square
};

// Places every control; lengths in units are scaled as (int)(v x sc + 0.5).
void libLayoutCalc(const LibLayoutIn& in, LibLayout& out);

// A stored placement (pixels) is used when it is at least 900 x 440 units and its top-left
// corner lies on the virtual screen (vx, vy, vw, vh) with the margins the window needs to be
// grabbed; otherwise the window opens at 1180 x 760 units, centred.
bool libPlacementOk(int x, int y, int w, int h, double sc, int vx, int vy, int vw, int vh);
