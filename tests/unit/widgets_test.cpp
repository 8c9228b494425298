// The shared widgets' rules: button colours per look and state, the question dialog's
// trimming and answer, and the glyph geometry as data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "widgets/glyphs.h"
#include "widgets/look.h"

TEST(ButtonLook, IdsChooseTheLook) {
    for (int id : {308, 309, 312, 318}) EXPECT_EQ(btnLook(id), BTN_PRIMARY) << id;
    EXPECT_EQ(btnLook(313), BTN_CHECK);
    for (int id : {1, 2, 306, 310, 317, 1101, 211}) EXPECT_EQ(btnLook(id), BTN_SECONDARY) << id;
}

TEST(ButtonLook, ColoursPerState) {
    struct Case {
        BtnLook look;
        bool pressed, disabled, owned;
        uint32_t face, border, text;
    } cases[] = {
        {BTN_PRIMARY, false, false, false, COL_ACCENT, COL_NONE, COL_BG},
        {BTN_PRIMARY, true, false, false, COL_ACCENT_DOWN, COL_NONE, COL_BG},
        // a disabled primary is never orange: panel face, a border and dim text
        {BTN_PRIMARY, false, true, false, COL_PANEL, COL_BORDER, COL_BORDER},
        {BTN_PRIMARY, true, true, false, COL_PANEL, COL_BORDER, COL_BORDER},
        {BTN_SECONDARY, false, false, false, COL_PANEL, COL_BORDER, COL_TEXT},
        {BTN_SECONDARY, true, false, false, COL_BORDER, COL_BORDER, COL_TEXT},
        {BTN_SECONDARY, false, true, false, COL_PANEL, COL_BORDER, COL_BORDER},
        {BTN_SECONDARY, false, false, true, COL_PANEL, COL_BORDER, COL_GOOD},
    };
    for (const Case& c : cases) {
        BtnColours got = btnColours(c.look, c.pressed, c.disabled, c.owned);
        SCOPED_TRACE(testing::Message() << c.look << c.pressed << c.disabled << c.owned);
        EXPECT_EQ(got.face, c.face);
        EXPECT_EQ(got.border, c.border);
        EXPECT_EQ(got.text, c.text);
    }
    EXPECT_EQ(COL_ACCENT, 0x00106DFFu);  // RGB(255, 109, 16) as the system lays it out
}

TEST(Ask, TrimsOnlySpacesAndAnswersPerOutcome) {
    struct Case {
        const char16_t* in;
        bool ok;
        const char16_t* out;
        int result;
    } cases[] = {
        {u"  palabra  ", true, u"palabra", 1},
        {u"   ", true, u"", 0},
        {u"", true, u"", 0},
        {u"  palabra  ", false, u"palabra", 0},  // Cancel trims too
        {u"\tdos  palabras\t", true, u"\tdos  palabras\t", 1},  // only U+0020 goes
        {u" Misión ñ — 日本 ", true, u"Misión ñ — 日本", 1},
        {u"x", true, u"x", 1},
    };
    for (const Case& c : cases) {
        char16_t buf[ASK_BUF] = {};
        std::u16string in(c.in);
        std::memcpy(buf, in.c_str(), (in.size() + 1) * sizeof(char16_t));
        EXPECT_EQ(askResult(c.ok, buf), c.result);
        EXPECT_EQ(std::u16string(buf), std::u16string(c.out));
    }
    EXPECT_EQ(askResult(true, nullptr), 1);
    EXPECT_EQ(askResult(false, nullptr), 0);
    EXPECT_EQ(askHeight(true) - askHeight(false), 40);
    EXPECT_EQ(askHeight(false), 158);
}

namespace {

bool same(const Glyph& a, const Glyph& b) {
    if (a.n != b.n) return false;
    for (int i = 0; i < a.n; i++) {
        const GlyphPart &p = a.part[i], &q = b.part[i];
        if (p.op != q.op || p.n != q.n || p.a0 != q.a0 || p.sweep != q.sweep) return false;
        for (int k = 0; k < p.n; k++)
            if (p.pt[k].x != q.pt[k].x || p.pt[k].y != q.pt[k].y) return false;
    }
    return true;
}

double dist(GPt p, double cx, double cy) { return std::hypot(p.x - cx, p.y - cy); }

}  // namespace

TEST(Glyphs, UnknownNumbersDrawTheNoticeGlyph) {
    for (int n : {-1, 14, 42, 1000}) EXPECT_TRUE(same(glyphOf(n), glyphOf(11))) << n;
    for (int n = 0; n < GLYPH_COUNT; n++)
        if (n != 11) EXPECT_FALSE(same(glyphOf(n), glyphOf(11))) << n;
}

