#include <gtest/gtest.h>

#include <string>

#include "l10n/keys.h"
#include "l10n/ui.h"

namespace {
std::pair<unsigned, unsigned> parse(const char16_t* t, int* ok = nullptr) {
    unsigned m = 99, v = 99;
    int r = parseKey(t, &m, &v);
    if (ok) *ok = r;
    return {m, v};
}
std::u16string render(unsigned m, unsigned v) {
    char16_t out[64];
    return keyToStr(m, v, out);
}
}  // namespace

TEST(Keys, ParsesModifiersAndNames) {
    struct { const char16_t* text; unsigned mods, vk; } cases[] = {
        {u"ctrl + shift + f5", 6, 116}, {u"MAYUS+fin", 4, 35}, {u"Control+Alt+Win+PageDown", 11, 34},
        {u"A+B", 0, 66} /* the later key wins */, {u"strg+f8", 2, 119}, {u"BloqDespl", 0, 145},
    };
    for (auto& c : cases) EXPECT_EQ(parse(c.text), std::make_pair(c.mods, c.vk)) << (&c - cases);
}

TEST(Keys, RejectsWhatIsNoKey) {
    int ok = 1;
    for (const char16_t* t : {u"F25", u"VK256", u"Ctrl+Shift", u"", u"++  +", u"Num10", u"é"}) {
        auto r = parse(t, &ok);
        EXPECT_EQ(ok, 0);
        EXPECT_EQ(r.second, 0u);
    }
    unsigned m = 1, v = 1;
    EXPECT_EQ(parseKey(nullptr, &m, &v), 0);
    EXPECT_EQ(m + v, 0u);
    // only the first 63 characters count: a key after them is not seen
    std::u16string longText(70, u' ');
    longText += u"F5";
    EXPECT_EQ(parse(longText.c_str(), &ok).second, 0u);
}

// Whatever the language renders (German labels Control "Strg"), it parses back as the same key.
TEST(Keys, EveryRenderedTextParsesBack) {
    uiSetLang(3);
    EXPECT_EQ(render(6, 116), u"Strg+Shift+F5");
    for (int l : {0, 1, 3}) {
        uiSetLang(l);
        for (unsigned m = 0; m < 16; m++)
            for (unsigned v = 1; v <= 255; v++) {
                int ok = 0;
                auto r = parse(render(m, v).c_str(), &ok);
                ASSERT_EQ(ok, 1) << m << " " << v;
                ASSERT_EQ(r, std::make_pair(m, v)) << "lang " << l;
            }
    }
    uiSetLang(0);
}

TEST(Keys, HookRepeatFilter) {
    KbRepeat st;
    EXPECT_EQ(kbIsRepeat(st, 118, 1000), 0);
    kbAccept(st, 118, 1000);
    // auto-repeat while held: every event within 400 ms of the previous one is dropped
    for (uint32_t t = 1030; t < 3000; t += 30) EXPECT_EQ(kbIsRepeat(st, 118, t), 1);
    // released and pressed again after a pause: fires; another key is not a repeat
    EXPECT_EQ(kbIsRepeat(st, 118, 3500), 0);
    kbAccept(st, 118, 3500);
    EXPECT_EQ(kbIsRepeat(st, 118, 3899), 1);  // a second press within 400 ms
    EXPECT_EQ(kbIsRepeat(st, 119, 3900), 0);
    // the tick counter wraps
    kbAccept(st, 118, 0xFFFFFF00u);
    EXPECT_EQ(kbIsRepeat(st, 118, 0x20), 1);
}
