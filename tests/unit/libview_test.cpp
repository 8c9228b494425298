// Where the library window's controls go, and whether a stored placement is used.
#include <gtest/gtest.h>

#include <algorithm>

#include "library/libview.h"

namespace {

void expectRect(const LRect& r, int x, int y, int w, int h) {
    EXPECT_TRUE(r.shown);
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

LibLayout lay(int cat, bool table = false, int curCat = 4, bool wide = false, bool update = false, int w = 1180,
              int h = 760, double sc = 1.0) {
    LibLayoutIn in;
    in.w = w;
    in.h = h;
    in.sc = sc;
    in.cat = cat;
    in.table = table;
    in.curCat = curCat;
    in.wide = wide;
    in.update = update;
    in.scrollW = 17;
    in.btn[BTN_FAV] = in.btn[BTN_LINK] = true;
    in.btn[BTN_WIDE] = cat == 0 || cat == 8 || table;
    LibLayout o;
    libLayoutCalc(in, o);
    return o;
}

}  // namespace

TEST(LibView, EveryCategoryHasItsRow) {
    for (int v = 1; v <= 14; v++) {
        int r = rowOfValue(v);
        ASSERT_GE(r, 0) << v;
        EXPECT_EQ(ROWCAT[r], v);
    }
    EXPECT_EQ(rowOfValue(99), -1);
}

TEST(LibView, ColumnsOfAnEntry) {
    LibLayout o = lay(3);
    expectRect(o.cats, 12, 12, 240, 760 - 24 - 44);
    expectRect(o.old, 12, 714, 240, 34);
    EXPECT_FALSE(o.upd.shown);
    expectRect(o.list, 264, 48, 300, 700);
    EXPECT_FALSE(o.combo.shown);
    EXPECT_EQ(o.colName, 174);
    EXPECT_EQ(o.colType, 126 - 4 - 17);
    // a weapon: the 96 square, the title 16 down, the body over the whole content area
    EXPECT_FALSE(o.bigPic);
    expectRect(o.pic, 582, 12, 96, 96);
    expectRect(o.title, 692, 28, 1180 - 12 - 692, 34);
    expectRect(o.sub, 692, 62, 1180 - 12 - 692, 22);
    expectRect(o.body, 582, 120, 586, 716 - 10 - 120);
    EXPECT_FALSE(o.grid.shown || o.prev.shown);
    // buttons from the left, 8 apart, only those that apply
    expectRect(o.btn[BTN_FAV], 582, 716, 220, 32);
    expectRect(o.btn[BTN_LINK], 582 + 228, 716, 170, 32);
    EXPECT_FALSE(o.btn[BTN_WIDE].shown || o.btn[BTN_GAL].shown);
}

TEST(LibView, TablesScreenshotsAndTheBuildRow) {
    LibLayout t = lay(9, true);
    EXPECT_TRUE(t.bigPic);
    expectRect(t.pic, 582, 12, 56, 56);
    EXPECT_EQ(t.title.y, 14);
    expectRect(t.body, 582, 80, 586, 78);
    expectRect(t.grid, 582, 166, 586, 706 - 166);
    expectRect(t.btn[BTN_WIDE], 582 + 228 + 178, 716, 170, 32);

    LibLayout s = lay(8);
    expectRect(s.prev, 582, 80, 586, 706 - 80);
    EXPECT_FALSE(s.body.shown);

    LibLayout b = lay(3, false, 0);  // the build row: selector and menu above the list
    expectRect(b.combo, 264, 48, 256, 28);
    EXPECT_EQ(b.comboDrop, 400);
    expectRect(b.menu, 264 + 262, 48, 38, 28);
    expectRect(b.list, 264, 86, 300, 760 - 12 - 86);

    LibLayout u = lay(3, false, 4, false, true);  // an update offered
    expectRect(u.upd, 12, 670, 240, 36);
    EXPECT_EQ(u.cats.h, 760 - 24 - 88);

    LibLayout none = lay(-1);  // the empty state: text only
    EXPECT_TRUE(none.body.shown);
    EXPECT_FALSE(none.grid.shown);
}

TEST(LibView, WideViewNarrowWindowAndScale) {
    LibLayout w = lay(0, false, 1, true);
    EXPECT_FALSE(w.cats.shown || w.search.shown || w.list.shown || w.old.shown);
    expectRect(w.pic, 12, 12, 56, 56);
    EXPECT_EQ(w.body.w, 1180 - 24);

    LibLayout n = lay(3, false, 4, false, false, 650, 440);
    EXPECT_EQ(n.body.w, 120);  // never narrower than 120

    LibLayout s = lay(3, false, 4, false, false, 1770, 1140, 1.5);
    expectRect(s.cats, 18, 18, 360, 1140 - 36 - 66);
    expectRect(s.pic, 873, 18, 144, 144);
}

TEST(LibView, StoredPlacement) {
    struct Case {
        int x, y, w, h;
        double sc;
        bool ok;
    } cases[] = {
        {100, 100, 1180, 760, 1.0, true},   {100, 100, 800, 760, 1.0, false} /* narrow */,
        {100, 100, 900, 439, 1.0, false} /* short */, {100, 100, 1200, 700, 1.5, false} /* 900 x 440 units at 150 % */,
        {-589, 0, 1180, 760, 1.0, true} /* half off the left edge still grabs */, {-590, 0, 1180, 760, 1.0, false},
        {1179, 0, 1180, 760, 1.0, true} /* 100 from the right edge */, {1180, 0, 1180, 760, 1.0, false},
        {0, -10, 1180, 760, 1.0, true},     {0, -11, 1180, 760, 1.0, false},
        {0, 699, 1180, 760, 1.0, true},     {0, 700, 1180, 760, 1.0, false},
        {3000, 100, 1180, 760, 1.0, false},  // a monitor that is gone
    };
    for (const Case& c : cases)
        EXPECT_EQ(libPlacementOk(c.x, c.y, c.w, c.h, c.sc, 0, 0, 1280, 800), c.ok) << c.x << "," << c.y << " " << c.w;
    EXPECT_TRUE(libPlacementOk(-1500, 100, 1180, 760, 1.0, -1920, 0, 3200, 1080));  // a monitor on the left
}

// A weapon with every button the window can give it: they keep their widths and wrap onto rows
// stacked up from the bottom, and the body ends above the top row, whatever the width and scale.
TEST(LibView, ButtonsWrapIntoRowsThatNeverLeaveTheEntry) {
    struct Case {
        int w, h;
        double sc;
        bool wide;
        int rows;
    } cases[] = {{1180, 760, 1.0, false, 2}, {1180, 760, 1.0, true, 1}, {900, 440, 1.0, false, 4},
                 {1770, 1140, 1.5, false, 2}, {2400, 900, 1.0, false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        LibLayoutIn in;
        in.w = c.w;
        in.h = c.h;
        in.sc = c.sc;
        in.wide = c.wide;
        in.cat = 3;
        in.btn[BTN_FAV] = in.btn[BTN_OWN] = in.btn[BTN_LINK] = in.btn[BTN_DPS] = true;
        LibLayout o;
        libLayoutCalc(in, o);
        int right = o.body.x + o.body.w, top = c.h, bottom = 0, prevX = -1, prevY = -1;
        int ys[8] = {}, nys = 0;
        for (int b : {BTN_FAV, BTN_OWN, BTN_LINK, BTN_DPS}) {
            const LRect& r = o.btn[b];
            ASSERT_TRUE(r.shown) << b;
            EXPECT_EQ(r.h, (int)(32 * c.sc + 0.5));
            EXPECT_GE(r.x, o.body.x);
            EXPECT_LE(r.x + r.w, right) << b;  // inside the entry's column
            // reading order: along a row, then the next row down
            EXPECT_TRUE(r.y > prevY || (r.y == prevY && r.x > prevX)) << b;
            if (nys == 0 || ys[nys - 1] != r.y) ys[nys++] = r.y;
            prevX = r.x;
            prevY = r.y;
            top = std::min(top, r.y);
            bottom = std::max(bottom, r.y + r.h);
        }
        EXPECT_EQ(nys, c.rows);
        EXPECT_EQ(bottom, c.h - (int)(12 * c.sc + 0.5));         // the last row on the bottom margin
        EXPECT_EQ(o.body.y + o.body.h, top - (int)(10 * c.sc + 0.5));  // the body ends over the first
        for (int k = 1; k < nys; k++) EXPECT_EQ(ys[k] - ys[k - 1], (int)(40 * c.sc + 0.5));
    }
    // no buttons at all: the body reaches down as if one row were there
    LibLayoutIn in;
    in.w = 1180;
    in.h = 760;
    in.cat = 3;
    LibLayout o;
    libLayoutCalc(in, o);
    EXPECT_EQ(o.body.y + o.body.h, 716 - 10);
}