TEST(Glyphs, EveryPartStaysInsideItsSquare) {
    for (int n = 0; n < GLYPH_COUNT; n++) {
        const Glyph& g = glyphOf(n);
        ASSERT_GT(g.n, 0) << n;
        for (int i = 0; i < g.n; i++) {
            const GlyphPart& p = g.part[i];
            bool round = p.op == G_CIRCLE || p.op == G_DOT || p.op == G_ARC;
            EXPECT_EQ(p.n, round ? 2 : p.n) << n;
            if (round) {
                EXPECT_EQ(p.pt[1].x, p.pt[1].y);  // a circle's box is square
                EXPECT_LE(p.pt[0].x + p.pt[1].x, 1.0f) << n;
                EXPECT_LE(p.pt[0].y + p.pt[1].y, 1.0f) << n;
            }
            for (int k = 0; k < p.n; k++) {
                EXPECT_GE(p.pt[k].x, 0.0f) << n;
                EXPECT_LE(p.pt[k].x, 1.0f) << n;
                EXPECT_GE(p.pt[k].y, 0.0f) << n;
                EXPECT_LE(p.pt[k].y, 1.0f) << n;
            }
            if (p.op == G_BEZIER) EXPECT_EQ((p.n - 1) % 3, 0) << n;
            if (p.op == G_LINES) EXPECT_GE(p.n, 2) << n;
            if (p.op == G_OUTLINE || p.op == G_FILL) EXPECT_GE(p.n, 3) << n;
        }
    }
}

TEST(Glyphs, StarsAndNutFromTheirRadii) {
    struct Case {
        int glyph, vertices;
        double cx, cy, even, odd, firstX, firstY;
    } cases[] = {
        {5, 10, 0.5, 0.53, 0.42, 0.19, 0.5, 0.11},   // first point straight up
        {6, 8, 0.5, 0.53, 0.42, 0.13, 0.5, 0.11},
        {7, 6, 0.5, 0.5, 0.38, 0.38, 0.88, 0.5},     // first vertex at 0 degrees
    };
    for (const Case& c : cases) {
        const GlyphPart& p = glyphOf(c.glyph).part[0];
        ASSERT_EQ(p.op, G_OUTLINE);
        ASSERT_EQ(p.n, c.vertices) << c.glyph;
        EXPECT_NEAR(p.pt[0].x, c.firstX, 1e-5);
        EXPECT_NEAR(p.pt[0].y, c.firstY, 1e-5);
        for (int k = 0; k < p.n; k++) {
            EXPECT_NEAR(dist(p.pt[k], c.cx, c.cy), k % 2 ? c.odd : c.even, 1e-5) << c.glyph << " vertex " << k;
            // vertices go round clockwise on screen, one step of 360/count each
            double ang = std::atan2(p.pt[k].y - c.cy, p.pt[k].x - c.cx) * 180 / 3.14159265358979;
            double want = std::fmod((c.glyph == 7 ? 0 : -90) + k * 360.0 / c.vertices + 540.0, 360.0) - 180.0;
            EXPECT_NEAR(std::fmod(ang - want + 540.0, 360.0) - 180.0, 0.0, 1e-3) << c.glyph << " vertex " << k;
        }
    }
}

TEST(Glyphs, ShapesOfTheTable) {
    // crosshair: a circle and four ticks that stop short of it
    const Glyph& cross = glyphOf(3);
    ASSERT_EQ(cross.n, 5);
    EXPECT_EQ(cross.part[0].op, G_CIRCLE);
    EXPECT_FLOAT_EQ(cross.part[0].pt[1].x, 0.6f);
    // broadcast: a dot, two inner and two outer arcs facing each other
    const Glyph& cast = glyphOf(12);
    ASSERT_EQ(cast.n, 5);
    EXPECT_EQ(cast.part[0].op, G_DOT);
    float arcs[4][3] = {{0.48f, -50, 100}, {0.48f, 130, 100}, {0.8f, -45, 90}, {0.8f, 135, 90}};
    for (int i = 0; i < 4; i++) {
        const GlyphPart& p = cast.part[i + 1];
        EXPECT_EQ(p.op, G_ARC);
        EXPECT_FLOAT_EQ(p.pt[1].x, arcs[i][0]);
        EXPECT_FLOAT_EQ(p.a0, arcs[i][1]);
        EXPECT_FLOAT_EQ(p.sweep, arcs[i][2]);
        EXPECT_FLOAT_EQ(p.pt[0].x + p.pt[1].x / 2, 0.5f);  // every arc centred on the glyph
    }
    // heart: one closed path of four curves, symmetric about x = 0.5
    const GlyphPart& heart = glyphOf(13).part[0];
    ASSERT_EQ(heart.op, G_BEZIER);
    ASSERT_EQ(heart.n, 13);
    for (int k = 0; k < 13; k++) {
        EXPECT_NEAR(heart.pt[k].x + heart.pt[12 - k].x, 1.0, 1e-6) << k;
        EXPECT_NEAR(heart.pt[k].y, heart.pt[12 - k].y, 1e-6) << k;
    }
    // play screen: the triangle is filled, the frame outlined; picture's sun is filled
    EXPECT_EQ(glyphOf(10).part[1].op, G_FILL);
    EXPECT_EQ(glyphOf(8).part[2].op, G_DOT);
    EXPECT_EQ(glyphOf(0).n, 3);
}
