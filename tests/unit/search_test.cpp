// Search over the real built-in library: folding, the edit distance, the exact and the
// typo-tolerant steps, the category rows, the synonyms, and the rows' columns and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/utf.h"
#include "datapack/install.h"
#include "datapack/pack.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/search.h"
#include "libutil.h"

namespace {

std::u16string folded(std::u16string s) {
    foldInPlace(s);
    return s;
}

class Search : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        dbInit(nullptr);
    }
    std::vector<LibRow> rows(const char16_t* q, int cat = 1, int hideOld = 0) {
        std::vector<LibRow> r;
        listRows(q, cat, hideOld, r);
        return r;
    }
    static int byTitle(const char* t) {
        for (int i = 0; i < DBN; i++)
            if (std::string(DB[i].title) == t) return i;
        return -1;
    }
    static std::vector<int> entries(const std::vector<LibRow>& r) {
        std::vector<int> v;
        for (const LibRow& x : r) v.push_back(x.entry);
        return v;
    }
};

}  // namespace

TEST(Fold, LowerCaseAccentsSeparatorsAndApostrophes) {
    struct { const char16_t *in, *out; } cases[] = {
        {u"Hunter\u2019s \u2018x\u2019", u"hunters x"}, {u"a-b/c_d\te\nf\rg", u"a b c d e f g"}, {u"ÀÉÎÕÜÇÑ", u"aeioucn"},
        {u"ΣΩ ДЖ İ \u2126 ᾈ", u"σω дж İ \u2126 ᾀ"},      // no one-way mappings (U+0130, ohm sign)
        {u"\U0001F600X", u"\U0001F600x"},                 // surrogate pairs pass untouched
    };
    for (auto& c : cases) EXPECT_EQ(folded(c.in), c.out) << w8u(c.in);
}

TEST(EditDistance, OptimalStringAlignment) {
    struct Case { const char16_t* a; const char16_t* b; int d; };
    const Case cases[] = {{u"stirker", u"striker", 1}, {u"", u"abc", 3}, {u"ca", u"abc", 3}, {u"kitten", u"sitting", 3},
                          {u"abcd", u"badc", 2}};
    for (const Case& c : cases) {
        int la = int(std::u16string(c.a).size()), lb = int(std::u16string(c.b).size());
        EXPECT_EQ(editDist(c.a, la, c.b, lb), c.d) << w8u(c.a) << " / " << w8u(c.b);
        EXPECT_EQ(editDist(c.b, lb, c.a, la), c.d);
    }
    std::u16string longer(41, u'a'), other(41, u'b');  // only the first 40 units count
    EXPECT_EQ(editDist(longer.data(), 41, other.data(), 41), 40);
}

TEST_F(Search, ExactStepFindsFoldedTextInIndexOrder) {
    auto h = rows(u"hunters fury");
    ASSERT_FALSE(h.empty());
    EXPECT_EQ(h[0].entry, byTitle("Hunter's Fury"));
    // the byte search agrees with a plain search of the folded wide text, Latin-1 or not
    for (const char16_t* q : {u"  Crítico", u"e", u"ñ", u"15 %", u"·", u"→", u"a b", u"zzzz"}) {
        std::u16string f = folded(q);
        f.erase(0, f.find_first_not_of(u' '));
        std::vector<int> want;
        for (int i = 0; i < DBN; i++)
            if (wFold[i].find(f) != std::u16string::npos) want.push_back(i);
        std::vector<int> got;
        for (const LibRow& r : rows(q))
            if (!r.fuzzy) got.push_back(r.entry);
        EXPECT_EQ(got, want) << w8u(q);
    }
}

TEST_F(Search, FuzzyStepForMisspelledNames) {
    // words run together, letters and digits apart
    struct { const char16_t* q; const char* title; bool fuzzy; } cases[] = {
        {u"STRIKRE", "Striker's Battlegear", true}, {u"egle berer", "Eagle Bearer", true},
        {u"head hunter", "Headhunter", true},
    };
    for (auto& c : cases) {
        auto r = rows(c.q);
        ASSERT_FALSE(r.empty()) << w8u(c.q);
        EXPECT_EQ(r[0].entry, byTitle(c.title)) << w8u(c.q);
        EXPECT_EQ(r[0].fuzzy, c.fuzzy) << w8u(c.q);
    }
    auto ak = entries(rows(u"familia ak47"));
    EXPECT_EQ(std::count(ak.begin(), ak.end(), byTitle("Familia AK-47 (fusiles de asalto)")), 1);
    for (const char16_t* q : {u"stk", u"a b c d e"}) {
        for (const LibRow& r : rows(q)) EXPECT_FALSE(r.fuzzy) << w8u(q);  // too short, or no word of 2
    }
    EXPECT_TRUE(rows(u"qqqqqq").empty());  // nothing close: nothing listed (no repeats, the cap: fuzz)
}

TEST_F(Search, CategoryRowsBuildCreatorsAndHidingOutdated) {
    int aegis = byTitle("Aegis"), cavalier = byTitle("Cavalier"), striker = byTitle("Striker's Battlegear");
    fav[aegis] = fav[striker] = 1;
    owned[aegis] = 1;
    oldF[striker] = 1;
    auto b = rows(u"", ROW_BUILD, 1);  // the build ignores hideOld
    ASSERT_EQ(entries(b), (std::vector<int>{aegis, striker}));
    EXPECT_NE(rowText2(b[0]), rowText2(b[1]));  // owned or not
    // a query in the build row lists only the build, not even fuzzily
    EXPECT_EQ(entries(rows(u"cavalir", ROW_BUILD)), std::vector<int>{});
    EXPECT_EQ(rows(u"cavalir", 2)[0].entry, cavalier);
    // outside the build, hideOld drops outdated entries from searches and categories
    auto g = rows(u"", 2, 1);
    for (auto e : {entries(rows(u"striker", 2, 1)), entries(g)}) EXPECT_EQ(std::count(e.begin(), e.end(), striker), 0);
    EXPECT_EQ(rows(u"", 2, 0).size(), g.size() + 1);
}

// (live creators first is the end-to-end refresh test's, with a real creator)
TEST_F(Search, RecentInItsOrderWithoutRepeats) {
    recent[0] = 5, recent[1] = 2, recent[2] = 5, nRecent = 3;
    EXPECT_EQ(entries(rows(u"", ROW_RECENT)), (std::vector<int>{5, 2}));
    nRecent = 0;
    EXPECT_TRUE(rows(u"", ROW_RECENT).empty());
}

TEST_F(Search, EverySynonymFindsItsTarget) {
    ASSERT_GT(SYN_N, 0);
    for (int k = 0; k < SYN_N; k++) {
        std::u16string target = folded(SYNONYMS[k].target);
        int hits = 0;
        for (int i = 0; i < DBN; i++) hits += wFold[i].find(target) != std::u16string::npos;
        EXPECT_GT(hits, 0) << w8u(SYNONYMS[k].target) << " occurs nowhere in the library";
        // the word alone finds at least what its target finds
        std::vector<int> viaWord = entries(rows(SYNONYMS[k].word)), viaTarget = entries(rows(SYNONYMS[k].target));
        for (int i : viaTarget) EXPECT_TRUE(std::count(viaWord.begin(), viaWord.end(), i)) << w8u(SYNONYMS[k].word);
    }
}
