#include <gtest/gtest.h>

#include "testutil.h"

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "datapack/install.h"
#include "datapack/pack.h"
#include "base/utf.h"
#include "l10n/ui.h"

namespace {

int parse(const std::string& s) { return pkParse(s.data(), s.size()); }

std::string packOf(const std::string& version, const std::string& rest = "") {
    return "# ZENVORAL-DATOS 1\nversion = " + version + "\n" + rest;
}

const std::string HEAD = packOf("1");

std::string str(const char* s) { return s ? s : "<null>"; }

// Every parsed block as "[kind] key=value; ..." lines.
std::string dump() {
    std::string out;
    for (int i = 0; i < pkN; i++) {
        out += "[" + str(pk[i].kind) + "]";
        for (int k = 0; k < pk[i].n; k++) out += " " + str(pk[i].key[k]) + "=" + str(pk[i].val[k]) + ";";
        out += "\n";
    }
    return out;
}

class Pack : public ::testing::Test {
protected:
    void SetUp() override {
        pkClear();
        pkResetHeader();
    }
    void TearDown() override {
        pkClear();
        uiSetLang(0);
    }
};

}  // namespace

TEST_F(Pack, MagicByteOrderMarkAndRejectedTexts) {
    struct { std::string text; int ok; } cases[] = {
        {" " + HEAD, 0}, {"# zenvoral-datos\nversion = 1\n", 0}, {"# ZENVORAL-DATOSversion = 2", 0} /* one comment line */,
        {"# ZENVORAL-DATOS\nversion=3", 1}, {"\xEF\xBB", 0},
    };
    for (auto& c : cases) EXPECT_EQ(parse(c.text), c.ok) << c.text;
    EXPECT_EQ(parse("\xEF\xBB\xBF" + HEAD), 1);
    EXPECT_EQ(pkBuf[0], '#');  // kept without the mark
    // a rejected text leaves the pack in force
    ASSERT_EQ(parse(HEAD + "[noticia]\ntitulo = uno\n"), 1);
    const char* buf = pkBuf;
    const char* title = pk[1].val[0];
    EXPECT_EQ(parse("# ZENVORAL-DATOS\nversion =\n[noticia]\ntitulo = dos\n"), 0);
    EXPECT_EQ(parse("# ZENVORAL-DATOS\n[x]\nversion = 5\n"), 0);  // a version outside the header
    EXPECT_EQ(pkBuf, buf);
    EXPECT_STREQ(title, "uno");
    // a shorter pack after a longer one leaves no stale records visible
    ASSERT_EQ(parse(HEAD), 1);
    EXPECT_EQ(pkN, 1);
    EXPECT_EQ(pk[1].kind, nullptr);
}

TEST_F(Pack, LinesBlocksFieldsAndEscapes) {
    std::string t =
        "# ZENVORAL-DATOS\r\n"
        " \t version \t=  2026-10-30 \r\n"
        "; comment\r\n"
        "just words\r\n"
        "[ noticia ] anything after\r\n"
        "titulo = a = b\r\n"
        "[roto\r\n"
        "  corto=   x  \r\n"
        "[]\r\n"
        " = no key\r\n"
        "[e]\n"
        "bs = a\\\\nb\\n\\q\n"
        "tab = ab\\t\n"
        "keep\\n = c\\";  // last line without a line feed
    ASSERT_EQ(parse(t), 1);
    // the unclosed block line is skipped: corto joins noticia; "tab" is trimmed before
    // unescaping; keys are never unescaped
    EXPECT_EQ(dump(), "[general] version=2026-10-30;\n[noticia] titulo=a = b; corto=x;\n[] =no key;\n"
                      "[e] bs=a\\nb\n\\q; tab=ab\t; keep\\n=c\\;\n");
    // a text that is not terminated, and one holding NUL bytes, stay within their length
    std::string body = HEAD + "[a]\nk = v\n[b]\nk = w";
    std::vector<char> exact(body.begin(), body.end());
    ASSERT_EQ(pkParse(exact.data(), exact.size()), 1);
    EXPECT_STREQ(praw(&pk[2], "k"), "w");
}

TEST_F(Pack, FieldAndBlockLimits) {
    std::string t = HEAD + "[big]\n";
    for (int i = 0; i < 49; i++) t += "k" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    t += "[next]\nk = ok\n";
    ASSERT_EQ(parse(t), 1);
    EXPECT_EQ(pk[1].n, PK_FIELDS);
    EXPECT_EQ(praw(&pk[1], "k48"), nullptr);
    EXPECT_STREQ(praw(&pk[2], "k"), "ok");

    std::string many = HEAD;
    for (int i = 1; i < PK_BLOCKS; i++) many += "[b]\nn = " + std::to_string(i) + "\n";
    many += "[over]\nn = over\n[b]\nn = later\n";
    ASSERT_EQ(parse(many), 1);
    EXPECT_EQ(pkN, PK_BLOCKS);
    EXPECT_STREQ(praw(&pk[PK_BLOCKS - 1], "n"), "299");  // the fields after the end are not read
    EXPECT_EQ(pk[PK_BLOCKS - 1].n, 1);
}

