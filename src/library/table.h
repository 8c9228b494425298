// An entry's data table split into cells for the virtual grid: cells separated by a tab, rows
// by a line feed, the first row the header. Cells past the header's width are dropped; a short
// row has empty cells.
#pragma once
#include <string>
#include <vector>

constexpr int TABLE_MAX_COLS = 64;       // a grid wider than this is unreadable anyway
constexpr int TABLE_MAX_ROWS = 100000;   // bounds what a hand-made pack can make us allocate

struct LibTable {
    std::u16string buf;    // the text, each cell NUL-terminated in place
    int rows = 0;          // lines, header included
    int cols = 0;          // cells in the header line
    std::vector<int> off;  // rows x cols offsets into buf, row-major; -1 where a line is short
};

// Splits text (LF or CR LF line ends) into t. An empty text is one row of one empty cell.
void tableLoad(LibTable& t, std::u16string text);
void tableClear(LibTable& t);

// Cell of table row r, column c (row 0 is the header); "" when out of range or missing.
const char16_t* tableCell(const LibTable& t, int r, int c);
