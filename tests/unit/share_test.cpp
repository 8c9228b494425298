// Share codes: the message, finding and decoding a code in pasted text, and the import with its
// checks. The byte layout and the text form are checked against an independent encoder by the
// interop test (with the 120-byte name cut and the first 255 pieces), so hand-made payloads here
// go through the program's own text form; a refused or full import leaving everything as it was
// is the fuzz target's invariant.
#include "builds/share.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf.h"
#include "builds/builds.h"
#include "l10n/ui.h"
#include "builds_util.h"

namespace {

// A hand-made payload: version, name bytes as given, a count and the hashes of the given keys.
std::vector<uint8_t> payload(const std::string& name, int count, const std::vector<std::u16string>& keys, int version = 1) {
    std::vector<uint8_t> b{uint8_t(version), uint8_t(name.size())};
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(uint8_t(count));
    for (auto& k : keys)
        for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(entryHash(k) >> s));
    return b;
}

std::u16string code(const std::vector<uint8_t>& b) { return shareCodeText(b); }

}  // namespace

TEST(Share, DecodingRefusesCleanly) {
    std::vector<uint8_t> ok = payload("Striker", 2, {KEYS[0], KEYS[3]});
    std::u16string good = code(ok);
    std::u16string full(700000, u'A');  // a megabyte and more of code characters
    struct Case {
        const char* what;
        std::u16string text;
        int valid;
        size_t hashes;
    } cases[] = {
        {"nothing after the prefix", u"mira ZV1- esto", 0, 0},
        {"version 2", code(payload("Striker", 2, {KEYS[0], KEYS[3]}, 2)), 0, 0},
        {"cut before the count", code(std::vector<uint8_t>(ok.begin(), ok.begin() + 9)), 0, 0},
        {"count present, no hashes", code(std::vector<uint8_t>(ok.begin(), ok.begin() + 10)), 1, 0},
        {"cut inside the second hash", code(std::vector<uint8_t>(ok.begin(), ok.begin() + 16)), 1, 1},
        {"claims more than it holds", code(payload("x", 255, {KEYS[1]})), 1, 1},
        {"a megabyte of code", u"ZV1-AQ" + full, 0, 0},
        {"length byte past the end", code({1, 200, 'a', 'b'}), 0, 0},
        {"prefix in lower case", u"zv1-" + code(ok).substr(4), 0, 0},
        {"whole", good, 1, 2},
    };
    for (auto& c : cases) {
        ShareCode sc;
        EXPECT_EQ(shareDecode(c.text, sc), c.valid) << c.what;
        if (c.valid) {
            EXPECT_EQ(sc.hashes.size(), c.hashes) << c.what;
        }
    }
}

TEST(Share, CodesAreFoundInPastedText) {
    std::u16string c = code(payload("Striker", 2, {KEYS[0], KEYS[3]}));
    struct Case {
        const char* what;
        std::u16string text;
        size_t hashes;
    } cases[] = {
        {"a mention of the prefix first", u"los códigos empiezan por ZV1-, como este: " + c, 2},
        {"forum quote wrapped the code",
         u"> Build «Striker»\n> " + c.substr(0, 12) + u"\n> " + c.substr(12, 9) + u"\n> " + c.substr(21) + u"\n> gracias", 2},
        {"wrapped with trailing blanks", c.substr(0, 15) + u"  \r\n  " + c.substr(15) + u" \r\nok", 2},
        // a wrapped code stops at prose (a code ending at a line break or a sign, with text after
        // it on the same or the next line, is the interop test's every round)
        {"cut code, prose on the next line", c.substr(0, 20) + u"\nPara importarla: copia", 0},
    };
    for (auto& cs : cases) {
        ShareCode sc;
        ASSERT_EQ(shareDecode(cs.text, sc), 1) << cs.what;
        EXPECT_EQ(sc.name + u16num(sc.count), u"Striker2") << cs.what;
        ASSERT_EQ(sc.hashes.size(), cs.hashes) << cs.what;
        if (cs.hashes == 2) {
            EXPECT_EQ(sc.hashes[1], entryHash(KEYS[3])) << cs.what;
        }
    }
}

TEST(Share, NamesFromCodesAreCleaned) {
    struct Case {
        std::string bytes;
        std::u16string name;
    } cases[] = {
        {"Caf\xC3", u"Caf"},                                  // cut inside a two-byte letter
        {"x\xF0\x9F\x94", u"x"},                              // cut inside a four-byte character
        {"\xFF\xFE ok", u"\uFFFD\uFFFD ok"},                  // not UTF-8
    };
    for (auto& c : cases) {
        ShareCode sc;
        ASSERT_EQ(shareDecode(code(payload(c.bytes, 0, {})), sc), 1);
        EXPECT_EQ(sc.name, c.name) << c.bytes;
    }
}

