#include <gtest/gtest.h>

#include "testutil.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "datapack/news.h"
#include "datapack/pack.h"
#include "l10n/ui.h"

namespace {

// "YYYY-MM-DD HH:MM" in UTC, as a pack writes its instants.
std::string stamp(long long t) {
    std::time_t tt = (std::time_t)t;
    char b[32];
    std::strftime(b, sizeof b, "%Y-%m-%d %H:%M", std::gmtime(&tt));
    return b;
}

std::string item(const std::string& fields) { return "[noticia]\n" + fields + "\n"; }

std::u16string txt(int i) { return newsTxt[i]; }

// The texts of the selected items, in order.
std::vector<std::u16string> shown() {
    std::vector<std::u16string> v;
    for (int i = 0; i < nNews; i++) v.push_back(newsTxt[i]);
    return v;
}
using Texts = std::vector<std::u16string>;

// Madrid time, English texts, an empty selection.
class News : public ::testing::Test {
protected:
    TzScope tz{"Europe/Madrid"};
    // Tuesday 2026-12-08, 13:00 in Madrid
    const long long now = utc(2026, 12, 8, 12);

    void SetUp() override {
        uiSetLang(1);
        pkClear();
        newsClear();
        evLocalHook = nullptr;
    }
    void TearDown() override {
        uiSetLang(0);
        pkClear();
        newsClear();
        evLocalHook = nullptr;
    }
    void load(const std::string& body) {
        std::string t = "# ZENVORAL-DATOS 1\nversion = 1\n" + body;
        ASSERT_EQ(pkParse(t.data(), t.size()), 1);
    }
};

}  // namespace

TEST_F(News, AtMostThreeInPackOrder) {
    load("[guia]\ntitulo = g\n" + item("corto = a") + item("titulo = b") + "[creador]\nnombre = c\n" +
         item("titulo = only title\ncorto = c") + item("corto = d") + item("corto = e"));
    newsRefresh(now);
    EXPECT_EQ(shown(), (Texts{u"a", u"b", u"c"}));
    EXPECT_EQ(newsBlk[2], 5);

    // an item without any text does not take a place
    load(item("sub = nothing to show") + item("corto.en = english\ncorto.es = spanish\ndestacado = yes"));
    newsRefresh(now);
    EXPECT_EQ(shown(), Texts{u"english"});
    EXPECT_EQ(newsHot[0], 1);

    load(item("corto = " + std::string(300, 'x')));
    newsRefresh(now);
    EXPECT_EQ(txt(0).size(), size_t(NEWS_TEXT - 1));

}

TEST_F(News, StartShowsAWeekAhead) {
    load(item("corto = eight\ninicio = " + stamp(now + 8 * 86400)) +
         item("corto = six\naprox = sí\ninicio = " + stamp(now + 6 * 86400 + 5 * 3600)) +
         item("corto = edge\ninicio = " + stamp(now + NEWS_LEAD)) +
         // a start inside the week wins over a "desde" that lies ahead
         item("corto = desde ignored\ndesde = 2026-12-20\ninicio = " + stamp(now + 3600)));
    newsRefresh(now);
    EXPECT_EQ(shown(), (Texts{u"six", u"edge", u"desde ignored"}));
    char16_t left[LEFT_TEXT];
    EXPECT_EQ(newsCountdown(left, newsIni[0], newsFin[0], newsApx[0], now), 1);
    EXPECT_EQ(std::u16string(left), u"in ~6 d 5 h");
}

TEST_F(News, EndAndDateRange) {
    load(item("corto = ended\nfin = " + stamp(now - 60) + "\nhasta = 2026-12-31") +
         item("corto = running\nfin = " + stamp(now + 7200) + "\nhasta = 2026-12-01") +
         item("corto = not yet\ndesde = 2026-12-09") + item("corto = over\nhasta = 2026-12-07") +
         item("corto = bounds\ndesde = 2026-12-08\nhasta = 2026-12-08"));
    newsRefresh(now);
    EXPECT_EQ(shown(), (Texts{u"running", u"bounds"}));
    // the dates are the player's local days: 00:30 in Madrid is still the 8th in UTC
    newsRefresh(utc(2026, 12, 8, 23, 30));
    EXPECT_EQ(shown(), Texts{u"not yet"});
    EXPECT_STREQ(newsDay, "2026-12-09");
    // and the item's end is exact to the second
    newsRefresh(now + 7199);
    EXPECT_EQ(txt(0), u"running");
    newsRefresh(now + 7200);
    EXPECT_EQ(txt(0), u"bounds");
}

