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
    EXPECT_EQ(parse(u"ctrl + shift + f5"), std::make_pair(6u, 116u));
    EXPECT_EQ(parse(u"Mayús+Inicio"), std::make_pair(4u, 36u));
    EXPECT_EQ(parse(u"MAYUS+fin"), std::make_pair(4u, 35u));
    EXPECT_EQ(parse(u"Control+Alt+Win+PageDown"), std::make_pair(11u, 34u));
    EXPECT_EQ(parse(u"F24"), std::make_pair(0u, 135u));
    EXPECT_EQ(parse(u"Num7"), std::make_pair(0u, 103u));
    EXPECT_EQ(parse(u"VK220"), std::make_pair(0u, 220u));
    EXPECT_EQ(parse(u"A+B"), std::make_pair(0u, 66u));  // the later key wins
    EXPECT_EQ(parse(u"q"), std::make_pair(0u, 81u));
    EXPECT_EQ(parse(u"BloqDespl"), std::make_pair(0u, 145u));
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
    uiSetLang(0);
    EXPECT_EQ(render(6, 116), u"Ctrl+Shift+F5");
    EXPECT_EQ(render(4, 36), u"Shift+Inicio");
    EXPECT_EQ(render(15, 19), u"Ctrl+Alt+Shift+Win+Pausa");
    uiSetLang(1);
    EXPECT_EQ(render(4, 36), u"Shift+Home");
    EXPECT_EQ(render(0, 145), u"ScrollLock");
    EXPECT_EQ(render(0, 200), u"VK200");
    uiSetLang(3);  // German keyboards label Control "Strg"
    EXPECT_EQ(render(6, 116), u"Strg+Shift+F5");
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
