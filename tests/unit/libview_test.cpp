// Where the library window's controls go, and whether a stored placement is used.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "library/libview.h"

namespace {

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
    in.btn[BTN_FAV] = in.btn[BTN_OWN] = in.btn[BTN_LINK] = in.btn[BTN_DPS] = true;
    in.btn[BTN_WIDE] = cat == 0 || cat == 8 || table;
    LibLayout o;
    libLayoutCalc(in, o);
    return o;
}

bool overlap(const LRect& a, const LRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Every shown control lies inside the window and overlaps no other.
void expectTidy(const LibLayout& o, int w, int h) {
    std::vector<const LRect*> all = {&o.cats, &o.upd, &o.old, &o.search, &o.combo, &o.menu, &o.list, &o.pic,
                                     &o.title, &o.sub, &o.body, &o.grid, &o.prev};
    for (const LRect& b : o.btn) all.push_back(&b);
    for (size_t i = 0; i < all.size(); i++) {
        const LRect& r = *all[i];
        if (!r.shown) continue;
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.w >= 0 && r.h >= 0 && r.x + r.w <= w && r.y + r.h <= h) << i;
        for (size_t k = i + 1; k < all.size(); k++)
            if (all[k]->shown) EXPECT_FALSE(overlap(r, *all[k])) << i << " and " << k;
    }
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

TEST(LibView, ControlsStayInsideAndApart) {
    struct Case {
        int cat;
        bool table;
        int curCat;
        bool wide, update;
        int w, h;
        double sc;
    } cases[] = {
        {3, false, 4, false, false, 1180, 760, 1.0},  {9, true, 4, false, false, 1180, 760, 1.0},
        {8, false, 4, false, false, 1180, 760, 1.0},  {3, false, 0, false, true, 1180, 760, 1.0},  // the build row
        {0, false, 1, true, false, 1180, 760, 1.0},   {3, false, 4, false, false, 900, 440, 1.0},
        {3, false, 4, false, false, 1770, 1140, 1.5}, {-1, false, 4, false, false, 1180, 760, 1.0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        LibLayout o = lay(c.cat, c.table, c.curCat, c.wide, c.update, c.w, c.h, c.sc);
        expectTidy(o, c.w, c.h);
        EXPECT_TRUE(o.body.shown || o.prev.shown);
        EXPECT_EQ(o.grid.shown, c.table);
        EXPECT_EQ(o.upd.shown, c.update);
        EXPECT_EQ(o.combo.shown && o.menu.shown, c.curCat == 0 && !c.wide);
        EXPECT_EQ(o.list.shown, !c.wide);
    }
    EXPECT_TRUE(lay(8).prev.shown);  // screenshots: the picture instead of the body
    EXPECT_FALSE(lay(8).body.shown);
    EXPECT_EQ(lay(3, false, 4, false, false, 650, 440).body.w, 120);  // never narrower than 120
}

TEST(LibView, StoredPlacement) {
    struct Case {
        int x, y, w, h;
        double sc;
        bool ok;
    } cases[] = {
        {100, 100, 1180, 760, 1.0, true},   {100, 100, 899, 760, 1.0, false} /* narrow */,
        {100, 100, 900, 439, 1.0, false} /* short */, {100, 100, 1200, 700, 1.5, false} /* 900 x 440 units at 150 % */,
        {-589, 0, 1180, 760, 1.0, true} /* half off the left edge still grabs */, {-590, 0, 1180, 760, 1.0, false},
        {1179, 0, 1180, 760, 1.0, true} /* 100 from the right edge */, {1180, 0, 1180, 760, 1.0, false},
        {0, -10, 1180, 760, 1.0, true},     {0, -11, 1180, 760, 1.0, false},
        {0, 699, 1180, 760, 1.0, true},     {0, 700, 1180, 760, 1.0, false},
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
        LibLayout o = lay(3, false, 4, c.wide, false, c.w, c.h, c.sc);
        expectTidy(o, c.w, c.h);
        int top = c.h, prevX = -1, prevY = -1, rows = 0;
        for (int b : {BTN_FAV, BTN_OWN, BTN_LINK, BTN_DPS}) {
            const LRect& r = o.btn[b];
            ASSERT_TRUE(r.shown) << b;
            EXPECT_TRUE(r.x >= o.body.x && r.x + r.w <= o.body.x + o.body.w) << b;  // inside the entry's column
            // reading order: along a row, then the next row down
            EXPECT_TRUE(r.y > prevY || (r.y == prevY && r.x > prevX)) << b;
            rows += r.y != prevY;
            prevX = r.x;
            prevY = r.y;
            top = std::min(top, r.y);
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_LT(o.body.y + o.body.h, top);  // the body ends over the first row
    }
}
