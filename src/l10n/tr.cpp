#include "l10n/tr.h"

#include <cstring>

#include "l10n/ui.h"
#include "base/utf.h"

namespace {

const char* const* segEs = SEG_ES;
const char* const* segTr = SEG_TR;
int segN = SEG_N;

// strcmp of (p, n) against the terminated string s, bytes compared unsigned.
int cmpSeg(const char* p, size_t n, const char* s) {
    for (size_t i = 0; i < n; i++) {
        unsigned char a = (unsigned char)p[i], b = (unsigned char)s[i];
        if (a != b) return a < b ? -1 : 1;  // also when s ends first (b == 0 < a)
    }
    return s[n] ? -1 : 0;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

int segCmp(const void* a, const void* b) {
    return std::strcmp(*(const char* const*)a, *(const char* const*)b);
}

void trUseTables(const char* const* es, const char* const* tr, int n) {
    if (!es) {
        segEs = SEG_ES, segTr = SEG_TR, segN = SEG_N;
    } else {
        segEs = es, segTr = tr, segN = n;
    }
}

const char* trSegL(const char* seg, size_t len, int l) {
    if (l <= 0 || l >= LANG_COUNT || len < 1 || len > 2047 || !seg) return nullptr;
    // A segment holding a NUL byte matches nothing: table entries are terminated strings.
    if (std::memchr(seg, 0, len)) return nullptr;
    int lo = 0, hi = segN - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = cmpSeg(seg, len, segEs[mid]);
        if (c == 0) {
            const char* t = segTr[size_t(l - 1) * size_t(segN) + size_t(mid)];
            return t && *t ? t : nullptr;
        }
        if (c < 0) hi = mid - 1;
        else lo = mid + 1;
    }
    return nullptr;
}

const char* trSeg(const char* seg, size_t len) { return trSegL(seg, len, lang); }

void trSplitTo(std::string& out, const char* text, const char* sep, int l) {
    if (!text) return;
    size_t sepLen = sep ? std::strlen(sep) : 0;
    const char* p = text;
    for (;;) {
        const char* end = sepLen ? std::strstr(p, sep) : nullptr;
        const char* stop = end ? end : p + std::strlen(p);
        const char* a = p;
        while (a < stop && isBlank(*a)) a++;
        const char* b = stop;
        while (b > a && isBlank(b[-1])) b--;
        out.append(p, a - p);
        if (b > a) {
            const char* t = l > 0 ? trSegL(a, size_t(b - a), l) : nullptr;
            if (t) out.append(t);
            else out.append(a, b - a);
        }
        out.append(b, stop - b);
        if (!end) return;
        out.append(sep, sepLen);
        p = end + sepLen;
    }
}

std::string trSplit(const char* text, const char* sep) {
    std::string out;
    trSplitTo(out, text, sep, lang);
    return out;
}

void trTableTo(std::string& out, const char* text, int l) {
    if (!text) return;
    const char* p = text;
    for (;;) {
        const char* e = p;
        while (*e && *e != '\t' && *e != '\n') e++;
        if (e > p) {
            const char* t = l > 0 ? trSegL(p, size_t(e - p), l) : nullptr;
            if (t) out.append(t);
            else out.append(p, e - p);
        }
        if (!*e) return;
        out.push_back(*e);
        p = e + 1;
    }
}

std::string trTable(const char* text) {
    std::string out;
    trTableTo(out, text, lang);
    return out;
}

std::u16string u8w(std::string_view s, int crlf) {
    std::u16string w = u8w(s);
    if (!crlf || w.empty()) return w;
    size_t lf = 0;
    for (char16_t c : w) lf += c == u'\n';
    if (!lf) return w;
    std::u16string out;
    out.reserve(w.size() + lf);
    for (char16_t c : w) {
        if (c == u'\n') out.push_back(u'\r');
        out.push_back(c);
    }
    return out;
}
