#include "base/casefold.h"

namespace {

void put(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(char16_t(0xD800 + (c >> 10)));
        out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(char16_t(c));
    }
}

}  // namespace

std::u16string caseFold(std::u16string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); i++) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {  // the common case first
            out.push_back(char16_t(c >= 'A' && c <= 'Z' ? c + 32 : c));
            continue;
        }
        int lo = 0, hi = CASE_FOLD_N - 1;
        const CaseFoldRow* row = nullptr;
        while (lo <= hi) {
            int mid = (lo + hi) / 2;
            if (CASE_FOLD[mid].from == c) {
                row = &CASE_FOLD[mid];
                break;
            }
            if (CASE_FOLD[mid].from < c) lo = mid + 1;
            else hi = mid - 1;
        }
        if (!row) {
            put(out, c);
            continue;
        }
        for (char32_t t : row->to)
            if (t) put(out, t);
    }
    return out;
}

bool sameFolded(std::u16string_view a, std::u16string_view b) { return caseFold(a) == caseFold(b); }