TEST_F(News, WeekdaysAndOptOut) {
    load(item("corto = tue fri\ndias = 2,5") + item("corto = sunday\ndias = 7") +
         item("corto = off\nchecklist = No") + item("corto = off too\nchecklist = 0") +
         item("corto = on\nchecklist = sí"));
    struct { long long t; Texts want; } days[] = {
        {utc(2026, 12, 9, 12), {u"on"}},                 // Wednesday
        {utc(2026, 12, 13, 12), {u"sunday", u"on"}},
        {utc(2026, 12, 7, 23, 30), {u"tue fri", u"on"}},  // late Monday in UTC is Tuesday in Madrid
    };
    for (auto& d : days) {
        newsRefresh(d.t);
        EXPECT_EQ(shown(), d.want) << d.t;
    }
}

// One table for the countdown texts: each branch once, and the day and hour marks of each language.
TEST_F(News, CountdownTextsInEachLanguage) {
    char16_t b[LEFT_TEXT];
    const long long h76 = 76 * 3600 + 59;
    struct { int lang; long long ini, fin; int apx; const char16_t *news, *left; } cases[] = {
        {1, now + 1, 0, 1, u"in ~1 min", u"x 0h 00m"},  // under a minute counts as one
        {1, now + 3600 + 20 * 60 + 59, 0, 0, u"in 1 h 20 min", u"x 1h 20m"},
        {1, now + 2 * 86400 + 59, 0, 0, u"in 2 d", u"x 2d 0h"},
        {1, now - 10, now + 5 * 3600 + 20 * 60, 1, u"~5 h 20 min left", nullptr},
        {2, now + h76, 0, 0, u"dans 3 j 4 h", u"x 3j 4h"},
        {3, now + h76, 0, 0, u"in 3 T 4 h", u"x 3T 4h"},
    };
    for (auto& c : cases) {
        uiSetLang(c.lang);
        newsCountdown(b, c.ini, c.fin, c.apx, now);
        EXPECT_EQ(std::u16string(b), c.news) << c.ini - now;
        if (!c.left) continue;
        fmtLeft(b, u"x", c.ini - now);
        EXPECT_EQ(std::u16string(b), c.left) << c.ini - now;
    }
    fmtLeft(b, u"x", -400);
    EXPECT_EQ(std::u16string(b), u"x 0h 00m");
    fmtLeft(b, nullptr, 0x7FFFFFFFFFFFFFFFLL);
    EXPECT_LT(std::u16string(b).size(), size_t(LEFT_TEXT));
    // ended: no text; urgent below one day
    EXPECT_EQ(newsCountdown(b, now - 10, now - 5, 0, now), 0);
    EXPECT_EQ(std::u16string(b), u"");
    EXPECT_EQ(newsCountdown(b, now + 86399, 0, 0, now), 2);
    EXPECT_EQ(newsCountdown(b, now + 86400, 0, 0, now), 1);
}

TEST_F(News, TimerDecisions) {
    load(item("corto = timed\nfin = " + stamp(now + 180)) + item("corto = plain"));
    newsRefresh(now);
    ASSERT_EQ(nNews, 2);
    // 1: a new minute with a countdown on screen; 2: an item ends
    for (auto [t, want] : {std::pair{0, 1}, {2, 0}, {60, 1}, {179, 1}, {179, 0}, {180, 2}}) EXPECT_EQ(newsTick(now + t), want) << t;
    newsRefresh(now + 180);
    ASSERT_EQ(nNews, 1);
    EXPECT_EQ(newsTick(now + 240), 0);  // nothing timed left
    EXPECT_EQ(newsTick(utc(2026, 12, 8, 23, 0)), 2);  // midnight in Madrid
}

TEST_F(News, LocalTimes) {
    char16_t b[EV_TEXT];
    evLocal(utc(2026, 7, 3, 8), b);  // summer time
    EXPECT_EQ(std::u16string(b), u"2026-07-03 10:00");
    evLocal(0x7FFFFFFFFFFFFFFFLL, b);
    EXPECT_EQ(std::u16string(b), u"");
    evLocalHook = [](long long t, char16_t* dst, int cap) {
        for (int i = 0; i < cap; i++) dst[i] = u'x';  // a careless formatter still ends in time
    };
    evLocal(0, b);
    EXPECT_EQ(std::u16string(b).size(), size_t(EV_TEXT - 1));
}

TEST_F(News, BuiltInPackOverTheWeek) {
    ASSERT_EQ(pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN), 1);
    newsRefresh(utc(2026, 12, 7, 12));  // Monday: the reminder of tomorrow's reset first
    ASSERT_EQ(nNews, 3);
    EXPECT_EQ(txt(0), u"Weekly reset tomorrow");
    newsRefresh(utc(2027, 1, 12, 12));  // the program news has run out
    EXPECT_EQ(nNews, 2);
    for (int i = 0; i < nNews; i++) EXPECT_EQ(newsIni[i] | newsFin[i], 0);
}
