#include "datapack/install.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "checklist/clock.h"
#include "datapack/pack.h"
#include "base/utf.h"

int pkFromFile;
char16_t pkVerW[40] = u"?";
char16_t pkSeasonW[24];
int pkSeason = 26;
int pkTu = 30;
int pkWindow = 3;

namespace {

// Leading decimal number in the manner of atoi, saturating instead of overflowing.
int leadingInt(const char* p) {
    while (*p == ' ' || *p == '\t') p++;
    bool neg = false;
    if (*p == '+' || *p == '-') neg = *p++ == '-';
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        if (v <= INT_MAX) v = v * 10 + (*p - '0');
    if (v > INT_MAX) v = INT_MAX;
    return int(neg ? -v : v);
}

// UTF-8 into a fixed wide buffer, never ending on half a surrogate pair.
void copyWide(char16_t* dst, size_t cap, const char* src) {
    std::u16string w = u8w(src);
    size_t n = w.size() < cap - 1 ? w.size() : cap - 1;
    if (n < w.size() && n > 0 && w[n - 1] >= 0xD800 && w[n - 1] <= 0xDBFF) n--;
    std::memcpy(dst, w.data(), n * sizeof(char16_t));
    dst[n] = 0;
}

}  // namespace

const char* pkVersionOf(const char* text, size_t len) {
    static char ver[40];
    ver[0] = 0;
    if (!text) return ver;
    std::string_view s(text, len);
    s = s.substr(0, s.find('\0'));
    size_t at = s.find("\nversion");
    if (at == std::string_view::npos) return ver;
    size_t eq = s.find('=', at);
    if (eq == std::string_view::npos) return ver;
    size_t i = eq + 1;
    while (i < s.size() && s[i] == ' ') i++;
    size_t n = 0;
    for (; i < s.size() && n < sizeof ver - 1 && s[i] != '\n' && s[i] != '\r' && s[i] != ' '; i++) ver[n++] = s[i];
    ver[n] = 0;
    return ver;
}

int pkStartup(const char* file, size_t len) {
    char builtin[40];
    std::strcpy(builtin, pkVersionOf(PACK_BUILTIN, PACK_BUILTIN_LEN));
    pkFromFile = 0;
    if (file && len <= PK_FILE_MAX && std::strcmp(pkVersionOf(file, len), builtin) >= 0 && pkParse(file, len))
        pkFromFile = 1;
    else
        pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN);
    pkApplyHeader();
    return pkFromFile;
}

int pkInstall(const char* text, size_t len, int force, PackWriter* writer) {
    if (!text || len < 3 || len > PK_FILE_MAX) return 0;
    if ((unsigned char)text[0] == 0xEF && (unsigned char)text[1] == 0xBB && (unsigned char)text[2] == 0xBF) {
        text += 3;
        len -= 3;
    }
    size_t ml = std::strlen(PK_MAGIC);
    if (len < ml || std::memcmp(text, PK_MAGIC, ml) != 0) return 0;
    char ver[40];
    std::strcpy(ver, pkVersionOf(text, len));
    if (!ver[0]) return 0;
    std::string cur = w8u(pkVerW);
    if (cur.size() > 40) cur.resize(40);
    if (!force && std::strcmp(ver, cur.c_str()) <= 0) return 2;
    if (!pkStage(text, len)) return 0;
    if (writer && !writer->save(text, len)) {
        pkDiscard();
        return PK_NOT_SAVED;
    }
    pkAdopt();
    pkFromFile = 1;
    pkApplyHeader();
    return 1;
}

void pkApplyHeader() {
    const PackBlock* h = pkN > 0 ? &pk[0] : nullptr;
    const char* v = praw(h, "version");
    if (v)
        copyWide(pkVerW, sizeof pkVerW / sizeof pkVerW[0], v);
    else
        std::memcpy(pkVerW, u"?", sizeof u"?");

    pkSeasonW[0] = 0;
    if (const char* s = praw(h, "temporada")) {
        int idx = seasonIdx(s);
        if (idx >= 0) {
            pkSeason = idx;
            fmtText(pkSeasonW, 24, u"Y%d S%d", {idx / 3, idx % 3 + 1});
        }
    }
    if (const char* tu = praw(h, "tu")) {
        if (tu[0] == 'T') tu += tu[1] ? 2 : 1;
        int n = leadingInt(tu);
        if (n > 0) pkTu = n;
    }
    if (const char* w = praw(h, "ventana")) {
        int n = leadingInt(w);
        if (n >= 1) pkWindow = n;
    }
}

void pkResetHeader() {
    pkFromFile = 0;
    std::memcpy(pkVerW, u"?", sizeof u"?");
    pkSeasonW[0] = 0;
    pkSeason = 26;
    pkTu = 30;
    pkWindow = 3;
}

int pkImportArg(std::u16string_view cmd, std::u16string* path) {
    path->clear();
    size_t at = cmd.find(u"--importar=");
    if (at == std::u16string_view::npos) return 0;
    std::u16string_view rest = cmd.substr(at + 11);
    std::u16string_view p;
    if (!rest.empty() && rest[0] == u'"') {
        size_t close = rest.find(u'"', 1);
        p = rest.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1);
    } else {
        // no path holds a quote: one ends it (a shell that quoted the whole option), as does
        // the next option
        p = rest.substr(0, std::min(rest.find(u" --"), rest.find(u'"')));
    }
    while (!p.empty() && (p.back() == u' ' || p.back() == u'\t')) p.remove_suffix(1);
    if (p.empty()) return 0;
    *path = std::u16string(p);
    return p.size() > 259 ? 2 : 1;
}
