// An entry's body as rich text: the plain body (headings in capitals, "- " bullets, "1. "
// numbered items (one or two digits, a dot and a space), a lone value over its label line) becomes a small, pure-ASCII RTF document
// that the rich-edit control shows. Everything outside ASCII travels as \uN? escapes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Appends an ASCII literal.
void rtfPut(std::string& out, const char* literal);

// Appends count UTF-16 units escaped for RTF: { } \ get a backslash, a tab becomes \tab, any
// unit from 0x80 up becomes \uN? with N the unit read as a signed 16-bit number (a surrogate
// pair thus becomes two escapes), other control characters are dropped.
void rtfText(std::string& out, const char16_t* text, size_t count);

// A heading: 3 to 70 characters, not starting with "-" or a bullet, no lower-case letter and
// more than two letters.
bool isHeading(const char16_t* line, size_t n);

// A value that labels the next line: 1 to 9 characters, only digits and "%+-.,x× " with at
// least one digit ("30%", "2,5 x"), optionally ending in the unit "s" or "m" ("1,57 s", "21 m").
bool isValue(const char16_t* line, size_t n);

// The whole document for a body (CR, LF or CR LF line ends), colour 1 the accent.
std::string rtfBody(std::u16string_view text, int accentR = 255, int accentG = 109, int accentB = 16);
