// The bytes of the settings file: which encoding a file came in, its text, the bytes it is
// written as (UTF-16LE with a byte-order mark, which the profile API and every editor read),
// and whether a text is a settings file at all or was emptied or damaged.
#pragma once
#include <string>
#include <string_view>

enum IniEnc {
    INI_UTF16LE_BOM,  // the program's own format
    INI_UTF16BE_BOM,
    INI_UTF16LE,      // UTF-16 without a mark, recognised by its zero bytes
    INI_UTF16BE,
    INI_UTF8_BOM,
    INI_UTF8,         // valid UTF-8 with at least one character beyond ASCII
    INI_ANSI,         // anything else: the system's code page (plain ASCII included)
};

// A short name for the log ("UTF-16BE", "UTF-8", "ANSI", ...).
const char16_t* iniEncName(IniEnc e);

IniEnc iniDetect(std::string_view bytes);

// The text of bytes in encoding e, without a byte-order mark. ansi converts the system code
// page; null reads Windows-1252.
using AnsiDecoder = std::u16string (*)(std::string_view);
std::u16string iniDecode(std::string_view bytes, IniEnc e, AnsiDecoder ansi = nullptr);

// The file's bytes for a text: a byte-order mark, then UTF-16LE.
std::string iniBytes(const std::u16string& text);

enum IniHealth {
    INI_GOOD,
    INI_BLANK,   // nothing but white space (a file emptied by a failed write)
    INI_BROKEN,  // NUL characters or not one section: not a settings file any more
};
IniHealth iniHealth(const std::u16string& text);
