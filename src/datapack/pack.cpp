#include "datapack/pack.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "l10n/ui.h"

PackBlock pk[PK_BLOCKS];
int pkN;
char* pkBuf;

namespace {

PackBlock nb[PK_BLOCKS];  // work records: copied into pk only when the text proves valid
char* nbBuf;              // the text they point into, while staged
int nbCount;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// sscanf-style "%d": leading white space, optional sign, at least one digit. Saturates far
// beyond any calendar value so later arithmetic cannot overflow.
bool scanInt(const char*& p, int* out) {
    const char* q = p;
    while (*q == ' ' || (*q >= '\t' && *q <= '\r')) q++;
    bool neg = false;
    if (*q == '+' || *q == '-') neg = *q++ == '-';
    if (!isDigit(*q)) return false;
    long long v = 0;
    for (; isDigit(*q); q++)
        if (v < 1000000000) v = v * 10 + (*q - '0');
    if (v > 1000000000) v = 1000000000;
    *out = int(neg ? -v : v);
    p = q;
    return true;
}

long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1970-01-01 to the given proleptic Gregorian date (month 1..12).
long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    long long era = floorDiv(y, 400);
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

char* pkTrim(char* line) {
    while (*line == ' ' || *line == '\t') line++;
    size_t n = std::strlen(line);
    while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == '\t' || line[n - 1] == '\r')) line[--n] = 0;
    return line;
}

void pkUnescape(char* v) {
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

int pkParse(const char* text, size_t len) {
    if (!pkStage(text, len)) return 0;
    pkAdopt();
    return 1;
}

void pkDiscard() {
    std::free(nbBuf);
    nbBuf = nullptr;
    nbCount = 0;
}

void pkAdopt() {
    if (!nbBuf) return;
    std::free(pkBuf);
    pkBuf = nbBuf;
    nbBuf = nullptr;
    std::memcpy(pk, nb, sizeof(PackBlock) * size_t(nbCount));
    if (pkN > nbCount) std::memset(pk + nbCount, 0, sizeof(PackBlock) * size_t(pkN - nbCount));
    pkN = nbCount;
    nbCount = 0;
}

int pkStage(const char* text, size_t len) {
    pkDiscard();
    if (!text || len < 3) return 0;
    if ((unsigned char)text[0] == 0xEF && (unsigned char)text[1] == 0xBB && (unsigned char)text[2] == 0xBF) {
        text += 3;
        len -= 3;
    }
    size_t ml = std::strlen(PK_MAGIC);
    if (len < ml || std::memcmp(text, PK_MAGIC, ml) != 0) return 0;
    char* buf = (char*)std::malloc(len + 1);
    if (!buf) return 0;
    std::memcpy(buf, text, len);
    buf[len] = 0;

    nb[0].kind = "general";
    nb[0].n = 0;
    int count = 1;
    char* end = buf + len;
    for (char* p = buf; p <= end;) {
        char* nl = (char*)std::memchr(p, '\n', size_t(end - p));
        if (nl) *nl = 0;
        char* line = pkTrim(p);
        p = nl ? nl + 1 : end + 1;
        if (!*line || *line == '#' || *line == ';') continue;
        if (*line == '[') {
            char* close = std::strchr(line, ']');
            if (!close) continue;
            if (count == PK_BLOCKS) break;
            *close = 0;
            nb[count].kind = pkTrim(line + 1);
            nb[count].n = 0;
            count++;
            continue;
        }
        char* eq = std::strchr(line, '=');
        PackBlock& b = nb[count - 1];
        if (!eq || b.n == PK_FIELDS) continue;
        *eq = 0;
        char* val = pkTrim(eq + 1);
        pkUnescape(val);
        b.key[b.n] = pkTrim(line);
        b.val[b.n] = val;
        b.n++;
    }

    bool valid = false;
    for (int i = 0; i < nb[0].n && !valid; i++) valid = std::strcmp(nb[0].key[i], "version") == 0 && *nb[0].val[i];
    if (!valid) {
        std::free(buf);
        return 0;
    }
    nbBuf = buf;
    nbCount = count;
    return 1;
}

void pkClear() {
    std::free(pkBuf);
    pkBuf = nullptr;
    std::memset(pk, 0, sizeof pk);
    pkN = 0;
}

const char* praw(const PackBlock* b, const char* key) {
    if (!b || !key) return nullptr;
    for (int i = 0; i < b->n && i < PK_FIELDS; i++)
        if (std::strcmp(b->key[i], key) == 0) return b->val[i];
    return nullptr;
}

const char* pget(const PackBlock* b, const char* key) {
    if (!b || !key) return nullptr;
    const char* v;
    char k[80];
    bool fits = std::strlen(key) < sizeof k - 4;
    if (fits && lang >= 0 && lang < LANG_COUNT) {
        std::snprintf(k, sizeof k, "%s.%s", key, LANG_CODE[lang]);
        if ((v = praw(b, k)) && *v) return v;
    }
    if ((v = praw(b, key)) && *v) return v;
    if (!fits) return nullptr;
    std::snprintf(k, sizeof k, "%s.en", key);
    if ((v = praw(b, k)) && *v) return v;
    std::snprintf(k, sizeof k, "%s.es", key);
    if ((v = praw(b, k)) && *v) return v;
    return nullptr;
}

int pyes(const PackBlock* b, const char* key) {
    const char* v = praw(b, key);
    return v && *v && std::strchr("SsYy1", *v) ? 1 : 0;
}

long long pkUtc(int year, int mon, int day, int hour, int min) {
    long long m0 = (long long)mon - 1;
    long long y = (long long)year + floorDiv(m0, 12);
    long long m = m0 - floorDiv(m0, 12) * 12 + 1;
    long long days = daysFromCivil(y, m, 1) + (long long)day - 1;
    long long s = days * 86400 + (long long)hour * 3600 + (long long)min * 60;
    return s < 0 || s > 32535215999LL ? -1 : s;  // the range of the Windows conversion
}

long long pkTime(const PackBlock* b, const char* key) {
    const char* v = praw(b, key);
    if (!v || !*v) return 0;
    int f[5] = {0, 0, 0, 0, 0};
    const char* p = v;
    int got = 0;
    while (got < 3) {
        if (got > 0) {
            if (*p != '-') break;
            p++;
        }
        if (!scanInt(p, &f[got])) break;
        got++;
    }
    if (got < 3) return 0;
    if (*p == ' ' || *p == 'T') {
        while (*p == ' ' || *p == 'T') p++;
        if (scanInt(p, &f[3]) && *p == ':') {
            p++;
            scanInt(p, &f[4]);
        }
    }
    long long t = pkUtc(f[0], f[1], f[2], f[3], f[4]);
    return t < 0 ? 0 : t;
}

int seasonIdx(const char* text) {
    if (!text || !*text) return -1;
    int best = -1;
    for (const char* p = text; *p; p++) {
        if ((*p != 'Y' && *p != 'y') || !isDigit(p[1])) continue;
        if (p > text && isAlnum(p[-1])) continue;
        const char* q = p + 1;
        long long year = 0;
        for (; isDigit(*q); q++)
            if (year < 10000000) year = year * 10 + (*q - '0');
        if (year > 10000000) year = 10000000;
        while (*q == ' ') q++;
        if ((*q == 'S' || *q == 's') && q[1] >= '1' && q[1] <= '9') {
            int idx = int(year * 3 + (q[1] - '0') - 1);
            if (idx > best) best = idx;
        }
    }
    return best;
}
