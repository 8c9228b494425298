// UTF-8 <-> UTF-16 conversion for the boundary between data text (UTF-8) and interface text
// (UTF-16). Invalid UTF-8 bytes become U+FFFD, so no input can make a conversion fail.
#pragma once
#include <string>
#include <string_view>

std::u16string u8w(std::string_view s);
std::string w8u(std::u16string_view s);
