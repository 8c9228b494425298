// Builds in the settings file: the old single build's move, loading damaged indexes, names,
// and new/rename/duplicate/delete with the sections moving down.
#include "builds/builds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf.h"
#include "l10n/ui.h"
#include "builds_util.h"

namespace {

std::u16string get(MemStore& s, const char* sec, const char* key) { return s.getStr(sec, key, u"<none>", 1024); }

std::vector<std::u16string> shownNames() {
    std::vector<std::u16string> r;
    for (int k = 0; k < nBuilds; k++) r.push_back(buildShown(k));
    return r;
}

}  // namespace

TEST(Builds, OldSingleBuildMovesOnceWithoutMarks) {
    MemStore s;
    start(s, u"[mibuild]\r\nf0=3|Eagle Bearer\r\nf1=9|Gone\r\nf2=1|Striker\r\nf4=2|Ceska\r\n");
    EXPECT_EQ(pieces(), (std::vector<int>{0, 3}));  // stops at the gap, drops the unknown
    EXPECT_EQ(s.text(), u"[build0]\r\nf0=0|1|Striker\r\nf1=0|3|Eagle Bearer\r\n"
                        u"[builds]\r\nn=1\r\nactual=0\r\nnombre0=\r\n");
    // the next start reads the index and writes nothing; nor does a fresh file's first load
    int writes = s.writes;
    buildsReset();
    buildsAttach(KEYS);
    buildsLoad(s);
    EXPECT_EQ(s.writes, writes);
    EXPECT_EQ(pieces(), (std::vector<int>{0, 3}));
    MemStore fresh;
    start(fresh, u"[ajustes]\r\nIdioma=es\r\n");
    EXPECT_EQ(fresh.writes, 0);
}

TEST(Builds, LoadingRepairsTheIndex) {
    struct Case {
        const char16_t* ini;
        int n, cur;
        std::vector<int> pieces;
        std::vector<int> owned;
    } cases[] = {
        // current index out of range, count above 30
        {u"[builds]\r\nn=45\r\nactual=31\r\n[build0]\r\nf0=1|2|Ceska\r\n", 30, 0, {2}, {2}},
        {u"[builds]\r\nn=3\r\nactual=-1\r\n[build0]\r\nf0=0|2|Ceska\r\n", 3, 0, {2}, {}},
        // values without the mark, unknown keys, an empty value ending the list
        {u"[builds]\r\nn=2\r\nactual=1\r\n[build1]\r\nf0=4|Coyote's Mask\r\nf1=1|4|Coyote's Mask\r\n"
         u"f2=0|9|Old table\r\nf3=1|5|Strained\r\nf4=\r\nf5=1|6|Glass Cannon\r\n",
         2, 1, {4, 5}, {4, 5}},
        // key names in another case, spaces around the value
        {u"[builds]\r\nn=1\r\n[build0]\r\nF0 =  1|7|Magazine \r\n", 1, 0, {7}, {7}},
        // sections without their index (a damaged file) are not overwritten
        {u"[build0]\r\nf0=1|1|Striker\r\n[build1]\r\nf0=1|2|Ceska\r\n[mibuild]\r\nf0=3|Eagle Bearer\r\n", 2, 0, {0, 3}, {0}},
    };
    for (auto& c : cases) {
        MemStore s;
        start(s, c.ini);
        SCOPED_TRACE(w8u(c.ini));
        EXPECT_EQ(std::make_pair(nBuilds, curBuild), std::make_pair(c.n, c.cur));
        EXPECT_EQ(pieces(), c.pieces);
        std::vector<int> o;
        for (size_t i = 0; i < owned.size(); i++)
            if (owned[i]) o.push_back(int(i));
        EXPECT_EQ(o, c.owned);
    }
}

TEST(Builds, NamesAreMadeUniqueAndClean) {
    struct Case {
        std::vector<std::u16string> existing;  // names of builds 0.. ("" unnamed)
        std::u16string name, want;
    } cases[] = {
        {{u""}, u"mi BUILD", u"mi BUILD (2)"},  // an unnamed build shows as Mi build
        {{u"Striker", u"Striker (2)"}, u"Striker (2)", u"Striker (3)"},  // the suffix is not doubled
        {{u"Plan (1)"}, u"Plan (1)", u"Plan (1) (2)"},                  // (1) is not a suffix
        {{u"Équipe"}, u"éQUIPE", u"éQUIPE (2)"},
        {{u"Mi build", u""}, u"", u"Mi build (2)"},  // an empty name collides through its shown form
        {{u"Striker"}, u"", u""},
        {{std::u16string(55, u'x')}, std::u16string(55, u'X'), std::u16string(50, u'X') + u" (2)"},
    };
    for (auto& c : cases) {
        buildsReset();
        uiSetLang(0);
        nBuilds = int(c.existing.size());
        for (size_t k = 0; k < c.existing.size(); k++) buildName[k] = c.existing[k];
        std::u16string n = c.name;
        uniqueName(n);
        EXPECT_EQ(w8u(n), w8u(c.want)) << w8u(c.name);
    }
    struct Clean {
        std::u16string in, out;
    } clean[] = {
        {u"  Striker\r\n[builds]\r\nn=0  ", u"Striker  [builds]  n=0"},
        {u"\u202Ed\u200Fb\u2066c\u2069\uFEFF ok", u"dbc ok"},
        {u"\x01\x7F\x85", u""},
        {std::u16string(u"x\xDC00\xD800y", 4), u"xy"},  // lone surrogates, low and high
        {std::u16string(62, u'a') + u"\U0001F525", std::u16string(62, u'a')},  // no half pair
        {std::u16string(70, u'b'), std::u16string(63, u'b')},
    };
    for (auto& c : clean) EXPECT_EQ(buildCleanName(c.in), c.out) << w8u(c.in);
}

