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
    EXPECT_EQ(groupY[1], 60 + 30 + rowsOf(0) + 10);
    EXPECT_EQ(groupY[2], groupY[1] + 30 + rowsOf(1) + 10);
    EXPECT_EQ(streakY, groupY[2] + 30 + rowsOf(2) + 10);
    EXPECT_EQ(h, streakY + 82);
    EXPECT_EQ(doneMsgY, -1);
    // the first task sits under its group header; rows are 40 or 30 tall and 3 apart
    EXPECT_EQ(itemRowU[0].top, 90);
    for (int i = 0; i < BUILTIN_TASKS; i++) {
        URect r = itemRowU[i];
        EXPECT_EQ(r.left, 12);
        EXPECT_EQ(r.right, 288);
        EXPECT_EQ(r.bottom - r.top, *T(2 * i + 1) ? 40 : 30) << i;
    }
    // task 8 has no second line in Spanish: a short row
    ASSERT_EQ(*T(17), 0);
    EXPECT_EQ(itemRowU[8].bottom - itemRowU[8].top, 30);
}

TEST_F(Layout, HiddenGroupTakesNoSpace) {
    int full = ovLayout(0, 0);
    int group1 = groupY[2] - groupY[1];
    for (int i = 0; i < BUILTIN_TASKS; i++)
        if (tasks[i].kind == 1) tHidden[i] = 1;
    int h = ovLayout(0, 0);
    EXPECT_EQ(groupY[1], -1);
    EXPECT_EQ(h, full - group1);
    for (int i = 0; i < BUILTIN_TASKS; i++)
        if (tasks[i].kind == 1) {
            EXPECT_TRUE(uEmpty(itemRowU[i]));
        }
    // a hidden task of a shown group leaves no gap either
    tHidden[0] = 1;
    EXPECT_EQ(ovLayout(0, 0), h - 43);
    EXPECT_TRUE(uEmpty(itemRowU[0]));
    EXPECT_EQ(itemRowU[1].top, 90);
}

TEST_F(Layout, DisplayOrderAndCustomTasks) {
    int c = catAdd(0, u"Mi tarea");
    ASSERT_GE(c, 0);
    // put the custom task first in the display order
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
    EXPECT_EQ(newsRowU[0].top, 90);
    EXPECT_EQ(newsRowU[0].bottom, 116);
    EXPECT_EQ(newsRowU[1].top, 119);
    EXPECT_TRUE(uEmpty(newsRowU[2]));
    EXPECT_EQ(groupY[0], 60 + 30 + 2 * 29 + 10);
    EXPECT_TRUE(uEmpty(updRowU));

    int withUpdate = ovLayout(0, 1);
    EXPECT_EQ(withUpdate, h + 36);
    EXPECT_EQ(updRowU.left, 12);
    EXPECT_EQ(updRowU.top, 60);
    EXPECT_EQ(updRowU.right, 288);
    EXPECT_EQ(updRowU.bottom, 88);
    EXPECT_EQ(newsY, 96);
    EXPECT_EQ(newsRowU[0].top, 126);

    // compact mode drops the news and starts at 58, or under the banner at 96
    ovLayout(1, 0);
    EXPECT_TRUE(uEmpty(newsRowU[0]));
    EXPECT_EQ(groupY[0], 58);
    ovLayout(1, 1);
    EXPECT_EQ(groupY[0], 96);
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
    EXPECT_EQ(doneMsgY, -1);
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
    for (int g = 0; g < 3; g++) EXPECT_EQ(groupY[g], -1);
    EXPECT_EQ(ovLayout(1, 1), 96 + 38);
    EXPECT_EQ(doneMsgY, 96);
    // back in normal mode the message row is gone again
    ovLayout(0, 0);
    EXPECT_EQ(doneMsgY, -1);
    // hidden tasks count as nothing pending too
    catReset();
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

TEST(StartScale, EscalaOutOfRangeAndFitToWorkArea) {
    int ui = 0;
    EXPECT_DOUBLE_EQ(ovStartScale(1.0, 200, 1040, &ui), 1.0);
    EXPECT_EQ(ui, 100);
    EXPECT_DOUBLE_EQ(ovStartScale(1.0, 79, 1040, &ui), 1.0);
    EXPECT_EQ(ui, 100);
    EXPECT_DOUBLE_EQ(ovStartScale(1.0, 90, 1040, &ui), 0.9);  // smaller is never capped
    EXPECT_EQ(ui, 90);
    // 130 % on a 700-pixel work area: shrunk to what fits
    EXPECT_NEAR(ovStartScale(1.0, 130, 700, &ui), (700 - 70) / 624.0, 1e-12);
    EXPECT_EQ(ui, 130);
    // a tall screen keeps the full 130 %
    EXPECT_DOUBLE_EQ(ovStartScale(1.0, 130, 1400, &ui), 1.3);
    // never below the screen's own factor
    EXPECT_DOUBLE_EQ(ovStartScale(1.5, 150, 700, &ui), 1.5);
}

TEST(StartPos, ResetRules) {
    int x = -1, y = 300;
    ovStartPos(&x, &y, 12, 60, 1280, 800);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 12);  // one negative coordinate resets both
    x = 5000, y = 300;
    ovStartPos(&x, &y, 12, 60, 1280, 800);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 300);  // only the axis that is off the screen
    x = 1220, y = 741;
    ovStartPos(&x, &y, 12, 60, 1280, 800);
    EXPECT_EQ(x, 1220);
    EXPECT_EQ(y, 12);
    x = 0, y = 0;
    ovStartPos(&x, &y, 12, 60, 1280, 800);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(Alpha, CollapsedAddsThirtyCapped) {
    EXPECT_EQ(ovAlpha(215, 1), 215);
    EXPECT_EQ(ovAlpha(215, 0), 245);
    EXPECT_EQ(ovAlpha(240, 0), 255);
    EXPECT_EQ(ovAlpha(60, 0), 90);
}

}  // namespace

