// Share codes over the real built-in library: its keys hash apart, and a build shared on one
// interface language comes back whole on another (random libraries and rounds are the interop
// test's).
#include <gtest/gtest.h>

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

TEST(BuildsRoundTrip, SpanishCodeOnAGermanInterface) {
    std::vector<int> set = {0, 7, 40, 41, 100, 254};
    std::u16string name;
    EXPECT_EQ(travel(set, 0, 3, &name), set);
    EXPECT_EQ(name, u"Mi build");  // the name travels as it was shown
    EXPECT_EQ(travel(set, 3, 0, &name), set);
    EXPECT_EQ(name, u"Mein Build");
}
