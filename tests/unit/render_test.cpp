// The body-to-RTF rules and the table split behind the library's entry pane.
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

TEST(Rtf, HeaderCarriesTheAccentAsColourOne) {
    EXPECT_EQ(rtfBody(u""), HEAD + "}");
    std::string r = rtfBody(u"x", 1, 2, 3);
    EXPECT_NE(r.find("{\\colortbl;\\red1\\green2\\blue3;"), std::string::npos);
}

TEST(Rtf, LineKinds) {
    struct Case {
        const char16_t* in;
        std::string out;
    } cases[] = {
        {u"ATRIBUTO PRINCIPAL", P + "\\sb160\\sa40{\\b\\cf1 ATRIBUTO PRINCIPAL}"},
        {u"ATRIBUTO 2", P + "\\sb160\\sa40{\\b\\cf1 ATRIBUTO 2}"},
        {u"  PETO: NO LIMIT", P + "\\sb160\\sa40{\\b\\cf1 PETO: NO LIMIT}"},  // leading spaces go
        {u"ÉPICO", P + "\\sb160\\sa40{\\b\\cf1 \\u201?PICO}"},
        {u"Armadura", P + "Armadura"},
        {u"AB", P + "AB"},                        // too short
        {u"AB 90", P + "AB 90"},                  // two letters are not enough
        {u"SMG 9", P + "\\sb160\\sa40{\\b\\cf1 SMG 9}"},
        {u"ÉPICO ñ", P + "\\u201?PICO \\u241?"},  // a lower-case letter outside ASCII
        {u"-ABC", P + "-ABC"},                    // a hyphen never starts a heading
        {u"- uno", P + BULLET + "uno"},
        {u"\u2022 uno", P + BULLET + "uno"},
        {u"   - sangría", P + BULLET + "sangr\\u237?a"},
        {u"-uno", P + "-uno"},
        {u"12. Paso", P + "\\li300\\fi-300\\tx300\\sa30 {\\cf1 12.}\\tab Paso"},
        {u"1.   Paso", P + "\\li300\\fi-300\\tx300\\sa30 {\\cf1 1.}\\tab Paso"},
        {u"123. Paso", P + "123. Paso"},
        {u"12.Paso", P + "12.Paso"},  // no space after the dot: not an item
        {u"1.", P + "1."},
        {u"  hola", P + "  hola"},  // plain text keeps its indent
        {u"   ", P + "   "},
    };
    for (const Case& c : cases) EXPECT_EQ(body(c.in), c.out) << std::string(c.out);
}

TEST(Rtf, HeadingBoundaries) {
    std::u16string seventy(70, u'A'), seventyOne(71, u'A');
    EXPECT_TRUE(isHeading(seventy.data(), seventy.size()));
    EXPECT_FALSE(isHeading(seventyOne.data(), seventyOne.size()));
    EXPECT_TRUE(isHeading(u"ABC", 3));
    EXPECT_FALSE(isHeading(u"A 1 B", 5));        // two letters
    EXPECT_FALSE(isHeading(u"\u2022 ABC", 5));
    EXPECT_FALSE(isHeading(u"ΑΒΓ δ", 5));        // Greek lower case
    EXPECT_FALSE(isHeading(u"ТАНК ы", 6));       // Cyrillic lower case
    EXPECT_TRUE(isHeading(u"日本語", 3));          // caseless letters count
    EXPECT_FALSE(isHeading(u"CŒUR œ", 6));
    EXPECT_TRUE(isHeading(u"CŒUR", 4));
}

TEST(Rtf, Values) {
    for (const char16_t* v : {u"30%", u"2,5 x", u"1×", u"+1.200", u"-25%", u"7", u"123456789", u"1,57 s", u"21 m",
                              u"10m", u"0,5s"})
        EXPECT_TRUE(isValue(v, std::char_traits<char16_t>::length(v))) << (int)v[0];
    for (const char16_t* v : {u"", u"%%", u"1234567890", u"x", u"30 %s", u"s", u" m", u"1 ms", u"5 km", u"1 sm"})
        EXPECT_FALSE(isValue(v, std::char_traits<char16_t>::length(v)));
}

