// The video player's rules: videos of pack entries, wrapping, the page and watch addresses, the
// host's waiting navigation, the loader rewrite rule and the layout's limits.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/utf.h"
#include "datapack/install.h"
#include "datapack/pack.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/videos.h"
#include "player/player.h"
#include "libutil.h"

namespace {

class PackVideos : public LibraryTest {};

int entryTitled(const char* t) {
    for (int i = 0; i < DBN; i++)
        if (wTitleEs[i] == u8w(t)) return i;
    return -1;
}

}  // namespace

TEST_F(PackVideos, AGuideBringsItsVideoWithItsTitleAsCaption) {
    std::string t =
        "# ZENVORAL-DATOS 1\nversion = 1\n"
        "[guia]\ncat = video\ntitulo.es = Ruta de la incursión\ntitulo.en = Raid route\nvideo = aB3_-x9Zq0k\nsegundo = 171\n"
        "[guia]\ncat = video\ntitulo = Id corto\nvideo = abc\n"
        "[guia]\ncat = video\ntitulo = Id con barra\nvideo = aB3_-x9Zq/k\n"
        "[noticia]\ntitulo = Noticia\nvideo = 11111111111\n";
    ASSERT_EQ(pkParse(t.data(), t.size()), 1);
    pkApplyHeader();
    uiSetLang(1);
    dbInit(nullptr);
    int a = entryTitled("Ruta de la incursión");
    ASSERT_GE(a, 0);
    auto v = pVideosOf(DB[a], wTitle[a], lang);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].id + " " + std::to_string(v[0].start) + " " + w8u(v[0].caption), "aB3_-x9Zq0k 171 Raid route");
    for (const char* bad : {"Id corto", "Id con barra", "Noticia"}) {
        int i = entryTitled(bad);
        ASSERT_GE(i, 0) << bad;
        EXPECT_EQ(DB[i].vidCount, 0) << bad;
    }
    // a new database (a new language, a new pack) numbers the pack's videos again
    dbFree();
    VideoInfo gone;
    EXPECT_FALSE(vidAt(VIDREF_N, &gone));
    dbInit(nullptr);
    a = entryTitled("Ruta de la incursión");
    EXPECT_EQ(DB[a].vidFirst, VIDREF_N);
}

TEST(Player, StartSecondsWrapAndAddresses) {
    for (auto [text, want] : {std::pair{"359999", 359999}, {"360000", 0}, {"99999999999999999999", 0}, {"12s", 0}, {nullptr, 0}})
        EXPECT_EQ(vidStartOf(text), want) << (text ? text : "null");
    for (auto [i, n, want] : {std::tuple{-1, 5, 4}, {12, 5, 2}, {3, 0, 0}}) EXPECT_EQ(pWrap(i, n), want) << i << " of " << n;
    PVid v;
    v.id = "aB3_-x9Zq0k";
    v.start = 27;
    EXPECT_EQ(pPageUrl(v, 5), u"https://reproductor.zenvoral/player.html?v=aB3_-x9Zq0k&t=27&hl=pt-BR");
    EXPECT_EQ(pWatchUrl(v), u"https://www.youtube.com/watch?v=aB3_-x9Zq0k&t=27s");
    v.id = std::string(40, 'x');  // never more than 31 characters of id in the page address
    EXPECT_EQ(pPageUrl(v, 1), u"https://reproductor.zenvoral/player.html?v=" + std::u16string(31, u'x') + u"&t=27&hl=en");
    for (unsigned char c : playerPage()) ASSERT_LT(c, 0x80);  // plain ASCII: any byte order reads it
}

TEST(Player, OnlyTheNewestWaitingAddressOpensOnceReady) {
    WvHost h;
    h.state = WV_CREATING;
    EXPECT_FALSE(wvRequest(h, u"first"));
    EXPECT_FALSE(wvRequest(h, u"second"));
    std::u16string go;
    EXPECT_TRUE(wvReady(h, &go));
    EXPECT_EQ(go, u"second");
    EXPECT_TRUE(wvRequest(h, u"third"));  // ready: opened at once, nothing waits
    EXPECT_FALSE(wvReady(h, &go));
    WvHost f;  // failed: nothing waits and nothing opens
    EXPECT_FALSE(wvRequest(f, u"early"));
    wvFailed(f);
    EXPECT_FALSE(wvRequest(f, u"late"));
    EXPECT_FALSE(f.hasPending);
}

TEST(Player, LoaderRewrittenOnlyWhenMissingOrOfAnotherSize) {
    EXPECT_TRUE(wvLoaderStale(0, 0, 1000));
    EXPECT_FALSE(wvLoaderStale(1, 1000, 1000));
    EXPECT_TRUE(wvLoaderStale(1, (1ull << 32) + 1000, 1000));
}

TEST(Player, LayoutFillsTheScreenAndNeverGoesNegative) {
    PLayout L = pLayoutCalc(1920, 1080, 1.0, 1, WV_FAILED);
    EXPECT_FALSE(L.listShown || L.openShown || L.installShown);
    EXPECT_EQ(std::make_pair(L.browser.w, L.browser.h), std::make_pair(1920, 1080));
    EXPECT_FALSE(pLayoutCalc(1200, 700, 1.0, 0, WV_READY).installShown);
    L = pLayoutCalc(10, 10, 1.0, 0, WV_READY);  // smaller than the margins: nothing negative
    EXPECT_TRUE(L.list.h >= 0 && L.browser.w >= 0);
    int w, h;
    pOpenSize(3840, 2160, 2.0, &w, &h);  // capped at 1280 x 780 units
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(2560, 1560));
}