// The overlay fits the work area: its scale follows the real height of the list, not a fixed
// 624 units, and when even the smallest scale is too tall the rows are compact mode's.
TEST_F(Layout, FitsTheWorkAreaOfSmallScreens) {
    struct {
        double want, dpi;
        int units, workH;
        double scale;
    } scales[] = {
        {1.0, 1.0, 600, 1040, 1.0},           // fits: unchanged
        {1.0, 1.0, 811, 760, (760 - 70) / 811.0},  // an 800-pixel screen: shrunk to fit
        {1.0, 1.0, 938, 680, 0.8},            // a 720-pixel screen: the smallest scale
        {1.3, 1.0, 700, 1040, 1.3},
        {1.3, 1.0, 900, 1040, (1040 - 70) / 900.0},
        {0.9, 1.0, 2000, 700, 0.8},
        {0.7, 1.0, 2000, 700, 0.7},           // already smaller than the least: kept
        {1.5, 1.5, 800, 1400, 1.5},
    };
    for (auto& c : scales) EXPECT_NEAR(ovFitScale(c.want, c.dpi, c.units, c.workH), c.scale, 1e-12) << c.units;

    // the built-in list fits an 800-pixel screen at 100 % once the scale follows it
    int rc;
    int units = ovLayout(0, 0);
    EXPECT_GT(units, 760 - 70);  // taller than the screen at 100 %
    double s = ovFitScale(1.0, 1.0, units, 760);
    EXPECT_LE((int)(ovLayoutFit(0, 0, s, 760, &rc) * s + 0.5), 760 - 70);
    EXPECT_EQ(rc, 0);
    EXPECT_GE(streakY, 0);  // the streak block is there, and on the screen
    // 35 own tasks do not fit a 720-pixel screen even at the smallest scale: compact rows,
    // which grow back to the whole list once they fit again
    for (int i = 0; i < 35; i++) catAdd(i % 3, u"propia");
    units = ovLayoutFit(0, 0, 0.8, 680, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_LE((int)(units * 0.8 + 0.5), 680 - 70 + 31 * 48);  // compact rows: pending ones only
    EXPECT_EQ(streakY, -1);
    catReset();
    catAdd(0, u"propia");
    units = ovLayoutFit(0, 0, 0.8, 760, &rc);
    EXPECT_EQ(rc, 0);  // with one own task the whole list fits an 800-pixel screen again
    catReset();
    EXPECT_EQ(ovLayoutFit(1, 0, 1.0, 5000, &rc), ovLayout(1, 0));
    EXPECT_EQ(rc, 1);  // compact mode on: compact rows whatever fits
}
