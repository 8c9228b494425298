#include "tools/dps.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/utf.h"

const int dpsLbl[DPS_FIELDS] = {238, 239, 240, 241, 242, 243, 244, 245, 246};
const char16_t* const dpsDef[DPS_FIELDS] = {u"50000", u"750", u"40", u"2.2", u"15", u"50", u"100", u"0", u"55"};
const int dpsResLbl[DPS_RESULTS] = {247, 248, 249, 250, 251};

namespace {

constexpr int READ_MAX = 39;
constexpr double SATURATE = 1e15;

bool digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool mark(char16_t c) { return c == u'.' || c == u','; }
// Characters players put between groups of three digits besides "." and ",".
bool groupSpace(char16_t c) {
    return c == u' ' || c == 0x00A0 || c == 0x202F || c == 0x2009 || c == u'\'' || c == 0x2019;
}
bool blank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x202F || c == 0x2009; }

// Exactly three digits at s[i..] and no digit after them (within n).
bool threeDigits(const char16_t* s, int i, int n) {
    return i + 3 <= n && digit(s[i]) && digit(s[i + 1]) && digit(s[i + 2]) && (i + 3 == n || !digit(s[i + 3]));
}

}  // namespace

double dpsParse(const char16_t* text) {
    if (!text) return 0;
    int n = 0;
    while (n < READ_MAX && text[n]) n++;
    const char16_t* s = text;
    int i = 0;
    while (i < n && blank(s[i])) i++;
    if (i < n && s[i] == u'+') i++;
    // The numeral: digits and marks, group spaces kept only between digit groups.
    char16_t tok[READ_MAX + 1];
    int len = 0;
    for (; i < n; i++) {
        char16_t c = s[i];
        if (digit(c)) {
            tok[len++] = c;
        } else if (mark(c) && i + 1 < n && digit(s[i + 1])) {
            tok[len++] = c;
        } else if (groupSpace(c) && len > 0 && digit(tok[len - 1]) && threeDigits(s, i + 1, n)) {
            continue;  // "49 104", "1'000"
        } else {
            break;
        }
    }
    // Which mark is the decimal mark, if any.
    int dots = 0, commas = 0, lastMark = -1;
    for (int k = 0; k < len; k++) {
        if (tok[k] == u'.') dots++;
        if (tok[k] == u',') commas++;
        if (mark(tok[k])) lastMark = k;
    }
    char16_t dec = 0;
    if (dots && commas) {
        dec = tok[lastMark];
    } else if (dots + commas == 1) {
        int before = 0;
        for (int k = lastMark - 1; k >= 0 && digit(tok[k]); k--) before++;
        bool thousands = before >= 1 && before <= 3 && tok[lastMark - before] != u'0' &&
                         threeDigits(tok, lastMark + 1, len);
        if (!thousands) dec = tok[lastMark];
    }
    // Digits before the decimal mark, then after it; the number ends at a second decimal mark or
    // at a group mark after the decimal one.
    double v = 0, scale = 0.1;
    bool frac = false;
    for (int k = 0; k < len; k++) {
        char16_t c = tok[k];
        if (digit(c)) {
            if (!frac) {
                v = v * 10 + (c - u'0');
                if (v >= SATURATE) return SATURATE;
            } else if (scale > 1e-12) {
                v += (c - u'0') * scale;
                scale /= 10;
            }
        } else if (c == dec) {
            if (frac) break;
            frac = true;
        } else if (frac) {
            break;
        }
    }
    return v;
}

DpsOut dpsCompute(const double in[DPS_FIELDS]) {
    double x[DPS_FIELDS];
    for (int k = 0; k < DPS_FIELDS; k++) x[k] = std::isfinite(in[k]) && in[k] > 0 ? in[k] : 0;
    double c = std::fmin(x[DPS_C] / 100, 0.6);
    double h = x[DPS_H] / 100;
    double head = h > 1 ? x[DPS_Q] / 100 : x[DPS_Q] / 100 * h;
    DpsOut o{};
    o.perBullet = x[DPS_D] * (1 + x[DPS_W] / 100) * (1 + c * x[DPS_K] / 100 + head);
    double shots = x[DPS_R] / 60;
    o.burst = o.perBullet * shots;
    o.perMag = o.perBullet * x[DPS_M];
    o.emptyTime = shots > 0 ? x[DPS_M] / shots : 0;
    // a weapon that does not fire deals nothing over time either (the magazine over the reload
    // alone would give a sustained DPS above the burst DPS)
    double cycle = o.emptyTime + x[DPS_L];
    o.sustained = shots > 0 && cycle > 0 ? o.perMag / cycle : 0;
    return o;
}

