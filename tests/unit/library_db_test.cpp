// The library database over the real built-in entries and small packs: what entries a pack
// makes, the outdated rule, the derived texts, entry keys and the recently viewed list.
#include <gtest/gtest.h>

#include "testutil.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/store.h"
#include "base/utf.h"
#include "datapack/install.h"
#include "datapack/pack.h"
#include "l10n/tr.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/search.h"
#include "libutil.h"

namespace {

const std::string HEAD = "# ZENVORAL-DATOS 1\nversion = 1\n";

class Db : public LibraryTest {
protected:
    void pack(const std::string& body) {
        std::string t = HEAD + body;
        ASSERT_EQ(pkParse(t.data(), t.size()), 1);
        pkApplyHeader();
    }
};

}  // namespace

TEST_F(Db, PackCategoryValues) {
    struct Case { const char* v; int cat; };
    const Case cases[] = {{"Mod_arma", 7}, {"8", 11}, {"captura", 11}, {"13", 13}, {nullptr, 11}, {"GUIA", 0},
                          {"-5", 11}, {"99999999999999999999", 11}};
    for (const Case& c : cases) EXPECT_EQ(packCategory(c.v), c.cat) << (c.v ? c.v : "null");
}

TEST_F(Db, PackBlocksMakeEntriesAfterTheBuiltInOnes) {
    pack("[noticia]\ncorto.es = Solo corto\n"
         "[noticia]\nenlace = https://x\n"                       // no title: no entry
         "[guia]\ntitulo.es = Guía de mods\ntitulo.en = Mods guide\ncat = Mod_arma\nsub = Uno · Dos\n"
         "[creador]\ntwitch = https://twitch.tv/x\n"              // no name: no entry
         "[creador]\nnombre = Agente\n"
         "[evento]\ntitulo = Otro\n");
    dbInit(nullptr);
    ASSERT_EQ(DBN, DB_BUILTIN_N + 3);
    const int first = DB_BUILTIN_N;
    EXPECT_STREQ(DB[first].title, "Solo corto");
    EXPECT_EQ((std::vector<int>{DB[first].cat, DB[first + 1].cat, DB[first + 2].cat}), (std::vector<int>{11, 7, 12}));
    const int want[] = {-1, first, -1, first + 1, -1, first + 2, -1, -1};
    for (int r = -1; r <= 7; r++) EXPECT_EQ(libPackEntry(r, nullptr), want[r < 0 ? 7 : r]) << r;
    // a pack entry's key is its Spanish title in every language, and its names hold each language
    std::u16string key = entryKey(first + 1);
    EXPECT_EQ(key, u"7|Guía de mods");
    EXPECT_NE(wNames[first + 1].find(u"mods guide"), std::u16string::npos);
    dbFree();
    uiSetLang(1);
    dbInit(nullptr);
    EXPECT_EQ(std::u16string(wTitle[first + 1]), u"Mods guide");
    EXPECT_EQ(entryKey(first + 1), key);
    EXPECT_EQ(entryByKey(key.c_str()), first + 1);
}

TEST_F(Db, OutdatedRule) {
    struct Case { const char* title; const char* sub; const char* season; int old; };
    const Case cases[] = {
        {"Build", "Antigua", "Y9 S1", 1},    // a mark wins whatever the season
        {"Build antiguamente", "", nullptr, 1},
        {"Build Y7 S3", "", nullptr, 1},     // default header: Y8 S3, three seasons count
        {"Build", "Y8 S1", nullptr, 0},
        {"Build", "Y8S1", "Y7S2", 1},         // the pack's season value comes first
        {"Build TU27", "", nullptr, 1},
        {"TU20 y TU29", "", nullptr, 0},      // the largest number counts
        {"Y8 S3", "TU25", nullptr, 1},        // a current season does not save an old update
    };
    for (const Case& c : cases) EXPECT_EQ(isOutdated(c.title, c.sub, c.season), c.old) << c.title << " | " << c.sub;
    std::string longTitle(1300, 'x');
    EXPECT_EQ(isOutdated(longTitle.c_str(), "Antigua", nullptr), 0);  // past 1200 bytes is not read
}

