#include "l10n/tr.h"

#include <cstring>

#include "l10n/ui.h"

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

void u8wAppend(std::u16string& out, std::string_view s, int crlf) {
    size_t at = out.size();
    // every byte gives at most one UTF-16 unit (a 4-byte sequence gives two); CR LF doubles a byte
    out.resize(at + s.size() * (crlf ? 2 : 1));
    char16_t* o = out.data() + at;
    const unsigned char* p = (const unsigned char*)s.data();
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = p[i];
        if (c < 0x80) {
            if (c == '\n' && crlf) *o++ = u'\r';
            *o++ = c;
            i++;
            continue;
        }
        char32_t cp;
        size_t len;
        if ((c & 0xE0) == 0xC0) cp = c & 0x1F, len = 2;
        else if ((c & 0xF0) == 0xE0) cp = c & 0x0F, len = 3;
        else if ((c & 0xF8) == 0xF0) cp = c & 0x07, len = 4;
        else len = 0;
        bool ok = len && i + len <= n;
        for (size_t k = 1; ok && k < len; k++) {
            if ((p[i + k] & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // overlong forms, surrogates and values past U+10FFFF are invalid
        if (ok && ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
                   (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF))
            ok = false;
        if (!ok) {
            *o++ = 0xFFFD;
            i++;
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            *o++ = char16_t(0xD800 + (cp >> 10));
            *o++ = char16_t(0xDC00 + (cp & 0x3FF));
            i += len;
        } else {
            *o++ = char16_t(cp);
            i += len;
        }
    }
    out.resize(size_t(o - out.data()));
}

std::u16string u8w(std::string_view s, int crlf) {
    std::u16string out;
    u8wAppend(out, s, crlf);
    return out;
}
