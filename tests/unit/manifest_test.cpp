#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/utf.h"
#include "l10n/ui.h"
#include "update/manifest.h"

namespace {

struct Offer {
    int result;
    std::string ver, url, sha;
};

Offer take(const std::string& text, int custom = 0) {
    char* buf = (char*)std::malloc(text.size() + 1);
    std::memcpy(buf, text.c_str(), text.size() + 1);
    char16_t ver[UPD_VER];
    int r = updTake(buf, custom, ver);
    return {r, w8u(ver), w8u(updUrl), w8u(updSha)};
}

std::string manifest(const std::string& body) {
    return "# ZENVORAL-VERSION\n" + body;
}

const std::string URL = "instalador = https://example.test/Zenvoral-0.1.0.exe\n";

struct Manifest : ::testing::Test {
    void TearDown() override {
        updForget();
        uiSetLang(0);
    }
};

}  // namespace

TEST_F(Manifest, NewerByBuildNumberOrVersionAndInvalidManifests) {
    const std::string ok = "version = 0.1.0\n" + URL;
    struct {
        std::string text;
        int custom;
        int result;
    } cases[] = {
        {manifest(URL + "version = 0.0.1\ncompilacion = 10\n"), 0, UPD_NEWER},  // the build number alone decides
        {manifest(URL + "version = 9.9.9\ncompilacion = 9\n"), 0, UPD_CURRENT},
        {manifest(URL + "version = 0.0.9.0.5\n"), 0, UPD_CURRENT},  // a fifth component is not read
        {manifest(URL + "version = 99999999999999999999999.0\n"), 0, UPD_NEWER},
        {"\xEF\xBB\xBF" + manifest(ok), 0, UPD_INVALID},          // byte-order mark first
        {"# ZENVORAL-DATOS\n" + ok, 0, UPD_INVALID},
        {manifest(URL), 0, UPD_INVALID},                          // no version
        {manifest("version = 0.1.0\n"), 0, UPD_INVALID},          // no installer
        {manifest("version = 0.1.0\ninstalador = http://127.0.0.1/i.exe\n"), 0, UPD_INVALID},
        {manifest("version = 0.1.0\ninstalador = http://127.0.0.1/i.exe\n"), 1, UPD_NEWER},  // a custom address may
        {manifest("version = 0.1.0\ninstalador = ftp://x/i.exe\n"), 1, UPD_INVALID},
        {manifest("version = " + std::string(32, '1') + "\n" + URL), 0, UPD_INVALID},  // too long
        {manifest("version = " + std::string(31, '1') + "\n" + URL), 0, UPD_NEWER},
        {manifest("version = 1\ninstalador = https://" + std::string(1016, 'a') + "\n"), 0, UPD_INVALID},
        {manifest("version = 1\ninstalador = https://" + std::string(1015, 'a') + "\n"), 0, UPD_NEWER},
    };
    for (auto& c : cases) EXPECT_EQ(take(c.text, c.custom).result, c.result) << c.text.substr(0, 120);
}

TEST_F(Manifest, PairsTrimmedEscapedFirstWinsOnly48) {
    std::string body = "  version =\t0.2.0  \r\n# comment = no\n[section = no]\nno equals sign\n\n" + URL +
                       "version = 5.0.0\nsha256 = ABCDEF0123\nnotas = uno\\ndos\\\\tres\\x\n";
    Offer o = take(manifest(body));
    EXPECT_EQ(o.result, UPD_NEWER);
    EXPECT_EQ(o.ver + " " + o.url + " " + o.sha, "0.2.0 https://example.test/Zenvoral-0.1.0.exe abcdef0123");
    EXPECT_STREQ(updNotes(lang), "uno\ndos\\tres\\x");

    auto pairs = [](int n) {
        std::string s;
        for (int i = 0; i < n; i++) s += "k" + std::to_string(i) + " = v\n";
        return s;
    };
    EXPECT_EQ(take(manifest("version = 1\n" + pairs(47) + URL)).result, UPD_INVALID) << "the 49th pair is ignored";
    EXPECT_EQ(take(manifest("version = 1\n" + pairs(46) + URL)).result, UPD_NEWER);
}

TEST_F(Manifest, NotesInTheUsersLanguageFirst) {
    take(manifest("version = 1\n" + URL + "notas.en = English\nnotas.de = Deutsch\nnotas = Plain\n"));
    EXPECT_STREQ(updNotes(3), "Deutsch");
    uiSetLang(2);
    EXPECT_STREQ(updNotes(lang), "Plain");
    take(manifest("version = 1\n" + URL + "notas.es = Español\nnotas.en = English\n"));
    EXPECT_STREQ(updNotes(lang), "English");
}

TEST_F(Manifest, EachResultReplacesThePreviousOffer) {
    take(manifest("version = 1\n" + URL + "sha256 = aa\n"));
    Offer o = take(manifest("version = 2\n"));
    EXPECT_EQ(o.result, UPD_INVALID);
    EXPECT_EQ(o.url + o.sha, "");
    EXPECT_EQ(take("garbage").result, UPD_INVALID);
    EXPECT_EQ(updInfo.n, 0);
}

TEST(Version, ComponentCompare) {
    // "v2": no leading digits reads as 0 and stops there
    struct { const char *a, *b; bool newer; } cases[] = {
        {"0.0.10", "0.0.9", true}, {"0.0.9", "0.0.10", false}, {"1.2.3.4", "1.2.3.4", false},
        {"v2", "0.0.9", false}, {"1.a", "0.9", true}};
    for (auto& c : cases) EXPECT_EQ(verNewer(c.a, c.b) != 0, c.newer) << c.a << " / " << c.b;
}
