// The image viewer's fit, zoom, pan and navigation rules.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "images/viewcalc.h"

TEST(Viewer, TallPictureFillsTheWidthAndScrolls) {
    EXPECT_DOUBLE_EQ(vBaseScale(600, 2000, 1000, 700), 1.5);  // at most 1.5 times enlarged
    VState v;
    VRect r = vPlace(v, 600, 2000, 1000, 700);
    EXPECT_EQ((std::vector<int>{r.x, r.y, r.w}), (std::vector<int>{50, 0, 900}));  // centred across
    int top = -1, hgt = -1;
    v.offY = 1e9;  // panned past the end: held at the bottom
    vClamp(v, 600, 2000, 1000, 700);
    EXPECT_DOUBLE_EQ(v.offY, 3000 - 700);
    ASSERT_TRUE(vIndicator(v, 600, 2000, 1000, 700, 30, top, hgt));
    EXPECT_EQ(top + hgt, 700);
    EXPECT_EQ(vPlace(v, 600, 2000, 1000, 700).y, -2300);
    EXPECT_DOUBLE_EQ(vBaseScale(900, 2000, 1000, 700), 1000.0 / 900);  // not more than the width
}

TEST(Viewer, WidePictureFitsAndDoesNotPan) {
    EXPECT_DOUBLE_EQ(vBaseScale(1600, 900, 1000, 700), 0.625);
    VState v;
    v.offX = v.offY = 50;
    vClamp(v, 1600, 900, 1000, 700);
    EXPECT_EQ(v.offX + v.offY, 0);
    int top, hgt;
    EXPECT_FALSE(vIndicator(v, 1600, 900, 1000, 700, 30, top, hgt));
    EXPECT_DOUBLE_EQ(vBaseScale(0, 900, 1000, 700), 1.0);
}

TEST(Viewer, ZoomIsBoundedAndKeepsThePointUnderTheMouse) {
    VState v;
    for (int i = 0; i < 12; i++) vZoomAt(v, 1.25, 500, 350, 1600, 900, 1000, 700);
    EXPECT_DOUBLE_EQ(v.zoom, 8.0);
    for (int i = 0; i < 20; i++) vZoomAt(v, 0.8, 500, 350, 1600, 900, 1000, 700);
    EXPECT_DOUBLE_EQ(v.zoom, 1.0);
    EXPECT_EQ(v.offX, 0);

    // a double-click at a point zooms to 2 with that picture point fixed
    VState d;
    double s0 = 0.625;
    VRect r0 = vPlace(d, 1600, 900, 1000, 700);
    double px = (300 - r0.x) / s0, py = (200 - r0.y) / s0;  // picture point under (300, 200)
    vZoomAt(d, 2.0, 300, 200, 1600, 900, 1000, 700);
    EXPECT_DOUBLE_EQ(d.zoom, 2.0);
    VRect r1 = vPlace(d, 1600, 900, 1000, 700);
    EXPECT_NEAR(r1.x + px * 1.25, 300, 1.0);
    EXPECT_NEAR(r1.y + py * 1.25, 200, 1.0);
    VState none;
    vZoomAt(none, 2.0, 0, 0, 0, 0, 1000, 700);  // nothing without a picture
    EXPECT_DOUBLE_EQ(none.zoom, 1.0);
}

TEST(Viewer, GalleryWraps) {
    // previous on the first is the last
    for (auto [i, n, want] : {std::tuple{-1, 5, 4}, {-11, 5, 4}, {3, 0, 0}}) EXPECT_EQ(vWrap(i, n), want) << i;
}