TEST(Rtf, ValueTakesItsLabelLine) {
    EXPECT_EQ(body(u"30%\r\nDaño de fusil"), P + "{\\b\\cf1 30%}  Da\\u241?o de fusil");
    EXPECT_EQ(body(u"30%\nDaño\nFin"), P + "{\\b\\cf1 30%}  Da\\u241?o" + NL + P + "Fin");
    // the label line must be text of its own
    EXPECT_EQ(body(u"30%\r\n15%"), P + "30%" + NL + P + "15%");
    EXPECT_EQ(body(u"30%\r\n\r\nx"), P + "30%" + NL + P + NL + P + "x");
    EXPECT_EQ(body(u"30%\r\nDAÑO TOTAL"), P + "30%" + NL + P + "\\sb160\\sa40{\\b\\cf1 DA\\u209?O TOTAL}");
    EXPECT_EQ(body(u"30%\r\n\u2022 uno"), P + "30%" + NL + P + BULLET + "uno");
    EXPECT_EQ(body(u"30%\r\n   "), P + "30%" + NL + P + "   ");
    EXPECT_EQ(body(u"30%"), P + "30%");  // the last line has no label
    // a number with a thousands dot is a value, not a numbered item
    EXPECT_EQ(body(u"39.457\nDaño base"), P + "{\\b\\cf1 39.457}  Da\\u241?o base");
    EXPECT_EQ(body(u"1,57 s\nTiempo de recarga"), P + "{\\b\\cf1 1,57 s}  Tiempo de recarga");
    // a label written as a hyphen item is still a label: only the bullet sign stops it
    EXPECT_EQ(body(u"5\r\n- uno"), P + "{\\b\\cf1 5}  - uno");
}

TEST(Rtf, LineEnds) {
    EXPECT_EQ(body(u"a\r\nb"), P + "a" + NL + P + "b");
    EXPECT_EQ(body(u"a\nb"), P + "a" + NL + P + "b");
    EXPECT_EQ(body(u"a\rb"), P + "a" + NL + P + "b");
    EXPECT_EQ(body(u"a\r\n"), P + "a");  // a final line end opens no new line
    EXPECT_EQ(body(u"a\n\nb"), P + "a" + NL + P + NL + P + "b");
    EXPECT_EQ(body(u"\r\na"), P + NL + P + "a");
    EXPECT_EQ(body(u"a\n\r\nb"), P + "a" + NL + P + NL + P + "b");
}

TEST(Rtf, Escapes) {
    EXPECT_EQ(esc(u"{a}\\b"), "\\{a\\}\\\\b");
    EXPECT_EQ(esc(u"a\tb"), "a\\tab b");
    EXPECT_EQ(esc(u"é"), "\\u233?");
    EXPECT_EQ(esc(u"\uFF01"), "\\u-255?");
    EXPECT_EQ(esc(u"\u2022"), "\\u8226?");
    EXPECT_EQ(esc(u"\U0001F600"), "\\u-10179?\\u-8704?");  // a pair stays a pair
    EXPECT_EQ(esc(u"a\x01\r\nb\x7F"), "ab");                // control characters are dropped
    EXPECT_EQ(esc(u"~ !"), "~ !");
    std::string out = "x";
    rtfPut(out, "\\b ");
    EXPECT_EQ(out, "x\\b ");
    // escapes apply inside every kind of line
    EXPECT_EQ(body(u"- {x}"), P + BULLET + "\\{x\\}");
    EXPECT_EQ(body(u"TÍTULO {1}"), P + "\\sb160\\sa40{\\b\\cf1 T\\u205?TULO \\{1\\}}");
}

TEST(Rtf, OutputIsAsciiWhateverTheInput) {
    std::u16string all;
    for (char32_t c = 0; c < 0x10000; c += 7) all.push_back((char16_t)c);
    std::string r = rtfBody(all);
    for (unsigned char c : r) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F));
}

TEST(Table, SplitsCellsAndRows) {
    LibTable t;
    tableLoad(t, u"A\tB\tC\n1\t2\n3\t4\t5\t6");
    EXPECT_EQ(t.rows, 3);
    EXPECT_EQ(t.cols, 3);
    EXPECT_EQ(std::u16string(tableCell(t, 0, 1)), u"B");
    EXPECT_EQ(std::u16string(tableCell(t, 1, 1)), u"2");
    EXPECT_EQ(std::u16string(tableCell(t, 1, 2)), u"");   // a short line has empty cells
    EXPECT_EQ(std::u16string(tableCell(t, 2, 2)), u"5");  // a long line loses its extra cells
    EXPECT_EQ(std::u16string(tableCell(t, 2, 3)), u"");
    EXPECT_EQ(std::u16string(tableCell(t, 3, 0)), u"");
    EXPECT_EQ(std::u16string(tableCell(t, -1, 0)), u"");
}

TEST(Table, LineEndsAndEmptyText) {
    LibTable t;
    tableLoad(t, u"A\tB\r\n1\t2\r\n");
    EXPECT_EQ(t.rows, 3);
    EXPECT_EQ(std::u16string(tableCell(t, 0, 1)), u"B");
    EXPECT_EQ(std::u16string(tableCell(t, 1, 1)), u"2");
    EXPECT_EQ(std::u16string(tableCell(t, 2, 0)), u"");
    tableLoad(t, u"");
    EXPECT_EQ(t.rows, 1);
    EXPECT_EQ(t.cols, 1);
    EXPECT_EQ(std::u16string(tableCell(t, 0, 0)), u"");
    tableClear(t);
    EXPECT_EQ(t.rows, 0);
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
