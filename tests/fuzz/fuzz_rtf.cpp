// Arbitrary UTF-16 as an entry body and as a table: the RTF must stay pure ASCII with balanced
// groups (no input may open or close one), and every table cell must lie inside the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/rtf.h"
#include "library/table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    if (size >= 2) std::memcpy(text.data(), data, text.size() * 2);
    std::string r = rtfBody(text);
    int depth = 0;
    for (size_t i = 0; i < r.size(); i++) {
        unsigned char c = (unsigned char)r[i];
        if (c != '\n' && (c < 0x20 || c >= 0x7F)) abort();
        if (c == '\\') {
            i++;  // an escaped sign or the first letter of a control word
            continue;
        }
        if (c == '{') depth++;
        if (c == '}' && --depth < 0) abort();
    }
    if (depth != 0) abort();

    LibTable t;
    tableLoad(t, text);
    if (t.rows < 1 || t.cols < 1 || t.cols > TABLE_MAX_COLS || t.rows > TABLE_MAX_ROWS) abort();
    for (int row = -1; row <= t.rows && row < 50; row++)
        for (int col = -1; col <= t.cols; col++) {
            const char16_t* s = tableCell(t, row, col);
            if (!s) abort();
            size_t n = std::char_traits<char16_t>::length(s);
            for (size_t k = 0; k < n; k++)
                if (s[k] == u'\t' || s[k] == u'\n') abort();
        }
    return 0;
}
