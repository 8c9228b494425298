#include "library/table.h"

void tableClear(LibTable& t) {
    t.buf.clear();
    t.rows = t.cols = 0;
    t.off.clear();
}

void tableLoad(LibTable& t, std::u16string text) {
    tableClear(t);
    t.buf = std::move(text);
    t.buf.push_back(0);
    size_t n = t.buf.size() - 1;
    size_t rows = 1, cols = 1;
    for (size_t i = 0; i < n && t.buf[i] != u'\n'; i++)
        if (t.buf[i] == u'\t') cols++;
    for (size_t i = 0; i < n; i++)
        if (t.buf[i] == u'\n') rows++;
    if (cols > TABLE_MAX_COLS) cols = TABLE_MAX_COLS;
    if (rows > TABLE_MAX_ROWS) rows = TABLE_MAX_ROWS;
    t.rows = (int)rows;
    t.cols = (int)cols;
    t.off.assign(rows * cols, -1);
    size_t r = 0, c = 0, start = 0;
    for (size_t i = 0; i <= n && r < rows; i++) {
        char16_t ch = t.buf[i];
        if (i < n && ch != u'\t' && ch != u'\n') continue;
        size_t end = i;
        if (ch == u'\n' && end > start && t.buf[end - 1] == u'\r') t.buf[end - 1] = 0;
        if (c < cols) t.off[r * cols + c] = (int)start;
        t.buf[i] = 0;
        start = i + 1;
        if (ch == u'\t') {
            c++;
        } else {
            r++;
            c = 0;
        }
    }
}

const char16_t* tableCell(const LibTable& t, int r, int c) {
    if (r < 0 || c < 0 || r >= t.rows || c >= t.cols) return u"";
    int o = t.off[(size_t)r * t.cols + c];
    return o < 0 ? u"" : t.buf.data() + o;
}