TEST_F(Pack, LocalizedLookupAndYesNo) {
    ASSERT_EQ(parse(HEAD +
                    "[a]\ntitulo = plain\ntitulo.en = english\n"
                    "[b]\ntitulo.es = spanish\ntitulo.en = english\n"
                    "[c]\ntitulo.fr = french\ntitulo = plain\ntitulo.en = english\n"
                    "[d]\ntitulo.de =\ntitulo.de = second\ntitulo.es = spanish\n"
                    "[e]\ntitulo =\n"),
              1);
    // in German block d's first titulo.de counts, and it is empty
    struct { int lang, block; const char* want; } cases[] = {
        {3, 1, "plain"}, {3, 2, "english"}, {3, 4, "spanish"}, {3, 5, "<null>"}, {2, 3, "french"}, {0, 2, "spanish"}};
    for (auto& c : cases) {
        uiSetLang(c.lang);
        EXPECT_EQ(str(pget(&pk[c.block], "titulo")), c.want) << c.lang << " " << c.block;
    }
    EXPECT_EQ(pget(&pk[1], std::string(200, 'k').c_str()), nullptr);
    ASSERT_EQ(parse(HEAD + "[a]\na = sí\nb = Si\nd = 1\ne = no\ni = true\nd = 0\n"), 1);
    std::string yes;
    for (const char* k : {"a", "b", "d", "e", "i", "missing"}) yes += pyes(&pk[1], k) ? k : "";
    EXPECT_EQ(yes, "abd");
}

TEST_F(Pack, Instants) {
    ASSERT_EQ(parse(HEAD +
                    "[a]\n"
                    "t = 2026-11-03T08:00\nrun = 2026-11-03 T  08:00\nday = 2026-11-03\nnorm = 2026-02-30\n"
                    "words = on 2026-11-03\nold = 1969-12-31 23:00\n"
                    "huge = 99999999999-99999999999-99999999999 99999999999:99999999999\nfar = 3001-01-01\n"),
              1);
    long long at8 = utc(2026, 11, 3, 8);
    for (auto [k, want] : {std::pair{"t", at8}, {"run", at8}, {"day", utc(2026, 11, 3)}, {"norm", utc(2026, 3, 2)},
                           {"words", 0LL}, {"old", 0LL}, {"huge", 0LL}, {"far", 0LL}})
        EXPECT_EQ(pkTime(&pk[1], k), want) << k;

    // the civil-date arithmetic agrees with the C library over four centuries
    for (int y = 1970; y <= 2400; y += 7)
        for (int m = -2; m <= 14; m += 3) {
            std::tm t{};
            t.tm_year = y - 1900;
            t.tm_mon = m - 1;
            t.tm_mday = 29;
            t.tm_hour = 25;
            t.tm_min = 61;
            long long ref = (long long)timegm(&t);
            ASSERT_EQ(pkUtc(y, m, 29, 25, 61), ref < 0 ? -1 : ref) << y << "-" << m;
        }
}

