#include <gtest/gtest.h>

#include <string>

#include "l10n/ui.h"
#include "base/utf.h"

TEST(UiText, UnknownIdsGiveEmptyAndDoNotTouchTheCache) {
    uiSetLang(0);
    for (int id : {UI_COUNT, -1, 1 << 30}) EXPECT_EQ(std::u16string(T(id)), u"") << id;
    for (int i = 0; i < UI_COUNT; i++) EXPECT_EQ(uiCached(i), 0);
}

TEST(UiText, FallbackOrderIsCurrentThenEnglishThenSpanish) {
    const char* full[6] = {"es", "en", "fr", "de", "it", "pt"};
    const char* noFr[6] = {"es", "en", "", "de", "it", "pt"};
    const char* onlyEs[6] = {"es", "", nullptr, "", "", ""};
    const char* noEs[6] = {"", "en", "fr", "de", "it", "pt"};
    // Spanish never falls back to English
    struct { const char** texts; int lang; const char* want; } cases[] = {
        {full, 2, "fr"}, {noFr, 2, "en"}, {onlyEs, 2, "es"}, {onlyEs, 1, "es"}, {noEs, 0, ""}};
    for (auto& c : cases) EXPECT_STREQ(uiPick(c.texts, c.lang), c.want) << (&c - cases);
}

TEST(UiText, LanguageCodes) {
    struct Code {
        const char16_t* code;
        int lang;
    } codes[] = {{u"EN", 1}, {u"Pt", 5}, {u"en-GB", -1}, {u"e", -1}, {nullptr, -1}};
    for (const Code& c : codes) EXPECT_EQ(langFromCode(c.code), c.lang);
    // Spanish (modern sort), Brazilian Portuguese, French; Catalan: English
    int ids[][2] = {{0x0C0A, 0}, {0x0416, 5}, {0x040C, 2}, {0x0403, 1}};
    for (auto& c : ids) EXPECT_EQ(langFromSystem(c[0]), c[1]) << c[0];
}

TEST(Utf, RoundTripsAndReplacesBadBytes) {
    std::string s = "Français · ✓ 𝄞";
    EXPECT_EQ(w8u(u8w(s)), s);
    EXPECT_EQ(u8w("a\xC0\xAFz"), u"a\uFFFD\uFFFDz");  // overlong slash
    EXPECT_EQ(u8w("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(w8u(u"\xD800x"), "\xEF\xBF\xBDx");       // lone surrogate
}