TEST(Builds, NewRenameDuplicateSwitch) {
    MemStore s;
    start(s, u"");
    buildToggle(s, 0);
    buildToggleOwned(s, 0);
    buildToggle(s, 3);
    buildRename(s, u"Striker");
    ASSERT_EQ(buildDuplicate(s), 1);  // Striker (2), a copy with its marks, current
    EXPECT_EQ(std::make_pair(curBuild, buildOwnedCount()), std::make_pair(1, 1));
    ASSERT_EQ(buildDuplicate(s), 1);  // duplicating Striker (2) gives Striker (3)
    EXPECT_EQ(shownNames(), (std::vector<std::u16string>{u"Striker", u"Striker (2)", u"Striker (3)"}));
    EXPECT_EQ(get(s, "build2", "f0") + u" " + get(s, "build2", "f1"), u"1|1|Striker 0|3|Eagle Bearer");
    // a copy keeps the pieces this library lacks, as the file has them
    s.put("build2", "f2", u"1|11|Noticia de un paquete más nuevo");
    ASSERT_EQ(buildDuplicate(s), 1);
    EXPECT_EQ(get(s, "build3", "f2"), u"1|11|Noticia de un paquete más nuevo");
    buildDelete(s);

    ASSERT_EQ(buildNew(s, u"Mi build", false), 1);
    EXPECT_EQ(pieces(), std::vector<int>{});
    EXPECT_TRUE(s.section("build3").empty());
    // renaming keeps the build's own name free: no suffix for the same name in another case
    buildRename(s, u"mi build");
    EXPECT_EQ(buildShown(3), u"mi build");
    buildRename(s, u"striker");
    EXPECT_EQ(get(s, "builds", "n") + get(s, "builds", "actual") + get(s, "builds", "nombre3"), u"43striker (4)");
    // switching loads the other build's pieces and stores the index
    EXPECT_EQ(buildSwitch(s, 0), 1);
    EXPECT_EQ(pieces(), (std::vector<int>{0, 3}));
    EXPECT_EQ(get(s, "builds", "actual"), u"0");
    for (int k : {0, 4, -1}) EXPECT_EQ(buildSwitch(s, k), 0) << k;
}

TEST(Builds, ThirtyAtMost) {
    MemStore s;
    start(s, u"");
    for (int k = 1; k < MAX_BUILDS; k++) ASSERT_EQ(buildNew(s, u"B", false), 1);
    EXPECT_EQ(buildShown(29), u"B (29)");
    EXPECT_EQ(buildMenuEnabled(BM_NEW) + buildMenuEnabled(BM_DUPLICATE), 0);
    std::u16string before = s.text();
    EXPECT_EQ(buildNew(s, u"C", false), 0);
    EXPECT_EQ(buildDuplicate(s), 0);
    EXPECT_EQ(s.text(), before);
}