TEST_F(Pack, SeasonCodes) {
    struct Case {
        const char* text;
        int idx;
    } cases[] = {
        {"y8 s3", 26}, {"Y7S3 then Y8S1", 24}, {"(Y5S2)", 16}, {"\xC3\xA9Y8S3", 26},  // a non-ASCII byte is not a letter
        {"xY8S3", -1}, {"Y8S0", -1}, {nullptr, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(seasonIdx(c.text), c.idx) << str(c.text);
    EXPECT_GT(seasonIdx("Y99999999999999999999S1"), 0);  // bounded, never overflows
}

// ---- installation and header values ---------------------------------------------------------

namespace {

struct FakeWriter : PackWriter {
    std::string saved;
    int calls = 0;
    int result = 1;
    int save(const char* text, size_t len) override {
        calls++;
        saved.assign(text, len);
        return result;
    }
};

std::string ver() { return w8u(pkVerW); }

}  // namespace

TEST_F(Pack, RawVersion) {
    struct { std::string text; std::string want; } cases[] = {
        {"# ZENVORAL-DATOS\nversion =   2026-10-30 nota\n", "2026-10-30"},
        {"# ZENVORAL-DATOS\nversion = " + std::string(60, 'v'), std::string(39, 'v')},
        {std::string("# ZENVORAL-DATOS\0\nversion = 1\n", 30), ""},          // the text ends at a NUL
    };
    for (auto& c : cases) EXPECT_EQ(std::string(pkVersionOf(c.text.data(), c.text.size())), c.want) << c.text;
    std::string t = "# ZENVORAL-DATOS\nversion = 12345";
    EXPECT_STREQ(pkVersionOf(t.data(), 30), "123");  // never past the length
    EXPECT_STREQ(pkVersionOf(nullptr, 5), "");
}

TEST_F(Pack, StartupPicksTheInstalledFileOnlyWhenAtLeastAsNew) {
    std::string same = packOf("2026-10-30", "[noticia]\ntitulo = installed\n");
    EXPECT_EQ(pkStartup(same.data(), same.size()), 1);
    EXPECT_EQ(std::make_pair(pkFromFile, pkN), std::make_pair(1, 2));
    std::string older = packOf("2026-10-29b");
    EXPECT_EQ(pkStartup(older.data(), older.size()), 0);
    EXPECT_GT(pkN, 2);  // the built-in pack
    // the raw version is newer but the header has none: the file does not parse
    std::string headless = "# ZENVORAL-DATOS\n[x]\nversion = 2027-01-01\n";
    EXPECT_EQ(pkStartup(headless.data(), headless.size()), 0);
    EXPECT_EQ(ver(), "2026-10-30");
    std::string big = packOf("2099-01-01") + "#" + std::string(PK_FILE_MAX, 'x');
    EXPECT_EQ(pkStartup(big.data(), big.size()), 0);
    EXPECT_EQ(pkInstall(big.data(), big.size(), 1, nullptr), 0);
}

TEST_F(Pack, InstallVersionRuleAndForce) {
    pkStartup(nullptr, 0);
    FakeWriter w;
    std::string same = packOf("2026-10-30", "[noticia]\ntitulo = new\n");
    EXPECT_EQ(pkInstall(same.data(), same.size(), 0, &w), 2);
    EXPECT_EQ(w.calls + pkFromFile, 0);
    EXPECT_EQ(pkInstall(same.data(), same.size(), 1, &w), 1);  // forced
    EXPECT_EQ(w.saved, same);
    std::string newer = "\xEF\xBB\xBF" + packOf("2026-10-30b", "[a]\n");
    // the file could not be written: not installed, and nothing changes (it would be gone at
    // the next start)
    w.result = 0;
    const char* before = pkBuf;
    EXPECT_EQ(pkInstall(newer.data(), newer.size(), 0, &w), PK_NOT_SAVED);
    EXPECT_EQ(w.saved, newer.substr(3));
    EXPECT_EQ(ver(), "2026-10-30");
    EXPECT_EQ(pkBuf, before);
    w.result = 1;
    EXPECT_EQ(pkInstall(newer.data(), newer.size(), 0, &w), 1);
    EXPECT_EQ(ver(), "2026-10-30b");
    // not a pack: nothing is written and the pack in force stays
    const char* buf = pkBuf;
    int calls = w.calls;
    for (std::string bad : {std::string("# ZENVORAL"), " " + packOf("2099"), packOf(""),
                            std::string("# ZENVORAL-DATOS\n[x]\nversion = 2099\n")})
        EXPECT_EQ(pkInstall(bad.data(), bad.size(), 1, &w), 0) << bad;
    EXPECT_EQ(w.calls, calls);
    EXPECT_EQ(pkBuf, buf);
}

TEST_F(Pack, HeaderValues) {
    // values that do not read keep the ones before; huge numbers stay positive
    ASSERT_EQ(parse(packOf("1", "tu = TU31\nventana = 4\ntemporada = Año 8, Y8S1\n")), 1);
    pkApplyHeader();
    EXPECT_EQ(w8u(pkSeasonW) + " " + std::to_string(pkTu), "Y8 S1 31");
    ASSERT_EQ(parse(packOf("1", "tu = T\nventana = 99999999999\ntemporada = Y99999999999S9\n")), 1);
    pkApplyHeader();
    EXPECT_EQ(pkTu, 31);
    EXPECT_GT(pkWindow, 0);
    EXPECT_GT(pkSeason, 0);
    ASSERT_EQ(parse(packOf(std::string(45, '9'))), 1);
    pkApplyHeader();
    EXPECT_EQ(ver().size(), 39u);
}

TEST(ImportOption, TakesThePathAndNothingElse) {
    const std::u16string longPath = u"C:\\" + std::u16string(256, u'a') + u".txt";  // 263 characters
    struct {
        std::u16string cmd;
        int want;
        std::u16string path;
    } cases[] = {
        {u"--importar=\"C:\\Mis datos\\datos.txt\" --prueba edicion", 1, u"C:\\Mis datos\\datos.txt"},
        {u"--importar=C:\\Mis datos\\datos.txt   --prueba", 1, u"C:\\Mis datos\\datos.txt"},
        {u"--importar=\"C:\\sin cierre.txt  ", 1, u"C:\\sin cierre.txt"},
        {u"\"--importar=C:\\todo entre comillas.txt\" --prueba", 1, u"C:\\todo entre comillas.txt"},
        {u"--importar=\"\" --prueba", 0, u""},
        {u"--importar-build=ABC", 0, u""},
        {u"--importar=\"" + longPath + u"\" --prueba", 2, longPath},  // refused, not cut
        {u"--importar=" + longPath.substr(4), 1, longPath.substr(4)},  // 259 characters
    };
    for (auto& c : cases) {
        std::u16string got;
        EXPECT_EQ(pkImportArg(c.cmd, &got), c.want) << w8u(c.cmd);
        EXPECT_EQ(got, c.path) << w8u(c.cmd);
    }
}
