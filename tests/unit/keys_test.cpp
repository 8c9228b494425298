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
        {u"ctrl + shift + f5", 6, 116}, {u"Mayús+Inicio", 4, 36}, {u"MAYUS+fin", 4, 35},
        {u"Control+Alt+Win+PageDown", 11, 34}, {u"F24", 0, 135}, {u"Num7", 0, 103}, {u"VK220", 0, 220},
        {u"A+B", 0, 66} /* the later key wins */, {u"q", 0, 81}, {u"BloqDespl", 0, 145},
    };
    for (auto& c : cases) EXPECT_EQ(parse(c.text), std::make_pair(c.mods, c.vk)) << (&c - cases);
}

TEST(Keys, RejectsWhatIsNoKey) {
    int ok = 1;
    for (const char16_t* t : {u"F25", u"F0", u"VK0", u"VK256", u"Ctrl+Shift", u"", u"++  +", u"Num10", u"é", u"F01"}) {
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

TEST(Keys, RendersInTheInterfaceLanguage) {
    struct { int lang; unsigned mods, vk; const char16_t* text; } cases[] = {
        {0, 15, 19, u"Ctrl+Alt+Shift+Win+Pausa"}, {1, 4, 36, u"Shift+Home"}, {1, 0, 200, u"VK200"},
        {3, 6, 116, u"Strg+Shift+F5"},  // German keyboards label Control "Strg"
    };
    for (auto& c : cases) {
        uiSetLang(c.lang);
        EXPECT_EQ(render(c.mods, c.vk), c.text);
    }
    EXPECT_EQ(parse(u"strg+f8"), std::make_pair(2u, 119u));
    uiSetLang(0);
}

TEST(Keys, EveryRenderedTextParsesBack) {
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
    // released and pressed again after a pause: fires
    EXPECT_EQ(kbIsRepeat(st, 118, 3500), 0);
    kbAccept(st, 118, 3500);
    EXPECT_EQ(kbIsRepeat(st, 118, 3800), 1);  // second press within 300 ms
    EXPECT_EQ(kbIsRepeat(st, 119, 3810), 0);  // another key is not a repeat
    // the tick counter wraps
    kbAccept(st, 118, 0xFFFFFF00u);
    EXPECT_EQ(kbIsRepeat(st, 118, 0x20), 1);
}
