// Arbitrary pasted text through the share-code import: no crash, no build made from a refused
// code, the builds that were there unchanged, and every name that comes in fit to store.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/utf.h"
#include "builds/builds.h"
#include "builds/share.h"
#include "l10n/ui.h"

namespace {

const std::vector<std::u16string> KEYS = {u"1|Striker", u"1|Heartbreaker", u"2|Ceska", u"3|Eagle Bearer",
                                          u"4|Coyote's Mask", u"5|Strained", u"7|Magazine", u"9|Tabla de daño"};

bool fitName(const std::u16string& n) {
    if (n.size() > size_t(BUILD_NAME_MAX)) return false;
    for (size_t i = 0; i < n.size(); i++) {
        char16_t c = n[i];
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
            (c >= 0x2066 && c <= 0x2069))
            return false;
        if (c >= 0xD800 && c <= 0xDBFF && !(i + 1 < n.size() && n[++i] >= 0xDC00 && n[i] <= 0xDFFF)) return false;
        if (c >= 0xDC00 && c <= 0xDFFF) return false;
    }
    return n.empty() || (n.front() != u' ' && n.back() != u' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // first byte: how many builds exist and how to read the rest (UTF-8 or raw UTF-16)
    int existing = data[0] % 3 == 2 ? MAX_BUILDS : 1;
    std::u16string text;
    if (data[0] & 0x80) {
        for (size_t i = 1; i + 1 < size; i += 2) text.push_back(char16_t(data[i] | data[i + 1] << 8));
    } else {
        text = u8w(std::string_view((const char*)data + 1, size - 1));
    }

    uiSetLang(data[0] % 6);
    MemStore st;
    st.load(u"[builds]\r\nn=" + u16num(existing) + u"\r\nactual=0\r\nnombre0=Mía\r\nnombre1=Mi build\r\n"
            u"[build0]\r\nf0=1|2|Ceska\r\nf1=0|7|Magazine\r\nf2=1|11|Noticia\r\n[build1]\r\nf0=0|1|Striker\r\n");
    buildsReset();
    buildsAttach(KEYS);
    buildsLoad(st);
    auto mine = st.section("build0");
    std::u16string before = st.text();
    int n0 = nBuilds;

    ImportResult r;
    int o = buildImportText(st, text, r);
    if (o == IMPORT_NONE || o == IMPORT_FULL) {
        if (st.text() != before || nBuilds != n0 || curBuild != 0) abort();
        if (o == IMPORT_FULL && n0 != MAX_BUILDS) abort();
    } else {
        if (o != IMPORT_DONE || nBuilds != n0 + 1 || curBuild != n0) abort();
        if (st.section("build0") != mine) abort();
        if (!fitName(buildName[curBuild]) || r.name != buildShown(curBuild)) abort();
        if (r.matched < 0 || r.matched > 255 || r.unknown < 0 || r.matched + r.unknown > 255) abort();
        if (buildPieces() != r.matched || buildOwnedCount() != 0) abort();
        if (importMessage(r).empty()) abort();
    }

    // whatever decodes, encodes again to the same pieces
    ShareCode c;
    if (shareDecode(text, c)) {
        if (!fitName(c.name) || c.count < int(c.hashes.size()) || c.count > 255) abort();
        ShareCode d;
        if (!shareDecode(shareCodeText(sharePayload(c.name, c.hashes)), d)) abort();
        if (d.hashes != c.hashes || d.count != int(c.hashes.size())) abort();
        if (d.name.compare(0, d.name.size(), c.name, 0, d.name.size()) != 0) abort();
    }
    return 0;
}
