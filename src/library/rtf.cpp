#include "library/rtf.h"

#include <cstdio>

namespace {

// 0 not a letter, 1 a letter that is not lower-case (capitals, caseless scripts), 2 lower-case.
// Covers the scripts the library's six languages write in, plus Greek, Cyrillic and the
// caseless East Asian blocks.
int letterCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return 2;
    if (c >= u'A' && c <= u'Z') return 1;
    if (c < 0xAA) return 0;
    if (c == 0xAA || c == 0xBA) return 1;
    if (c == 0xB5) return 2;
    if (c < 0xC0) return 0;
    if (c <= 0xFF) {
        if (c == 0xD7 || c == 0xF7) return 0;
        return c >= 0xDF ? 2 : 1;
    }
    if (c <= 0x17F) {  // Latin Extended-A: pairs, with a few shifts
        if (c == 0x138 || c == 0x149 || c == 0x17F || c == 0x131) return 2;
        if (c == 0x130 || c == 0x178) return 1;
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return ((c & 1) != 0) == oddUpper ? 1 : 2;
    }
    if (c <= 0x24F) return 1;
    if (c >= 0x250 && c <= 0x2AF) return 2;  // phonetic letters are lower-case
    if (c >= 0x386 && c <= 0x3FF) {
        if (c == 0x387 || c == 0x3F6) return 0;
        if (c >= 0x3AC && c <= 0x3CE) return 2;
        return 1;
    }
    if (c >= 0x400 && c <= 0x4FF) {
        if (c >= 0x482 && c <= 0x489) return 0;
        if (c < 0x430) return 1;
        if (c < 0x460) return 2;
        return (c & 1) ? 2 : 1;
    }
    if (c >= 0x1E00 && c <= 0x1EFF) return (c & 1) ? 2 : 1;
    if ((c >= 0x3040 && c <= 0x30FF && c != 0x30FB) || (c >= 0x3400 && c <= 0x9FFF) ||
        (c >= 0xAC00 && c <= 0xD7A3))
        return 1;
    if (c >= 0xFF21 && c <= 0xFF3A) return 1;
    if (c >= 0xFF41 && c <= 0xFF5A) return 2;
    return 0;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t skipSpaces(const char16_t* s, size_t n) {
    size_t i = 0;
    while (i < n && s[i] == u' ') i++;
    return i;
}

struct Line {
    const char16_t* p;
    size_t n;
};

// The next line from pos (CR, LF or CR LF end it); false past the end.
bool nextLine(std::u16string_view t, size_t& pos, Line& out) {
    if (pos >= t.size()) return false;
    size_t e = pos;
    while (e < t.size() && t[e] != u'\r' && t[e] != u'\n') e++;
    out = {t.data() + pos, e - pos};
    if (e < t.size() && t[e] == u'\r') {
        e++;
        if (e < t.size() && t[e] == u'\n') e++;
    } else if (e < t.size()) {
        e++;
    }
    pos = e;
    return true;
}

// "1. Paso", "12. Paso": one or two digits, a dot and a space. Without the space the line is a
// number ("39.457", a thousands separator), never an item.
bool isNumbered(const char16_t* s, size_t n) {
    if (n < 3 || !isDigit(s[0])) return false;
    size_t dot = s[1] == u'.' ? 1 : (isDigit(s[1]) && s[2] == u'.') ? 2 : 0;
    return dot && dot + 1 < n && s[dot + 1] == u' ';
}

const char* const PARA = "\\pard\\sl280\\slmult1 ";

}  // namespace

void rtfPut(std::string& out, const char* literal) { out += literal; }

void rtfText(std::string& out, const char16_t* text, size_t count) {
    for (size_t i = 0; i < count; i++) {
        char16_t c = text[i];
        if (c == u'{' || c == u'}' || c == u'\\') {
            out += '\\';
            out += (char)c;
        } else if (c >= 0x20 && c < 0x7F) {
            out += (char)c;
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c >= 0x80) {
            char num[16];
            std::snprintf(num, sizeof num, "\\u%d?", (int)(short)c);
            out += num;
        }
    }
}

