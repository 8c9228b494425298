// Share codes over the real built-in library: builds of its first 255 entries travel and come
// back with the same pieces, whatever the interface language on either side.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/utf.h"
#include "builds/builds.h"
#include "builds/share.h"
#include "l10n/ui.h"
#include "builds_util.h"
#include "library/libentry.h"

namespace {

std::vector<std::u16string> builtinKeys() {
    std::vector<std::u16string> k;
    for (int i = 0; i < DB_BUILTIN_N; i++) k.push_back(u16num(DB_BUILTIN[i].cat) + u"|" + u8w(DB_BUILTIN[i].title));
    return k;
}

// Shares the given pieces from a build in language `from`, imports the message in language
// `to` on another machine (another store), and returns the imported pieces.
std::vector<int> travel(const std::vector<int>& set, int from, int to, std::u16string* name = nullptr) {
    static const std::vector<std::u16string> keys = builtinKeys();
    MemStore a, b;
    uiSetLang(from);
    buildsReset();
    buildsAttach(keys);
    buildsLoad(a);
    for (int i : set) fav[size_t(i)] = 1;
    favSave(a);
    std::u16string msg = buildShareMessage([&](int i) { return keys[size_t(i)]; }, u"https://zenvoral.app/");
    uiSetLang(to);
    buildsReset();
    buildsAttach(keys);
    buildsLoad(b);
    ImportResult r;
    EXPECT_EQ(buildImportText(b, u"pegado:\r\n" + msg + u"\r\nfin", r), IMPORT_DONE);
    EXPECT_EQ(r.unknown, 0);
    EXPECT_EQ(r.matched, int(set.size()));
    if (name) *name = r.name;
    uiSetLang(0);
    return pieces();
}

}  // namespace

TEST(BuildsRoundTrip, NoTwoBuiltinEntriesShareAHash) {
    std::set<uint32_t> seen;
    for (auto& k : builtinKeys()) EXPECT_TRUE(seen.insert(entryHash(k)).second) << w8u(k);
}

TEST(BuildsRoundTrip, BuildsOfTheFirst255EntriesComeBack) {
    ASSERT_GE(DB_BUILTIN_N, 255);
    std::vector<int> all;
    for (int i = 0; i < 255; i++) all.push_back(i);
    EXPECT_EQ(travel(all, 0, 0), all);
    // every count byte alignment of the text form, from the front and the back of the order
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 63, 64, 65, 127, 128, 129, 253, 254}) {
        std::vector<int> pre(all.begin(), all.begin() + i), post(all.begin() + i, all.end());
        ASSERT_EQ(travel(pre, 0, 0), pre) << i;
        ASSERT_EQ(travel(post, 0, 0), post) << i;
    }
    std::mt19937 rng(18);
    for (int n = 0; n < 100; n++) {
        std::vector<int> set;
        unsigned density = rng() % 100;
        for (int i = 0; i < 255; i++)
            if (rng() % 100 < density) set.push_back(i);
        ASSERT_EQ(travel(set, int(rng() % 6), int(rng() % 6)), set) << n;
    }
}

TEST(BuildsRoundTrip, SpanishCodeOnAGermanInterface) {
    std::vector<int> set = {0, 7, 40, 41, 100, 254};
    std::u16string name;
    EXPECT_EQ(travel(set, 0, 3, &name), set);
    EXPECT_EQ(name, u"Mi build");  // the name travels as it was shown
    EXPECT_EQ(travel(set, 3, 0, &name), set);
    EXPECT_EQ(name, u"Mein Build");
}
