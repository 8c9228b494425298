#include "base/inifile.h"

#include <algorithm>

#include "base/utf.h"

namespace {

// Windows-1252 for 0x80..0x9F; the rest of the range is Latin-1.
const char16_t CP1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                             0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::u16string cp1252(std::string_view b) {
    std::u16string r;
    r.reserve(b.size());
    for (unsigned char c : b) r.push_back(c >= 0x80 && c < 0xA0 ? CP1252[c - 0x80] : char16_t(c));
    return r;
}

std::u16string utf16(std::string_view b, bool big) {
    std::u16string r;
    r.reserve(b.size() / 2);
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        unsigned char lo = (unsigned char)b[big ? i + 1 : i], hi = (unsigned char)b[big ? i : i + 1];
        r.push_back(char16_t(lo | (hi << 8)));
    }
    return r;
}

bool startsWith(std::string_view b, const char* mark, size_t n) { return b.size() >= n && b.substr(0, n) == std::string_view(mark, n); }

}  // namespace

const char16_t* iniEncName(IniEnc e) {
    switch (e) {
        case INI_UTF16LE_BOM: return u"UTF-16LE";
        case INI_UTF16BE_BOM: return u"UTF-16BE";
        case INI_UTF16LE: return u"UTF-16LE sin marca";
        case INI_UTF16BE: return u"UTF-16BE sin marca";
        case INI_UTF8_BOM: return u"UTF-8 con marca";
        case INI_UTF8: return u"UTF-8";
        case INI_ANSI: return u"ANSI";
    }
    return u"?";
}

IniEnc iniDetect(std::string_view b) {
    if (startsWith(b, "\xFF\xFE", 2)) return INI_UTF16LE_BOM;
    if (startsWith(b, "\xFE\xFF", 2)) return INI_UTF16BE_BOM;
    if (startsWith(b, "\xEF\xBB\xBF", 3)) return INI_UTF8_BOM;
    // Without a mark, UTF-16 shows itself by the zero half of every ASCII character: an INI
    // file is mostly ASCII (names, numbers, brackets), while 8-bit text has no zero bytes.
    if (b.size() >= 2 && b.size() % 2 == 0) {
        size_t units = (b.size() < 8192 ? b.size() : 8192) / 2, zeroEven = 0, zeroOdd = 0;
        for (size_t i = 0; i < units; i++) {
            zeroEven += b[2 * i] == 0;
            zeroOdd += b[2 * i + 1] == 0;
        }
        if (zeroOdd * 2 >= units && zeroEven * 10 < units) return INI_UTF16LE;
        if (zeroEven * 2 >= units && zeroOdd * 10 < units) return INI_UTF16BE;
    }
    bool ascii = true;
    for (unsigned char c : b)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (!ascii && utf8Valid(b)) return INI_UTF8;
    return INI_ANSI;
}

namespace {

std::u16string decodeAs(std::string_view b, IniEnc e, AnsiDecoder ansi) {
    switch (e) {
        case INI_UTF16LE_BOM: return utf16(b.substr(2), false);
        case INI_UTF16BE_BOM: return utf16(b.substr(2), true);
        case INI_UTF16LE: return utf16(b, false);
        case INI_UTF16BE: return utf16(b, true);
        case INI_UTF8_BOM: return u8w(b.substr(3));
        case INI_UTF8: return u8w(b);
        case INI_ANSI: return ansi ? ansi(b) : cp1252(b);
    }
    return u"";
}

}  // namespace

std::u16string iniDecode(std::string_view b, IniEnc e, AnsiDecoder ansi) {
    std::u16string t = decodeAs(b, e, ansi);
    // marks repeated after the first (editors that add one at each save) are not text: kept,
    // they would be written back behind a new mark
    t.erase(0, std::min(t.size(), t.find_first_not_of(u'\uFEFF')));
    return t;
}

std::string iniBytes(const std::u16string& text) {
    std::string r;
    r.reserve(2 + text.size() * 2);
    r += "\xFF\xFE";
    for (char16_t c : text) {
        r.push_back(char(c & 0xFF));
        r.push_back(char(c >> 8));
    }
    return r;
}

IniHealth iniHealth(const std::u16string& text) {
    bool blank = true, section = false, lineStart = true;
    for (char16_t c : text) {
        if (c == 0) return INI_BROKEN;
        if (c == u'\n') {
            lineStart = true;
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\r' || c == 0xFEFF) continue;
        blank = false;
        if (lineStart && c == u'[') section = true;
        lineStart = false;
    }
    if (blank) return INI_BLANK;
    return section ? INI_GOOD : INI_BROKEN;
}
