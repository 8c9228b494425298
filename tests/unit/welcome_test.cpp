#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/endpoints.h"
#include "base/utf.h"
#include "l10n/ui.h"
#include "tools/about.h"
#include "tools/welcome.h"

namespace {
std::vector<std::u16string> lines(const std::u16string& s) {
    std::vector<std::u16string> out;
    size_t pos = 0;
    for (;;) {
        size_t e = s.find(u'\n', pos);
        out.push_back(s.substr(pos, e == std::u16string::npos ? e : e - pos));
        if (e == std::u16string::npos) return out;
        pos = e + 1;
    }
}
}  // namespace

TEST(Welcome, KeyPageNamesThePlayersKeysInEveryLanguage) {
    const char16_t* mine[4] = {u"Ctrl+F8", u"F6", u"Shift+B", u"Fin"};
    const char16_t* standard[4] = {u"F8", u"F7", u"F9", u"F10"};
    for (int l = 0; l < LANG_COUNT; l++) {
        SCOPED_TRACE(LANG_CODE[l]);
        uiSetLang(l);
        std::u16string stock = T(214);
        auto got = lines(welBody(1, mine)), orig = lines(stock);
        ASSERT_EQ(got.size(), orig.size());
        for (int k = 0; k < 4; k++)  // the player's key, then the line's own text
            EXPECT_EQ(w8u(got[k]), w8u(std::u16string(mine[k]) + orig[k].substr(std::u16string(standard[k]).size())));
        for (size_t k = 4; k < got.size(); k++) EXPECT_EQ(got[k], orig[k]);
        // a missing key keeps the text as it is
        const char16_t* none[4] = {u"", u"F6", nullptr, u"F10"};
        EXPECT_EQ(lines(welBody(1, none))[0], orig[0]);
        EXPECT_EQ(lines(welBody(1, none))[1].substr(0, 4), u"F6  ");
    }
    uiSetLang(0);
}

// Long key names put the caps in one column that stays left of the text and above the buttons.
TEST(Welcome, KeyCapsGrowIntoAColumnForLongKeys) {
    WelCap c[4];
    double huge[4] = {400, 20, 20, 20};
    welCaps(huge, c);
    EXPECT_EQ(c[0].w, WEL_CAP_MAXW);
    for (int k = 0; k < 4; k++) {
        EXPECT_LT(c[k].x + c[k].w, 220) << k;
        EXPECT_GE(c[k].y, k ? c[k - 1].y + c[k - 1].h : 0) << k;
    }
    EXPECT_LE(c[3].y + c[3].h, 400 - 58);
}

// One language is enough: the generator keeps every language's placeholders in the Spanish order.
TEST(About, CreditsNameTheDataItsLicenceAndFonts) {
    uiSetLang(0);
    std::string c = w8u(aboutCredits());
    for (auto name : {CREDIT_DATA, CREDIT_DATA_BY, CREDIT_LICENCE, CREDIT_FONT1, CREDIT_FONT2})
        EXPECT_NE(c.find(w8u(name)), std::string::npos) << w8u(name);
    EXPECT_EQ((c + w8u(aboutVersion())).find('%'), std::string::npos);  // every placeholder filled
}

TEST(Feedback, AddressCarriesVersionBuildLanguageAndWindows) {
    struct {
        const char* code;
        unsigned long a, b, c;
        const char* want;
    } cases[] = {
        {"es", 10, 0, 19045, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=es&w=10.0.19045"},
        {"x&y=1", 4294967295ul, 1, 2, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=&w=4294967295.1.2"},  // no injection
        {nullptr, 10, 0, 1, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=&w=10.0.1"},
    };
    for (auto& c : cases) EXPECT_EQ(w8u(feedbackUrl(c.code, c.a, c.b, c.c)), c.want);
}
