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

TEST(Welcome, PagesTurnForwardToTheEndAndBackToTheStart) {
    int page = 0, presses = 0;
    while (page >= 0 && presses < 10) {
        EXPECT_EQ(welBackShown(page), page > 0);
        EXPECT_EQ(welNextTextId(page), page == 3 ? 221 : 219);  // the last page's Next closes
        page = welAfterNext(page);
        presses++;
    }
    EXPECT_EQ(presses, 4);  // the fourth Next closes the tour
    for (auto [from, to] : {std::pair{3, 2}, {1, 0}, {0, 0}}) EXPECT_EQ(welAfterBack(from), to) << from;
}

TEST(Welcome, KeyPageNamesThePlayersKeysInEveryLanguage) {
    const char16_t* mine[4] = {u"Ctrl+F8", u"F6", u"Shift+B", u"Fin"};
    const char16_t* standard[4] = {u"F8", u"F7", u"F9", u"F10"};
    for (int l = 0; l < LANG_COUNT; l++) {
        SCOPED_TRACE(LANG_CODE[l]);
        uiSetLang(l);
        std::u16string stock = T(214);
        // with the default keys the text is the stored one
        EXPECT_EQ(welBody(1, standard), stock);
        auto got = lines(welBody(1, mine)), orig = lines(stock);
        ASSERT_EQ(got.size(), orig.size());
        for (int k = 0; k < 4; k++) {
            std::u16string want = std::u16string(mine[k]) + orig[k].substr(std::u16string(standard[k]).size());
            EXPECT_EQ(w8u(got[k]), w8u(want));
            EXPECT_EQ(got[k].substr(std::u16string(mine[k]).size(), 2), u"  ");
        }
        for (size_t k = 4; k < got.size(); k++) EXPECT_EQ(got[k], orig[k]);
        // other pages, and a missing key, keep the text as it is
        EXPECT_EQ(welBody(3, mine), std::u16string(T(218)));
        const char16_t* none[4] = {u"", u"F6", nullptr, u"F10"};
        EXPECT_EQ(lines(welBody(1, none))[0], orig[0]);
        EXPECT_EQ(lines(welBody(1, none))[1].substr(0, 4), u"F6  ");
    }
    uiSetLang(0);
}

TEST(Welcome, KeyCapsGrowIntoAColumnForLongKeys) {
    WelCap c[4];
    double narrow[4] = {20, 20, 20, 30};
    welCaps(narrow, c);
    const int grid[4][2] = {{36, 60}, {106, 60}, {36, 114}, {106, 114}};  // F8 F7 / F9 F10
    for (int k = 0; k < 4; k++) EXPECT_EQ((std::vector<int>{c[k].x, c[k].y, c[k].w, c[k].h}), (std::vector<int>{grid[k][0], grid[k][1], 58, 40})) << k;
    double oneLong[4] = {20, 90, 20, 20};  // "Ctrl+Shift+F7"
    welCaps(oneLong, c);
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(c[k].x + c[k].w, 36 + 106) << k;
        EXPECT_GE(c[k].y, k ? c[k - 1].y + c[k - 1].h : 0) << k;
    }
    double huge[4] = {400, 20, 20, 20};
    welCaps(huge, c);
    EXPECT_EQ(c[0].w, WEL_CAP_MAXW);
    EXPECT_LT(c[0].x + c[0].w, 220);     // left of the page's text
    EXPECT_LE(c[3].y + c[3].h, 400 - 58);  // above the buttons
}

TEST(About, CreditsNameTheDataItsLicenceFontsAndIconInEveryLanguage) {
    for (int l = 0; l < LANG_COUNT; l++) {
        SCOPED_TRACE(LANG_CODE[l]);
        uiSetLang(l);
        std::string c = w8u(aboutCredits());
        for (auto name : {CREDIT_DATA, CREDIT_DATA_BY, CREDIT_LICENCE, CREDIT_FONT1, CREDIT_FONT2})
            EXPECT_NE(c.find(w8u(name)), std::string::npos) << w8u(name);
        EXPECT_EQ(lines(aboutCredits()).size(), 3u);
        EXPECT_EQ(c.find('%'), std::string::npos);
        EXPECT_EQ(w8u(aboutVersion()).find('%'), std::string::npos);
    }
    uiSetLang(0);
}

TEST(Feedback, AddressCarriesVersionBuildLanguageAndWindows) {
    struct {
        const char* code;
        unsigned long a, b, c;
        const char* want;
    } cases[] = {
        {"es", 10, 0, 19045, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=es&w=10.0.19045"},
        {"pt", 6, 1, 7601, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=pt&w=6.1.7601"},
        {"de", 0, 0, 0, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=de&w=0.0.0"},  // version unknown
        {"x&y=1", 4294967295ul, 1, 2, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=&w=4294967295.1.2"},
        {nullptr, 10, 0, 1, "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=&w=10.0.1"},
    };
    for (auto& c : cases) EXPECT_EQ(w8u(feedbackUrl(c.code, c.a, c.b, c.c)), c.want);
}