std::u16string dpsFormatWhole(double v) {
    if (!std::isfinite(v)) return u"0";
    char buf[64];
    if (std::fabs(v) >= SATURATE) {
        std::snprintf(buf, sizeof buf, "%.2e", v);
    } else {
        // rounded half away from zero; the small allowance keeps a half that binary fractions
        // left a hair short (57500 x 2.05 x 12.5) rounding as written by hand
        double a = std::fabs(v);
        uint64_t u = (uint64_t)(a + 0.5 + std::fmin(a * 1e-13, 1e-4));
        bool neg = v < 0 && u > 0;
        char digits[24];
        int nd = std::snprintf(digits, sizeof digits, "%llu", (unsigned long long)u);
        int o = 0;
        if (neg) buf[o++] = '-';
        for (int k = 0; k < nd; k++) {
            buf[o++] = digits[k];
            int after = nd - 1 - k;
            if (after > 0 && after % 3 == 0) buf[o++] = '.';
        }
        buf[o] = 0;
    }
    std::u16string out;
    for (int k = 0; buf[k] && k < DPS_TEXT_MAX; k++) out += char16_t(buf[k]);
    return out;
}

std::u16string dpsFormatTime(double seconds) {
    char buf[64];
    if (!std::isfinite(seconds)) seconds = 0;
    std::snprintf(buf, sizeof buf, std::fabs(seconds) >= SATURATE ? "%.2e s" : "%.2f s", seconds);
    std::u16string out;
    for (int k = 0; buf[k] && k < DPS_TEXT_MAX; k++) out += char16_t(buf[k]);
    return out;
}

std::u16string dpsResultText(const DpsOut& o, int k) {
    switch (k) {
        case 0: return dpsFormatWhole(o.perBullet);
        case 1: return dpsFormatWhole(o.burst);
        case 2: return dpsFormatWhole(o.sustained);
        case 3: return dpsFormatWhole(o.perMag);
        case 4: return dpsFormatTime(o.emptyTime);
    }
    return u"";
}

namespace {

// A field value as a player would type it: whole numbers bare, others with up to three decimals
// after a point.
std::u16string typed(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    int n = (int)std::strlen(buf);
    while (n > 0 && buf[n - 1] == '0') n--;
    if (n > 0 && buf[n - 1] == '.') n--;
    std::u16string out;
    for (int k = 0; k < n; k++) out += char16_t(buf[k]);
    return out;
}

}  // namespace

int dpsFromEntry(const char* body, DpsPrefill* out) {
    for (int k = 0; k < DPS_FIELDS; k++) {
        out->have[k] = 0;
        out->text[k].clear();
    }
    if (!body) return 0;
    const char* p = std::strstr(body, "ESTADÍSTICAS BASE\n");
    if (!p) return 0;
    p += std::strlen("ESTADÍSTICAS BASE\n");
    static const struct {
        const char* label;
        int field;
    } LABELS[] = {{"Daño base", DPS_D},
                  {"Disparos por minuto", DPS_R},
                  {"Balas por cargador", DPS_M},
                  {"Tiempo de recarga", DPS_L},
                  {"Daño por disparo a la cabeza", DPS_Q}};
    // Lines come in pairs, value then label; the block ends at a line that is neither.
    std::string prev;
    int found = 0;
    for (int lines = 0; *p && lines < 40; lines++) {
        const char* e = std::strchr(p, '\n');
        std::string line(p, e ? size_t(e - p) : std::strlen(p));
        p = e ? e + 1 : p + line.size();
        bool isLabel = false;
        for (auto& l : LABELS) {
            if (line != l.label) continue;
            isLabel = true;
            if (!prev.empty() && prev[0] >= '0' && prev[0] <= '9' && !out->have[l.field]) {
                double v = dpsParse(u8w(prev).c_str());
                out->have[l.field] = 1;
                out->text[l.field] = typed(v);
                found++;
            }
        }
        if (!isLabel && !prev.empty() && !(prev[0] >= '0' && prev[0] <= '9') && !(line[0] >= '0' && line[0] <= '9'))
            break;  // two lines in a row that are no value: the next section has begun
        prev = isLabel ? std::string() : line;
    }
    return found;
}
