#include "update/manifest.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "base/endpoints.h"
#include "base/utf.h"
#include "l10n/ui.h"

UpdPairs updInfo;
char* updNotesBuf;
char16_t updUrl[UPD_URL];
char16_t updSha[UPD_SHA];

namespace {

// Leading decimal digits, saturating; 0 when there are none.
long long leadingNumber(const char*& p) {
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        if (v < LLONG_MAX / 10 - 10) v = v * 10 + (*p - '0');
    return v;
}

// UTF-8 into a fixed wide buffer; 0 (and an empty buffer) when it does not fit.
int copyWide(char16_t* dst, size_t cap, const char* src) {
    std::u16string w = u8w(src ? src : "");
    dst[0] = 0;
    if (w.size() >= cap) return 0;
    std::memcpy(dst, w.data(), w.size() * sizeof(char16_t));
    dst[w.size()] = 0;
    return 1;
}

char* trim(char* line) {
    while (*line == ' ' || *line == '\t') line++;
    size_t n = std::strlen(line);
    while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == '\t' || line[n - 1] == '\r')) line[--n] = 0;
    return line;
}

// \n, \t and \\ in place; any other backslash stays.
void unescape(char* v) {
    char* o = v;
    for (char* p = v; *p; p++) {
        if (*p == '\\' && (p[1] == 'n' || p[1] == 't' || p[1] == '\\')) {
            p++;
            *o++ = *p == 'n' ? '\n' : *p == 't' ? '\t' : '\\';
        } else {
            *o++ = *p;
        }
    }
    *o = 0;
}

}  // namespace

const char* mfGet(const UpdPairs* m, const char* key) {
    for (int i = 0; i < m->n; i++)
        if (std::strcmp(m->key[i], key) == 0) return m->val[i];
    return nullptr;
}

const char* updNotes(int l) {
    const char* v;
    if (l >= 0 && l < LANG_COUNT) {
        std::string k = std::string("notas.") + LANG_CODE[l];
        if ((v = mfGet(&updInfo, k.c_str())) && *v) return v;
    }
    for (const char* k : {"notas", "notas.en", "notas.es"})
        if ((v = mfGet(&updInfo, k)) && *v) return v;
    return nullptr;
}

int mfParse(char* text, UpdPairs* out) {
    out->n = 0;
    size_t ml = std::strlen(UPD_MAGIC);
    if (!text || std::strncmp(text, UPD_MAGIC, ml) != 0) return -1;
    char* p = std::strchr(text, '\n');
    while (p && out->n < UPD_PAIRS) {
        char* line = p + 1;
        p = std::strchr(line, '\n');
        if (p) *p = 0;
        line = trim(line);
        if (!*line || *line == '#' || *line == '[') continue;
        char* eq = std::strchr(line, '=');
        if (!eq) continue;
        *eq = 0;
        char* key = trim(line);
        char* val = trim(eq + 1);
        unescape(val);
        out->key[out->n] = key;
        out->val[out->n] = val;
        out->n++;
    }
    return out->n;
}

int verNewer(const char* offered, const char* running) {
    const char* a = offered ? offered : "";
    const char* b = running ? running : "";
    for (int i = 0; i < 4; i++) {
        long long x = leadingNumber(a), y = leadingNumber(b);
        if (*a == '.') a++;
        if (*b == '.') b++;
        if (x != y) return x > y;
    }
    return 0;
}

int updTake(char* text, int customAddress, char16_t* ver) {
    std::free(updNotesBuf);
    updNotesBuf = text;
    updUrl[0] = updSha[0] = ver[0] = 0;
    if (mfParse(text, &updInfo) <= 0) {
        updInfo.n = 0;
        return UPD_INVALID;
    }
    const char* v = mfGet(&updInfo, "version");
    const char* url = mfGet(&updInfo, "instalador");
    if (!v || !*v || !url || !*url) return UPD_INVALID;
    bool https = std::strncmp(url, "https://", 8) == 0;
    bool http = std::strncmp(url, "http://", 7) == 0;
    if (!https && !(http && customAddress)) return UPD_INVALID;
    // values longer than their buffers are refused rather than cut (a cut address is another one)
    if (!copyWide(ver, UPD_VER, v) || !copyWide(updUrl, UPD_URL, url)) return UPD_INVALID;
    if (!copyWide(updSha, UPD_SHA, mfGet(&updInfo, "sha256"))) return UPD_INVALID;
    for (char16_t* c = updSha; *c; c++)
        if (*c >= u'A' && *c <= u'Z') *c = char16_t(*c - u'A' + u'a');

    std::string running = w8u(ZV_VERSION);
    if (const char* build = mfGet(&updInfo, "compilacion")) {
        const char* p = build;
        return leadingNumber(p) > ZV_BUILD ? UPD_NEWER : UPD_CURRENT;
    }
    return verNewer(v, running.c_str()) ? UPD_NEWER : UPD_CURRENT;
}

void updForget() {
    std::free(updNotesBuf);
    updNotesBuf = nullptr;
    updInfo.n = 0;
    updUrl[0] = updSha[0] = 0;
}
