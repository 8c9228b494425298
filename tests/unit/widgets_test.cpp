// The shared widgets' rules: button colours per state, the question dialog's trimming and
// answer, and the glyphs staying inside their square (how each part is drawn: the Wine and
// end-to-end screenshots).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "widgets/glyphs.h"
#include "widgets/look.h"

TEST(ButtonLook, StatesAreToldApartAndADisabledButtonIsNeverOrange) {
    for (BtnLook look : {BTN_PRIMARY, BTN_SECONDARY}) {
        BtnColours up = btnColours(look, false, false, false), down = btnColours(look, true, false, false);
        EXPECT_NE(up.face, down.face) << look;
        for (bool pressed : {false, true}) {
            BtnColours off = btnColours(look, pressed, true, false);
            EXPECT_NE(off.face, COL_ACCENT) << look;
            EXPECT_NE(off.text, up.text) << look;
        }
    }
    EXPECT_NE(btnColours(BTN_SECONDARY, false, false, true).text, btnColours(BTN_SECONDARY, false, false, false).text);
}

TEST(Ask, TrimsOnlySpacesAndAnswersPerOutcome) {
    struct Case {
        const char16_t* in;
        bool ok;
        const char16_t* out;
        int result;
    } cases[] = {
        {u"   ", true, u"", 0}, {u"  palabra  ", false, u"palabra", 0},  // Cancel trims too
        {u"\tdos  palabras\t", true, u"\tdos  palabras\t", 1},  // only U+0020 goes
        {u" Misión ñ — 日本 ", true, u"Misión ñ — 日本", 1},
    };
    for (const Case& c : cases) {
        char16_t buf[ASK_BUF] = {};
        std::u16string in(c.in);
        std::memcpy(buf, in.c_str(), (in.size() + 1) * sizeof(char16_t));
        EXPECT_EQ(askResult(c.ok, buf), c.result);
        EXPECT_EQ(std::u16string(buf), std::u16string(c.out));
    }
    EXPECT_EQ(askResult(true, nullptr), 1);
}

TEST(Glyphs, EveryPartStaysInsideItsSquareAndUnknownNumbersDrawOne) {
    for (int n : {-1, GLYPH_COUNT, 1000}) EXPECT_EQ(&glyphOf(n), &glyphOf(GLYPH_FALLBACK)) << n;
    for (int n = 0; n < GLYPH_COUNT; n++) {
        const Glyph& g = glyphOf(n);
        ASSERT_GT(g.n, 0) << n;
        for (int i = 0; i < g.n; i++) {
            const GlyphPart& p = g.part[i];
            ASSERT_TRUE(p.n >= 2 && p.n <= GLYPH_POINTS) << n;  // the painter reads p.n points
            bool round = p.op == G_CIRCLE || p.op == G_DOT || p.op == G_ARC;
            float w = round ? p.pt[1].x : 0, h = round ? p.pt[1].y : 0;  // a circle's box
            for (int k = 0; k < (round ? 1 : p.n); k++)
                EXPECT_TRUE(p.pt[k].x >= 0 && p.pt[k].x + w <= 1 && p.pt[k].y >= 0 && p.pt[k].y + h <= 1) << n << " part " << i;
        }
    }
}