TEST(Share, ImportMakesANewCurrentBuild) {
    MemStore s;
    start(s);
    buildRename(s, u"Mía");
    buildToggle(s, 2);
    buildToggleOwned(s, 2);
    s.put("build0", "f1", u"1|11|Noticia de un paquete más nuevo");  // an entry this library lacks
    auto mine = s.section("build0");

    // two known pieces, one the library lacks, one repeated, one cut off
    std::vector<uint8_t> p = payload("Striker", 5, {KEYS[3], u"9|Nueva", KEYS[0], KEYS[3]});
    ImportResult r;
    ASSERT_EQ(buildImportText(s, u"te paso: " + code(p) + u"\r\nsaludos", r), IMPORT_DONE);
    EXPECT_EQ((std::vector<int>{r.matched, r.unknown, nBuilds, curBuild}), (std::vector<int>{2, 2, 2, 1}));
    EXPECT_EQ(pieces(), (std::vector<int>{0, 3}));
    EXPECT_EQ(s.section("build0"), mine);  // the build that was current is left as it was
    EXPECT_EQ(importMessage(r), u"Build «Striker» importada con 2 piezas.\n\n"
                                u"2 piezas no están en tu versión del programa; actualízalo para verlas.");

    // the same code again: a second build with a suffix, stored in one write
    int saves = s.saves;
    ASSERT_EQ(buildImportText(s, code(p), r), IMPORT_DONE);
    EXPECT_EQ(s.saves, saves + 1);
    EXPECT_EQ(r.name, u"Striker (2)");
    // a code with an empty name takes the shown one
    ASSERT_EQ(buildImportText(s, code(payload("", 0, {})), r), IMPORT_DONE);
    EXPECT_EQ(r.name, u"Mi build");
}

TEST(Share, ThreeHundredPiecesShareTheFirst255) {
    std::vector<std::u16string> keys;
    for (int i = 0; i < 300; i++) keys.push_back(u"3|Arma con un nombre bastante largo número " + u16num(i));
    MemStore s;
    uiSetLang(0);
    buildsReset();
    buildsAttach(keys);
    buildsLoad(s);
    for (auto& f : fav) f = 1;
    buildRename(s, u"Todo");
    std::u16string c = buildShareCode();  // (its first 255 pieces: the interop test's)
    // the message stays under its limit and ends with the code; the rest of the list does not fit
    std::u16string m = buildShareMessage([&](int i) { return keys[size_t(i)].substr(2); }, u"https://zenvoral.app/");
    EXPECT_LT(m.size(), SHARE_MESSAGE_MAX);
    std::u16string tail = u"\r\n" + c + u"\r\n" + T(189) + u"\r\nDescarga gratis: https://zenvoral.app/";
    ASSERT_GT(m.size(), tail.size());
    EXPECT_EQ(m.substr(m.size() - tail.size()), tail);
    EXPECT_EQ(m.find(u"número 254"), std::u16string::npos);

    // long titles are cut so a line stays within 200 characters
    std::u16string lm = shareMessage(u"x", {{std::u16string(500, u't'), 3}}, u"ZV1-AQFBAA", u"s");
    size_t a = lm.find(u"• "), e = lm.find(u"\r\n", a);
    EXPECT_LE(e + 2 - a, 200u);
    EXPECT_NE(lm.find(u"t (Arma)\r\n"), std::u16string::npos);
}

TEST(Share, CommandLineOption) {
    struct Case {
        std::u16string line;
        int has;
        std::u16string code;
    } cases[] = {
        {u"--prueba --importar-build=\"ZV1-AQFBAA\" --juego", 1, u"ZV1-AQFBAA"},
        {u"\"--importar-build=ZV1-AQFBAA\"", 1, u"ZV1-AQFBAA"},
        {u"--importar-build=", 1, u""},
        {u"--importar=C:\\datos.txt", 0, u""},
    };
    for (auto& c : cases) {
        std::u16string got;
        EXPECT_EQ(importArg(c.line, got), c.has) << w8u(c.line);
        EXPECT_EQ(got, c.code) << w8u(c.line);
    }
    std::u16string got;
    importArg(u"--importar-build=" + std::u16string(100000, u'A'), got);
    EXPECT_EQ(got.size(), SHARE_MESSAGE_MAX);
}

TEST(Share, FillText) {
    EXPECT_EQ(fillText(u"Build «%ls» importada con %d piezas.", {u"X", u"3"}), u"Build «X» importada con 3 piezas.");
    EXPECT_EQ(fillText(u"100%% %ls %d %ls", {u"a"}), u"100% a  ");
}
