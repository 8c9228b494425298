// UTF-8 <-> UTF-16 conversion for the boundary between data text (UTF-8) and interface text
// (UTF-16). Invalid UTF-8 bytes become U+FFFD, so no input can make a conversion fail.
#pragma once
#include <string>
#include <string_view>

std::u16string u8w(std::string_view s);
std::string w8u(std::u16string_view s);

// The number of UTF-16 units of s (at most len) that fit in max units without splitting a
// surrogate pair: a cut never leaves half a character behind.
size_t utf16Fit(const char16_t* s, size_t len, size_t max);
