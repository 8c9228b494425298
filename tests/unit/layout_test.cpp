#include <gtest/gtest.h>

#include <array>

#include "checklist/catalogue.h"
#include "datapack/news.h"
#include "l10n/ui.h"
#include "overlay/layout.h"

namespace {

std::array<int, 4> box(const URect& r) { return {r.left, r.top, r.right, r.bottom}; }

struct Layout : ::testing::Test {
    void SetUp() override {
        uiSetLang(0);
        catReset();
        newsClear();
    }
    // Height the built-in rows of group g add in normal mode: 43 with a second line, 33 without.
    int rowsOf(int g) {
        int h = 0;
        for (int i = 0; i < BUILTIN_TASKS; i++)
            if (tasks[i].kind == g) h += *T(2 * i + 1) ? 43 : 33;
        return h;
    }
};

TEST_F(Layout, NormalModeRowsAndGroups) {
    int h = ovLayout(0, 0);
    EXPECT_EQ(newsY, 60);
    EXPECT_EQ(groupY[0], 60);
    for (int g = 1; g < 3; g++) EXPECT_EQ(groupY[g], groupY[g - 1] + 30 + rowsOf(g - 1) + 10) << g;
    EXPECT_EQ(streakY, groupY[2] + 30 + rowsOf(2) + 10);
    EXPECT_EQ(h, streakY + 82);
    EXPECT_EQ(doneMsgY, -1);
    // rows are 40 tall with a second line (task 8 has none in Spanish), 30 without
    EXPECT_EQ(itemRowU[0].top, 90);
    ASSERT_EQ(*T(17), 0);
    for (int i = 0; i < BUILTIN_TASKS; i++)
        EXPECT_EQ(box(itemRowU[i]), (std::array<int, 4>{12, itemRowU[i].top, 288, itemRowU[i].top + (*T(2 * i + 1) ? 40 : 30)})) << i;
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
    tHidden[0] = 1;
    EXPECT_EQ(ovLayout(0, 0), h - 43);
    EXPECT_TRUE(uEmpty(itemRowU[0]));
    EXPECT_EQ(itemRowU[1].top, 90);
}

TEST_F(Layout, DisplayOrderAndCustomTasks) {
    int c = catAdd(0, u"Mi tarea");
    ASSERT_GE(c, 0);
    for (int k = NT - 1; k > 0; k--) ord[k] = ord[k - 1];
    ord[0] = c;
    int h = ovLayout(0, 0);
    EXPECT_EQ(itemRowU[c].top, 90);
    EXPECT_EQ(itemRowU[c].bottom, 120);  // custom tasks never have a second line
    EXPECT_EQ(itemRowU[0].top, 123);
    catReset();
    EXPECT_EQ(h - ovLayout(0, 0), 33);
}

TEST_F(Layout, NewsRowsAndUpdateBanner) {
    nNews = 2;
    int h = ovLayout(0, 0);
    EXPECT_EQ(box(newsRowU[0]), (std::array<int, 4>{12, 90, 288, 116}));
    EXPECT_EQ(newsRowU[1].top, 119);
    EXPECT_TRUE(uEmpty(newsRowU[2]));
    EXPECT_EQ(groupY[0], 60 + 30 + 2 * 29 + 10);
    EXPECT_TRUE(uEmpty(updRowU));
    EXPECT_EQ(ovLayout(0, 1), h + 36);
    EXPECT_EQ(box(updRowU), (std::array<int, 4>{12, 60, 288, 88}));
    EXPECT_EQ(newsRowU[0].top, 126);
    // compact mode drops the news and starts at 58, or under the banner at 96
    ovLayout(1, 0);
    EXPECT_TRUE(uEmpty(newsRowU[0]));
    EXPECT_EQ(groupY[0], 58);
    ovLayout(1, 1);
    EXPECT_EQ(itemRowU[0].top, 96 + 28);
}

TEST_F(Layout, CompactShowsOnlyPendingTasks) {
    checked[0] = checked[2] = 1;
    int h = ovLayout(1, 0);
    EXPECT_TRUE(uEmpty(itemRowU[0]));
    EXPECT_EQ(itemRowU[1].top, 58 + 28);
    EXPECT_EQ(itemRowU[1].bottom - itemRowU[1].top, 28);
    EXPECT_EQ(itemRowU[3].top, itemRowU[1].top + 31);
    EXPECT_EQ(streakY, -1);
    int pending = 0;
    for (int i = 0; i < BUILTIN_TASKS; i++) pending += !checked[i];
    EXPECT_EQ(h, 58 + 3 * (28 + 6) + pending * 31 + 4);
    // a group with everything done has no header at all
    for (int i = 0; i < BUILTIN_TASKS; i++)
        if (tasks[i].kind == 0) checked[i] = 1;
    ovLayout(1, 0);
    EXPECT_EQ(groupY[0], -1);
    EXPECT_EQ(groupY[1], 58);
}

TEST_F(Layout, CompactAllDone) {
    for (int i = 0; i < NT; i++) checked[i] = 1;
    EXPECT_EQ(ovLayout(1, 0), 96);
    EXPECT_EQ(doneMsgY, 58);
    EXPECT_EQ(ovLayout(1, 1), 96 + 38);
    EXPECT_EQ(doneMsgY, 96);
    ovLayout(0, 0);
    EXPECT_EQ(doneMsgY, -1);
    catReset();  // hidden tasks count as nothing pending too
    for (int i = 0; i < NT; i++) tHidden[i] = 1;
    EXPECT_EQ(ovLayout(1, 0), 96);
}

TEST_F(Layout, LongCatalogueStaysInBounds) {
    while (catAdd(2, u"x") >= 0) {
    }
    ASSERT_EQ(NT, MAX_TASKS);
    nNews = 99;  // never more rows than there are
    int h = ovLayout(0, 1);
    EXPECT_EQ(newsRowU[NEWS_MAX - 1].top, 126 + 2 * 29);
    EXPECT_EQ(h, streakY + 82);
    EXPECT_EQ(itemRowU[MAX_TASKS - 1].bottom + 3 + 10, streakY);
}

TEST(StartPlacement, ScaleOutOfRangeFitAndPosition) {
    struct { double dpi; int escala, workH; double scale; int ui; } scales[] = {
        {1.0, 200, 1040, 1.0, 100}, {1.0, 79, 1040, 1.0, 100}, {1.0, 90, 1040, 0.9, 90},  // smaller is never capped
        {1.0, 130, 700, (700 - 70) / 624.0, 130}, {1.0, 130, 1400, 1.3, 130},
        {1.5, 150, 700, 1.5, 150},  // never below the screen's own factor
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
        EXPECT_EQ(x, c.wx) << c.x << "," << c.y;
        EXPECT_EQ(y, c.wy) << c.x << "," << c.y;
    }
    EXPECT_EQ(ovAlpha(215, 1), 215);  // collapsed adds 30, capped
    EXPECT_EQ(ovAlpha(215, 0), 245);
    EXPECT_EQ(ovAlpha(240, 0), 255);
}

// The scale follows the real height of the list, and when even the smallest scale is too tall
// the rows are compact mode's.
TEST_F(Layout, FitsTheWorkAreaOfSmallScreens) {
    struct { double want, dpi; int units, workH; double scale; } scales[] = {
        {1.0, 1.0, 600, 1040, 1.0},           {1.0, 1.0, 811, 760, (760 - 70) / 811.0},
        {1.0, 1.0, 938, 680, 0.8},            {1.3, 1.0, 700, 1040, 1.3},
        {1.3, 1.0, 900, 1040, (1040 - 70) / 900.0}, {0.9, 1.0, 2000, 700, 0.8},
        {0.7, 1.0, 2000, 700, 0.7},           {1.5, 1.5, 800, 1400, 1.5},
    };
    for (auto& c : scales) EXPECT_NEAR(ovFitScale(c.want, c.dpi, c.units, c.workH), c.scale, 1e-12) << c.units;

    int rc;
    int units = ovLayout(0, 0);
    EXPECT_GT(units, 760 - 70);  // taller than an 800-pixel screen at 100 %
    double s = ovFitScale(1.0, 1.0, units, 760);
    EXPECT_LE((int)(ovLayoutFit(0, 0, s, 760, &rc) * s + 0.5), 760 - 70);
    EXPECT_EQ(rc, 0);
    EXPECT_GE(streakY, 0);
    // 35 own tasks do not fit a 720-pixel screen even at the smallest scale: compact rows,
    // which grow back to the whole list once they fit again
    for (int i = 0; i < 35; i++) catAdd(i % 3, u"propia");
    units = ovLayoutFit(0, 0, 0.8, 680, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_LE((int)(units * 0.8 + 0.5), 680 - 70 + 31 * 48);
    EXPECT_EQ(streakY, -1);
    catReset();
    catAdd(0, u"propia");
    ovLayoutFit(0, 0, 0.8, 760, &rc);
    EXPECT_EQ(rc, 0);
    catReset();
    EXPECT_EQ(ovLayoutFit(1, 0, 1.0, 5000, &rc), ovLayout(1, 0));
    EXPECT_EQ(rc, 1);  // compact mode on: compact rows whatever fits
}

}  // namespace