TEST_F(Db, DatedPackEntryGetsItsWhenLines) {
    TzScope tz{"UTC"};
    pack("[noticia]\ntitulo = Evento\ntexto = Línea uno\\nLínea dos\ninicio = 2026-11-03 09:00\nfin = 2026-11-03 09:00\n"
         "[noticia]\ntitulo = Otro\ntexto = x\ninicio = 2026-11-03 09:00\nfin = 2026-11-10 09:00\naprox = sí\n");
    dbInit(nullptr);
    const std::u16string& a = wBody[DB_BUILTIN_N];
    ASSERT_NE(a.find(u"2026-11-03 09:00"), std::u16string::npos);
    EXPECT_EQ(a.find(u"2026-11-03 09:00"), a.rfind(u"2026-11-03 09:00"));  // equal start and end: only the start line
    EXPECT_NE(a.find(u"\r\n\r\nLínea uno\r\nLínea dos"), std::u16string::npos);
    const std::u16string& b = wBody[DB_BUILTIN_N + 1];
    EXPECT_NE(b.find(u"2026-11-10 09:00"), std::u16string::npos);
    for (char16_t* p = (char16_t*)b.c_str(); *p; p++)
        if (*p == u'\n') { ASSERT_EQ(p[-1], u'\r'); }  // one line-end style for the whole body
}

// Titles are unique within a category (the generator's check); here every entry of the built-in
// library and pack is found by its key on a German interface, and by its title in every language.
TEST_F(Db, BuiltInEntriesAreFoundByKeyAndByTheirTitleInEveryLanguage) {
    pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN);
    pkApplyHeader();
    uiSetLang(3);
    dbInit(nullptr);
    for (int i = 0; i < DBN; i++) {
        ASSERT_EQ(entryByKey(entryKey(i).c_str()), i) << w8u(entryKey(i));
        for (int tl = 0; tl < LANG_COUNT && i < DB_BUILTIN_N; tl++) {
            std::string t8;
            trSplitTo(t8, DB[i].title, TR_WHOLE, tl);
            std::u16string t = u8w(t8);
            foldInPlace(t);
            ASSERT_NE(wNames[i].find(t), std::u16string::npos) << t8 << " / " << tl;
        }
    }
    for (const char16_t* k : {u"01|Aegis", u"1|aegis", u"1|Aegis ", u"Aegis"}) EXPECT_EQ(entryByKey(k), -1) << w8u(k);
}

TEST_F(Db, RecentlyViewedReadAndPushedByKey) {
    MemStore st;
    st.put("recientes", "r0", u"1|Aegis");
    st.put("recientes", "r1", u"1|No existe");
    st.put("recientes", "r2", u"1|Aegis");  // repeated by hand: listed once
    st.put("recientes", "r3", u"1|Cavalier");
    st.put("recientes", "r5", u"1|Striker's Battlegear");  // after a gap: not read
    dbInit(&st);
    ASSERT_EQ(nRecent, 2);
    EXPECT_EQ(entryKey(recent[0]) + u" " + entryKey(recent[1]), u"1|Aegis 1|Cavalier");
    recentPush(recent[1], &st);  // to the front, not twice
    EXPECT_EQ(nRecent, 2);
    EXPECT_EQ(st.getStr("recientes", "r0", u"", 301) + u" " + st.getStr("recientes", "r1", u"", 301), u"1|Cavalier 1|Aegis");
    for (int i = 0; i < 30; i++) recentPush(i, &st);
    EXPECT_EQ(std::make_pair(recent[0], recent[RECENT_MAX - 1]), std::make_pair(29, 5));  // the oldest pushed out
    EXPECT_EQ(st.getStr("recientes", "r24", u"", 301), entryKey(5));
    EXPECT_FALSE(st.has("recientes", "r25"));
}
