// The body-to-RTF rules and the table split behind the library's entry pane (plain ASCII output
// and balanced braces for any input: the fuzz target).
#include <gtest/gtest.h>

#include <string>

#include "library/rtf.h"
#include "library/table.h"

namespace {

const std::string HEAD =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Segoe UI;}{\\f1 Bahnschrift SemiBold;}}"
    "{\\colortbl;\\red255\\green109\\blue16;\\red200\\green205\\blue210;\\red128\\green137\\blue146;}"
    "\\f0\\fs22\\cf2 ";
const std::string P = "\\pard\\sl280\\slmult1 ";
const std::string NL = "\\par\n";
const std::string BULLET = "\\li300\\fi-220\\tx300\\sa30 {\\cf1\\u8226?}\\tab ";

// The document between the fixed header and the closing brace.
std::string body(std::u16string_view text) {
    std::string r = rtfBody(text);
    EXPECT_EQ(r.compare(0, HEAD.size(), HEAD), 0) << r;
    EXPECT_EQ(r.back(), '}');
    return r.substr(HEAD.size(), r.size() - HEAD.size() - 1);
}

std::string esc(std::u16string_view t) {
    std::string out;
    rtfText(out, t.data(), t.size());
    return out;
}

}  // namespace

TEST(Rtf, LineKinds) {
    struct Case {
        const char16_t* in;
        std::string out;
    } cases[] = {
        {u"  PETO: NO LIMIT", P + "\\sb160\\sa40{\\b\\cf1 PETO: NO LIMIT}"},  // leading spaces go
        {u"ÉPICO", P + "\\sb160\\sa40{\\b\\cf1 \\u201?PICO}"},
        {u"AB", P + "AB"},                        // too short
        {u"-ABC", P + "-ABC"},                    // a hyphen never starts a heading
        {u"   - sangría", P + BULLET + "sangr\\u237?a"},
        {u"-uno", P + "-uno"},
        {u"12. Paso", P + "\\li300\\fi-300\\tx300\\sa30 {\\cf1 12.}\\tab Paso"},
        {u"123. Paso", P + "123. Paso"},
        {u"12.Paso", P + "12.Paso"},  // no space after the dot: not an item
        {u"  hola", P + "  hola"},  // plain text keeps its indent
    };
    for (const Case& c : cases) EXPECT_EQ(body(c.in), c.out) << std::string(c.out);
}

TEST(Rtf, HeadingBoundaries) {
    std::u16string seventy(70, u'A'), seventyOne(71, u'A');
    struct { std::u16string text; bool heading; } cases[] = {
        {seventy, true}, {seventyOne, false}, {u"A 1 B", false} /* two letters */,
        {u"ТАНК ы", false} /* lower case in other scripts */, {u"日本語", true} /* caseless letters count */,
        {u"CŒUR œ", false},
    };
    for (auto& c : cases) EXPECT_EQ(isHeading(c.text.data(), c.text.size()), c.heading) << c.text.size();
}

TEST(Rtf, Values) {
    for (const char16_t* v : {u"2,5 x", u"1×", u"+1.200", u"-25%", u"123456789", u"1,57 s", u"10m"})
        EXPECT_TRUE(isValue(v, std::char_traits<char16_t>::length(v))) << (int)v[0];
    for (const char16_t* v : {u"", u"%%", u"1234567890", u"30 %s", u" m", u"1 ms", u"5 km"})
        EXPECT_FALSE(isValue(v, std::char_traits<char16_t>::length(v)));
}

// A value line takes the next line as its label when that is text of its own; and the line ends.
TEST(Rtf, ValueLabelsAndLineEnds) {
    const std::string V = P + "{\\b\\cf1 ";
    struct { const char16_t* in; std::string out; } cases[] = {
        {u"30%\nDaño\nFin", V + "30%}  Da\\u241?o" + NL + P + "Fin"},
        {u"30%\r\n15%", P + "30%" + NL + P + "15%"},
        {u"30%\r\n\r\nx", P + "30%" + NL + P + NL + P + "x"},
        {u"30%\r\nDAÑO TOTAL", P + "30%" + NL + P + "\\sb160\\sa40{\\b\\cf1 DA\\u209?O TOTAL}"},
        {u"30%\r\n\u2022 uno", P + "30%" + NL + P + BULLET + "uno"},
        {u"30%", P + "30%"},                                   // the last line has no label
        {u"39.457\nDaño base", V + "39.457}  Da\\u241?o base"},  // a thousands dot: a value, not an item
        {u"5\r\n- uno", V + "5}  - uno"},                     // only the bullet sign stops a label
        {u"a\rb\r\n", P + "a" + NL + P + "b"},                   // a final line end opens no new line
        {u"\r\na\n\r\nb", P + NL + P + "a" + NL + P + NL + P + "b"},
    };
    for (auto& c : cases) EXPECT_EQ(body(c.in), c.out) << (&c - cases);
}

TEST(Rtf, Escapes) {
    struct { const char16_t* in; const char* out; } cases[] = {
        {u"{a}\\b", "\\{a\\}\\\\b"}, {u"a\tb", "a\\tab b"}, {u"\uFF01", "\\u-255?"},
        {u"\U0001F600", "\\u-10179?\\u-8704?"},  // a pair stays a pair
        {u"a\x01\r\nb\x7F", "ab"},               // control characters are dropped
    };
    for (auto& c : cases) EXPECT_EQ(esc(c.in), c.out) << c.out;
    // escapes apply inside every kind of line
    EXPECT_EQ(body(u"TÍTULO {1}"), P + "\\sb160\\sa40{\\b\\cf1 T\\u205?TULO \\{1\\}}");
}

TEST(Table, SplitsCellsAndRows) {
    LibTable t;
    auto cells = [&] {  // every cell row by row, and one past each end
        std::u16string s;
        for (int r = -1; r <= t.rows; r++)
            for (int c = -1; c <= t.cols; c++) s += std::u16string(tableCell(t, r, c)) + u"|";
        return s;
    };
    tableLoad(t, u"A\tB\tC\n1\t2\n3\t4\t5\t6");  // a short line has empty cells, a long one loses its extra
    EXPECT_EQ(t.rows * 10 + t.cols, 33);
    EXPECT_EQ(cells(), u"|||||" u"|A|B|C||" u"|1|2|||" u"|3|4|5||" u"|||||");
    tableLoad(t, u"A\tB\r\n1\t2\r\n");
    EXPECT_EQ(t.rows * 10 + t.cols, 32);
    EXPECT_EQ(cells(), u"||||" u"|A|B||" u"|1|2||" u"||||" u"||||");
}

TEST(Table, WidthAndHeightAreBounded) {
    LibTable t;
    std::u16string wide(200, u'\t');
    tableLoad(t, wide + u"\nx");
    EXPECT_EQ(t.cols, TABLE_MAX_COLS);
    EXPECT_EQ(t.rows, 2);
    EXPECT_EQ(std::u16string(tableCell(t, 1, 0)), u"x");
    std::u16string tall(TABLE_MAX_ROWS + 50, u'\n');
    tableLoad(t, tall);
    EXPECT_EQ(t.rows, TABLE_MAX_ROWS);
}
