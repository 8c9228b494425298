// The video player's rules: videos of pack entries, wrapping, the page and watch addresses in
// every language, the host's waiting navigation, the loader rewrite rule and the layout.
#include <gtest/gtest.h>

#include <string>

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
        "[guia]\ncat = video\ntitulo = Sin inicio\nvideo = 00000000000\nsegundo = 1m30\n"
        "[guia]\ncat = video\ntitulo = Id corto\nvideo = abc\n"
        "[guia]\ncat = video\ntitulo = Id largo\nvideo = aB3_-x9Zq0kk\n"
        "[guia]\ncat = video\ntitulo = Id con barra\nvideo = aB3_-x9Zq/k\n"
        "[noticia]\ntitulo = Noticia\nvideo = 11111111111\n";
    ASSERT_EQ(pkParse(t.data(), t.size()), 1);
    pkApplyHeader();
    uiSetLang(1);
    dbInit(nullptr);
    int a = entryTitled("Ruta de la incursión"), b = entryTitled("Sin inicio");
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(DB[a].cat, 10);
    ASSERT_EQ(DB[a].vidCount, 1);
    auto v = pVideosOf(DB[a], wTitle[a], lang);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].id, "aB3_-x9Zq0k");
    EXPECT_EQ(v[0].start, 171);
    EXPECT_EQ(v[0].caption, u"Raid route");
    auto w = pVideosOf(DB[b], wTitle[b], lang);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].start, 0);  // "1m30" is no number of seconds
    for (const char* bad : {"Id corto", "Id largo", "Id con barra", "Noticia"}) {
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
    EXPECT_EQ(pVideosOf(DB[a], wTitle[a], lang).size(), 1u);
}

TEST(Player, StartSecondsAsPacksWriteThem) {
    struct {
        const char* text;
        int want;
    } cases[] = {{"0", 0}, {"922", 922}, {"359999", 359999}, {"360000", 0}, {"99999999999999999999", 0},
                 {"-5", 0}, {"12s", 0}, {"", 0}, {nullptr, 0}};
    for (auto& c : cases) EXPECT_EQ(vidStartOf(c.text), c.want) << (c.text ? c.text : "null");
}

TEST(Player, WrapsBothWays) {
    struct {
        int i, n, want;
    } cases[] = {{-1, 5, 4}, {5, 5, 0}, {0, 1, 0}, {-6, 5, 4}, {12, 5, 2}, {3, 0, 0}};
    for (auto& c : cases) EXPECT_EQ(pWrap(c.i, c.n), c.want) << c.i << " of " << c.n;
    // a click on another video plays it, on the playing one nothing, a double-click always
    EXPECT_TRUE(pShouldPlay(2, 1, 0));
    EXPECT_FALSE(pShouldPlay(1, 1, 0));
    EXPECT_TRUE(pShouldPlay(1, 1, 1));
    EXPECT_FALSE(pShouldPlay(-1, 1, 1));  // no selection
}

TEST(Player, AddressesInEveryLanguage) {
    PVid v;
    v.id = "aB3_-x9Zq0k";
    v.start = 27;
    const char* want[6] = {"es", "en", "fr", "de", "it", "pt-BR"};
    for (int l = 0; l < 6; l++)
        EXPECT_EQ(pPageUrl(v, l),
                  u"https://reproductor.zenvoral/player.html?v=aB3_-x9Zq0k&t=27&hl=" + u8w(want[l]));
    EXPECT_EQ(pWatchUrl(v), u"https://www.youtube.com/watch?v=aB3_-x9Zq0k&t=27s");
    v.start = 0;
    EXPECT_EQ(pWatchUrl(v), u"https://www.youtube.com/watch?v=aB3_-x9Zq0k");
    v.id = std::string(40, 'x');  // never more than 31 characters of id in the page address
    EXPECT_EQ(pPageUrl(v, 1), u"https://reproductor.zenvoral/player.html?v=" + std::u16string(31, u'x') + u"&t=0&hl=en");
    EXPECT_EQ(pHeader(1, 5, u"Guía"), u"2 / 5   Guía");
}

