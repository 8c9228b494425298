#include <gtest/gtest.h>

#include "checklist/catalogue.h"
#include "datapack/news.h"
#include "l10n/ui.h"
#include "overlay/layout.h"

namespace {

struct Layout : ::testing::Test {
    void SetUp() override {
        uiSetLang(0);
        catReset();
        newsClear();
    }
    // Rows shown, in display order, lie inside the overlay's width, one under the other, and
    // above the height returned.
    void expectNoOverlap(int h) {
        int bottom = 0;
        for (int p = 0; p < NT; p++) {
            const URect& r = itemRowU[ord[p]];
            if (uEmpty(r)) continue;
            EXPECT_TRUE(r.left >= 0 && r.right <= OV_W) << ord[p];
            EXPECT_GE(r.top, bottom) << ord[p];
            bottom = r.bottom;
        }
        EXPECT_LE(bottom, h);
    }
};

TEST_F(Layout, RowsInDisplayOrderNeverOverlap) {
    int c = catAdd(0, u"Mi tarea");
    for (int k = NT - 1; k > 0; k--) ord[k] = ord[k - 1];
    ord[0] = c;
    nNews = 2;
    for (int compact : {0, 1})
        for (int update : {0, 1}) {
            SCOPED_TRACE(compact * 10 + update);
            int h = ovLayout(compact, update);
            expectNoOverlap(h);
            EXPECT_LT(itemRowU[c].top, itemRowU[0].top);  // the own task placed first comes first
            EXPECT_GE(itemRowU[c].top, update ? updRowU.bottom : 0);
            if (!compact) {
                EXPECT_GE(groupY[0], newsRowU[1].bottom);  // under the news
            }
        }
}

TEST_F(Layout, HiddenGroupsAndTasksTakeNoSpace) {
    int full = ovLayout(0, 0);
    int group1 = groupY[2] - groupY[1];
    for (int i = 0; i < BUILTIN_TASKS; i++)
        if (tasks[i].kind == 1) tHidden[i] = 1;
    int h = ovLayout(0, 0);
    EXPECT_EQ(groupY[1], -1);
    EXPECT_EQ(h, full - group1);
    for (int i = 0; i < BUILTIN_TASKS; i++)
        if (tasks[i].kind == 1) { EXPECT_TRUE(uEmpty(itemRowU[i])) << i; }
    int first = itemRowU[0].top;
    tHidden[0] = 1;
    EXPECT_LT(ovLayout(0, 0), h);
    EXPECT_TRUE(uEmpty(itemRowU[0]));
    EXPECT_EQ(itemRowU[1].top, first);
}

TEST_F(Layout, CompactShowsOnlyPendingTasks) {
    for (int i = 0; i < BUILTIN_TASKS; i++)
        if (tasks[i].kind == 0) checked[i] = 1;
    checked[5] = 1;
    expectNoOverlap(ovLayout(1, 0));
    EXPECT_TRUE(uEmpty(itemRowU[0]) && uEmpty(itemRowU[5]));
    EXPECT_FALSE(uEmpty(itemRowU[4]));
    EXPECT_EQ(streakY, -1);
    EXPECT_EQ(groupY[0], -1);  // a group with everything done has no header at all
    EXPECT_NE(groupY[1], -1);
    // all done (or hidden): the done message instead, under the banner when there is one
    for (int i = 0; i < NT; i++) checked[i] = 1;
    int h = ovLayout(1, 0);
    EXPECT_GE(doneMsgY, 0);
    EXPECT_GT(ovLayout(1, 1), h);
    EXPECT_GE(doneMsgY, updRowU.bottom);
    ovLayout(0, 0);
    EXPECT_EQ(doneMsgY, -1);
    catReset();
    for (int i = 0; i < NT; i++) tHidden[i] = 1;
    EXPECT_EQ(ovLayout(1, 0), h);
}

TEST_F(Layout, LongCatalogueStaysInBounds) {
    while (catAdd(2, u"x") >= 0) {
    }
    ASSERT_EQ(NT, MAX_TASKS);
    nNews = 99;  // never more rows than there are
    int h = ovLayout(0, 1);
    EXPECT_FALSE(uEmpty(newsRowU[NEWS_MAX - 1]));
    expectNoOverlap(h);
    EXPECT_LT(itemRowU[MAX_TASKS - 1].bottom, streakY);
}

TEST(StartPlacement, ScaleOutOfRangeFitAndPosition) {
    struct { double dpi; int escala, workH; double scale; int ui; } scales[] = {
        {1.0, 200, 1040, 1.0, 100}, {1.0, 90, 1040, 0.9, 90},  // smaller is never capped
        {1.0, 130, 700, (700 - 70) / 624.0, 130}, {1.5, 150, 700, 1.5, 150},  // never below the screen's own factor
    };
    for (auto& c : scales) {
        int ui = 0;
        EXPECT_NEAR(ovStartScale(c.dpi, c.escala, c.workH, &ui), c.scale, 1e-12) << c.escala << " " << c.workH;
        EXPECT_EQ(ui, c.ui);
    }
    // one negative coordinate resets both; off the screen resets only that axis
    struct { int x, y, wx, wy; } pos[] = {{-1, 300, 12, 12}, {5000, 300, 12, 300}, {1220, 741, 1220, 12}, {0, 0, 0, 0}};
    for (auto& c : pos) {
        int x = c.x, y = c.y;
        ovStartPos(&x, &y, 12, 60, 1280, 800);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.wx, c.wy)) << c.x << "," << c.y;
    }
    EXPECT_EQ(ovAlpha(240, 0), 255);  // collapsed adds 30, capped
}

// The scale follows the real height of the list, and when even the smallest scale is too tall
// the rows are compact mode's.
TEST_F(Layout, FitsTheWorkAreaOfSmallScreens) {
    struct { double want, dpi; int units, workH; double scale; } scales[] = {
        {1.0, 1.0, 600, 1040, 1.0},           {1.0, 1.0, 811, 760, (760 - 70) / 811.0},
        {1.0, 1.0, 938, 680, 0.8},            {1.3, 1.0, 900, 1040, (1040 - 70) / 900.0},
        {0.7, 1.0, 2000, 700, 0.7},           {1.5, 1.5, 800, 1400, 1.5},
    };
    for (auto& c : scales) EXPECT_NEAR(ovFitScale(c.want, c.dpi, c.units, c.workH), c.scale, 1e-12) << c.units;

    // (the list really shown fitting small screens is the end-to-end test's)
    int rc;
    // 35 own tasks do not fit a 720-pixel screen even at the smallest scale: compact rows,
    // which grow back to the whole list once they fit again
    for (int i = 0; i < 35; i++) catAdd(i % 3, u"propia");
    ovLayoutFit(0, 0, 0.8, 680, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(streakY, -1);
    catReset();
    catAdd(0, u"propia");
    ovLayoutFit(0, 0, 0.8, 760, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ovLayoutFit(1, 0, 1.0, 5000, &rc), ovLayout(1, 0));
    EXPECT_EQ(rc, 1);  // compact mode on: compact rows whatever fits
}

}  // namespace