bool isHeading(const char16_t* s, size_t n) {
    if (n < 3 || n > 70 || s[0] == u'-' || s[0] == u'\u2022') return false;
    int letters = 0;
    for (size_t i = 0; i < n; i++) {
        int k = letterCase(s[i]);
        if (k == 2) return false;
        if (k) letters++;
    }
    return letters > 2;
}

bool isValue(const char16_t* s, size_t n) {
    if (n < 1 || n > 9) return false;
    // a unit the library writes after a number: seconds or metres ("1,57 s", "21 m")
    if (n >= 2 && (s[n - 1] == u's' || s[n - 1] == u'm') && (isDigit(s[n - 2]) || s[n - 2] == u' ')) n--;
    bool digit = false;
    for (size_t i = 0; i < n; i++) {
        char16_t c = s[i];
        if (isDigit(c)) digit = true;
        else if (!(c == u'%' || c == u'+' || c == u'-' || c == u'.' || c == u',' || c == u'x' ||
                   c == u'\u00D7' || c == u' '))
            return false;
    }
    return digit;
}

std::string rtfBody(std::u16string_view text, int ar, int ag, int ab) {
    std::string out;
    out.reserve(text.size() * 3 + 1024);
    char head[320];
    std::snprintf(head, sizeof head,
                  "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Segoe UI;}{\\f1 Bahnschrift SemiBold;}}"
                  "{\\colortbl;\\red%d\\green%d\\blue%d;\\red200\\green205\\blue210;\\red128\\green137\\blue146;}"
                  "\\f0\\fs22\\cf2 ",
                  ar, ag, ab);
    out += head;

    size_t pos = 0;
    bool first = true;
    Line ln;
    while (nextLine(text, pos, ln)) {
        if (!first) out += "\\par\n";
        out += PARA;
        size_t lead = skipSpaces(ln.p, ln.n);
        const char16_t* s = ln.p + lead;
        size_t n = ln.n - lead;
        first = false;
        if (n == 0) {  // empty, or only spaces (which stay)
            rtfText(out, ln.p, ln.n);
            continue;
        }
        if (isHeading(s, n)) {
            out += "\\sb160\\sa40{\\b\\cf1 ";
            rtfText(out, s, n);
            out += "}";
        } else if (n >= 2 && (s[0] == u'\u2022' || s[0] == u'-') && s[1] == u' ') {
            out += "\\li300\\fi-220\\tx300\\sa30 {\\cf1\\u8226?}\\tab ";
            rtfText(out, s + 2, n - 2);
        } else if (isNumbered(s, n)) {
            size_t m = s[1] == u'.' ? 2 : 3;
            out += "\\li300\\fi-300\\tx300\\sa30 {\\cf1 ";
            rtfText(out, s, m);
            out += "}\\tab ";
            size_t k = m;
            while (k < n && s[k] == u' ') k++;
            rtfText(out, s + k, n - k);
        } else {
            // a value labels the next line when that line is text of its own
            size_t after = pos;
            Line nx;
            bool labelled = false;
            if (isValue(s, n) && nextLine(text, after, nx)) {
                size_t nl = skipSpaces(nx.p, nx.n);
                const char16_t* ns = nx.p + nl;
                size_t nn = nx.n - nl;
                labelled = nn > 0 && !isHeading(ns, nn) && !isValue(ns, nn) && ns[0] != u'\u2022';
                if (labelled) {
                    out += "{\\b\\cf1 ";
                    rtfText(out, s, n);
                    out += "}  ";
                    rtfText(out, ns, nn);
                    pos = after;
                }
            }
            if (!labelled) rtfText(out, ln.p, ln.n);
        }
    }
    out += "}";
    return out;
}