TEST(Player, ThePageEmbedsWithWhatItIsAsked) {
    const std::string& p = playerPage();
    for (const char* part : {"<meta charset=\"utf-8\">", "https://www.youtube.com/embed/", "autoplay=1&rel=0&playsinline=1",
                             "cc_load_policy=1&cc_lang_pref=", "if(hl!='en')", "&origin=", "background:#0d0f11",
                             "encrypted-media", "fullscreen"})
        EXPECT_NE(p.find(part), std::string::npos) << part;
    for (unsigned char c : p) ASSERT_LT(c, 0x80);  // plain ASCII: any byte order reads it
}

TEST(Player, OnlyTheNewestWaitingAddressOpensOnceReady) {
    WvHost h;
    h.state = WV_CREATING;
    EXPECT_FALSE(wvRequest(h, u"first"));
    EXPECT_FALSE(wvRequest(h, u"second"));
    std::u16string go;
    EXPECT_TRUE(wvReady(h, &go));
    EXPECT_EQ(go, u"second");
    EXPECT_EQ(h.state, WV_READY);
    EXPECT_TRUE(wvRequest(h, u"third"));  // ready: opened at once, nothing waits
    EXPECT_FALSE(h.hasPending);
    go.clear();
    EXPECT_FALSE(wvReady(h, &go));
    EXPECT_TRUE(go.empty());

    WvHost f;  // failed: nothing waits and nothing opens
    EXPECT_FALSE(wvRequest(f, u"early"));
    wvFailed(f);
    EXPECT_FALSE(f.hasPending);
    EXPECT_FALSE(wvRequest(f, u"late"));
    EXPECT_FALSE(f.hasPending);
    EXPECT_EQ(pStatusText(WV_IDLE), 112);
    EXPECT_EQ(pStatusText(WV_CREATING), 112);
    EXPECT_EQ(pStatusText(WV_FAILED), 113);
    EXPECT_EQ(pStatusText(WV_READY), 0);
}

TEST(Player, LoaderRewrittenOnlyWhenMissingOrOfAnotherSize) {
    EXPECT_TRUE(wvLoaderStale(0, 0, 1000));
    EXPECT_FALSE(wvLoaderStale(1, 1000, 1000));
    EXPECT_TRUE(wvLoaderStale(1, 999, 1000));
    EXPECT_TRUE(wvLoaderStale(1, (1ull << 32) + 1000, 1000));
}

TEST(Player, LayoutWindowedFailedAndFullScreen) {
    PLayout L = pLayoutCalc(1200, 700, 1.5, 0, WV_FAILED);
    EXPECT_TRUE(L.listShown && L.openShown && L.installShown);
    EXPECT_EQ(L.list.x, 15);
    EXPECT_EQ(L.list.y, 78);
    EXPECT_EQ(L.list.w, 420);
    EXPECT_EQ(L.list.h, 700 - 93);
    EXPECT_EQ(L.open.x, 1200 - 330);
    EXPECT_EQ(L.install.x, 480);
    EXPECT_EQ(L.browser.x, 450);
    EXPECT_EQ(L.browser.y, 78);
    EXPECT_EQ(L.browser.w, 750);
    EXPECT_EQ(L.browser.h, 622);
    EXPECT_FALSE(pLayoutCalc(1200, 700, 1.0, 0, WV_READY).installShown);
    L = pLayoutCalc(1920, 1080, 1.0, 1, WV_FAILED);
    EXPECT_FALSE(L.listShown || L.openShown || L.installShown);
    EXPECT_EQ(L.browser.w, 1920);
    EXPECT_EQ(L.browser.h, 1080);
    L = pLayoutCalc(10, 10, 1.0, 0, WV_READY);  // smaller than the margins: nothing negative
    EXPECT_GE(L.list.h, 0);
    EXPECT_GE(L.browser.w, 0);
    int w, h;
    pOpenSize(1280, 1024, 1.0, &w, &h);
    EXPECT_EQ(w, 1177);
    EXPECT_EQ(h, 780);
    pOpenSize(3840, 2160, 2.0, &w, &h);
    EXPECT_EQ(w, 2560);
    EXPECT_EQ(h, 1560);
}