TEST(Builds, DeleteMovesLaterBuildsDown) {
    struct Case {
        int count, deleted;
        std::vector<std::u16string> names;  // left, in order
        int cur;
    } cases[] = {
        {4, 1, {u"A", u"C", u"D"}, 1},
        {4, 3, {u"A", u"B", u"C"}, 2},  // the last: the new last is current
        {4, 0, {u"B", u"C", u"D"}, 0},
        {2, 1, {u"A"}, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " " + std::to_string(c.deleted));
        MemStore s;
        start(s, u"");
        buildRename(s, u"A");
        buildToggle(s, 0);
        for (int k = 1; k < c.count; k++) {
            buildNew(s, std::u16string(1, char16_t(u'A' + k)), false);
            buildToggle(s, k);
            buildToggleOwned(s, k);
        }
        buildSwitch(s, c.deleted);
        int saves = s.saves;
        buildDelete(s);
        EXPECT_EQ(s.saves, saves + 1);  // every section moved down in one write
        EXPECT_EQ(shownNames(), c.names);
        EXPECT_EQ(curBuild, c.cur);
        EXPECT_EQ(pieces(), std::vector<int>{buildName[curBuild][0] - u'A'});
        EXPECT_EQ(get(s, "builds", "n") + get(s, "builds", "actual"), u16num(c.count - 1) + u16num(c.cur));
        EXPECT_TRUE(s.section(("build" + std::to_string(c.count - 1)).c_str()).empty());
        EXPECT_EQ(get(s, "builds", ("nombre" + std::to_string(c.count - 1)).c_str()), u"<none>");
        // every remaining section holds the build of its name, with its mark, and nothing else
        for (int k = 0; k < nBuilds; k++) {
            int letter = buildName[k][0] - u'A';
            std::u16string want = (letter ? u"1|" : u"0|") + KEYS[size_t(letter)];
            EXPECT_EQ(s.section(("build" + std::to_string(k)).c_str()).size(), 1u) << k;
            EXPECT_EQ(get(s, ("build" + std::to_string(k)).c_str(), "f0"), want) << k;
        }
    }
    // deleting the only build empties it
    MemStore s;
    start(s, u"");
    buildRename(s, u"Solo");
    buildToggle(s, 1);
    buildDelete(s);
    EXPECT_EQ(std::make_pair(nBuilds, buildPieces()), std::make_pair(1, 0));
    EXPECT_EQ(s.text(), u"[builds]\r\nn=1\r\nactual=0\r\nnombre0=\r\n");
}

TEST(Builds, PiecesMarksAndWrites) {
    MemStore s;
    start(s, u"");
    // pieces are stored in library order whatever the order they were added in
    EXPECT_EQ(buildToggle(s, 7), 1);
    EXPECT_EQ(buildToggle(s, 2), 1);
    EXPECT_EQ(buildToggleOwned(s, 7), 1);
    EXPECT_EQ(get(s, "build0", "f0") + u" " + get(s, "build0", "f1"), u"0|2|Ceska 1|7|Magazine");
    EXPECT_EQ(buildToggleOwned(s, 5), -1);  // not a piece
    EXPECT_EQ(buildToggle(s, 99), -1);
    // removing a piece clears its mark: added again, it is not obtained
    EXPECT_EQ(buildToggle(s, 7), 0);
    EXPECT_EQ(buildToggle(s, 7), 1);
    EXPECT_EQ(buildOwnedCount(), 0);
    for (int i = 0; i < 10; i++)
        if (i != 2 && i != 7) buildToggle(s, i);
    int w = s.writes;
    favSave(s);
    EXPECT_EQ(s.writes, w);
    buildToggle(s, 9);  // the last piece goes: one key deleted, nothing rewritten
    EXPECT_EQ(s.writes, w);
    EXPECT_EQ(get(s, "build0", "f9"), u"<none>");
    // a hand-edited section with a stray key is rebuilt whole
    s.put("build0", "nota", u"x");
    favSave(s);
    EXPECT_EQ(get(s, "build0", "nota") + get(s, "build0", "f8"), u"<none>0|8|Captura 1");
}

TEST(Builds, LargeBuildsSurviveASave) {
    // more pieces than an old 500-key reading limit, keys longer than 320 characters
    std::vector<std::u16string> keys;
    for (int i = 0; i < 700; i++) keys.push_back(u"3|Arma " + u16num(i) + (i == 5 ? std::u16string(400, u'x') : u""));
    MemStore s;
    buildsReset();
    buildsAttach(keys);
    buildsLoad(s);
    for (int i = 0; i < 700; i++) fav[size_t(i)] = 1;
    favSave(s);
    buildNew(s, u"otra", false);
    buildSwitch(s, 0);
    EXPECT_EQ(buildPieces(), 700);
    EXPECT_EQ(get(s, "build0", "f699"), u"0|3|Arma 699");
}

TEST(Builds, NothingAttachedWritesNoPieces) {
    // before the library hands its entries over, a save must not empty the stored build
    MemStore s;
    s.load(u"[builds]\r\nn=1\r\nactual=0\r\nnombre0=X\r\n[build0]\r\nf0=1|1|Striker\r\n[mibuild]\r\nf0=1|Striker\r\n");
    buildsReset();
    buildsLoad(s);
    favSave(s);
    EXPECT_EQ(get(s, "build0", "f0"), u"1|1|Striker");
    s.load(u"[mibuild]\r\nf0=1|Striker\r\n");
    buildsLoad(s);
    EXPECT_EQ(get(s, "mibuild", "f0"), u"1|Striker");
}

TEST(Builds, LabelsNameTheCurrentBuild) {
    MemStore s;
    start(s, u"");
    buildToggle(s, 2);
    buildToggle(s, 5);
    buildToggleOwned(s, 5);
    buildRename(s, u"Striker 100%");  // a % in the name is not a format
    EXPECT_EQ(buildButtonLabel(2), u"Quitar de «Striker 100%»");
    EXPECT_EQ(buildCountLabel(), u"1/2");
}
