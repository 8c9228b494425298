// UTF-8 <-> UTF-16 conversion for the boundary between data text (UTF-8) and interface text
// (UTF-16). Invalid UTF-8 bytes become U+FFFD, so no input can make a conversion fail.
// Texts cut to a length are cut at a character boundary: never between the two halves of a
// surrogate pair.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

std::u16string u8w(std::string_view s);
std::string w8u(std::u16string_view s);

// 1 when s is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool utf8Valid(std::string_view s);

// The length of s cut to at most max UTF-16 units without splitting a surrogate pair.
size_t cutLen(std::u16string_view s, size_t max);
// s cut to at most max units at a character boundary.
std::u16string cutText(std::u16string_view s, size_t max);
// Copies src into dst[cap] (terminator included), cut at a character boundary.
void copyCut(char16_t* dst, size_t cap, std::u16string_view src);
