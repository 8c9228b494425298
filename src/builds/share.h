// Share codes: a build as a line of text that survives a chat. The payload is
//   version 1 | name length L (0..120) | L bytes of UTF-8 name | count N (0..255) | N hashes,
// each hash the 32-bit FNV-1a of an entry key's UTF-8 bytes, most significant byte first. The
// text is "ZV1-" and the payload in base64url without padding. Codes name pieces by hash, so
// they do not depend on the interface language; an importer keeps the pieces its library has.
//
// Codes come from strangers: decoding is bounded (at most 2048 payload bytes, a few candidate
// codes per text), never trusts a length, and cleans the name before it becomes a build name.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/store.h"

constexpr int SHARE_VERSION = 1;
constexpr size_t SHARE_NAME_BYTES = 120;
constexpr int SHARE_MAX_PIECES = 255;
constexpr size_t SHARE_MAX_BYTES = 2048;   // longest payload a decoder accepts
constexpr size_t SHARE_MESSAGE_MAX = 8192;  // UTF-16 units of a share message, below this

// 32-bit FNV-1a over the UTF-8 bytes of an entry key.
uint32_t entryHash(std::u16string_view key);
// s cut to at most max bytes without splitting a UTF-8 character.
std::string utf8Cut(std::string_view s, size_t max);

// The payload of a name and piece hashes: the name cut to 120 bytes, at most 255 hashes.
std::vector<uint8_t> sharePayload(std::u16string_view name, const std::vector<uint32_t>& hashes);
// "ZV1-" and the payload in base64url without padding.
std::u16string shareCodeText(const std::vector<uint8_t>& payload);

struct SharePiece {
    std::u16string title;  // the entry's title in the interface language
    int cat;               // its category, 0..13
};
// The message a player pastes: heading with the name, one line per piece while there is room,
// then always the code and the two instruction lines. Lines end in CR LF.
std::u16string shareMessage(std::u16string_view shownName, const std::vector<SharePiece>& pieces,
                            std::u16string_view code, std::u16string_view site);

// Entry indexes the current build shares: its first 255 pieces in library order.
std::vector<int> sharePieces();
// The code of the current build.
std::u16string buildShareCode();
// The share message of the current build; title gives an entry's title in the interface
// language.
std::u16string buildShareMessage(const std::function<std::u16string(int)>& title, std::u16string_view site);

struct ShareCode {
    std::u16string name;           // cleaned; empty when the code carries none
    int count = 0;                 // pieces the code claims
    std::vector<uint32_t> hashes;  // the hashes present in full, at most count
};
// Finds a code anywhere in text (a chat message, a quoted forum post whose lines wrapped the
// code) and decodes it. 1 when a code with an intact header and count was found.
int shareDecode(std::u16string_view text, ShareCode& out);

enum { IMPORT_NONE = 0, IMPORT_DONE = 1, IMPORT_FULL = 2 };
struct ImportResult {
    int outcome = IMPORT_NONE;
    std::u16string name;  // the new build's shown name
    int matched = 0;      // pieces added to the new build
    int unknown = 0;      // pieces of the code this library does not have (or that were cut off)
};
// Imports the first code in text as a new, current build (the current one saved first).
// IMPORT_NONE without a valid code, IMPORT_FULL (nothing changed) with 30 builds.
int buildImportText(Store& st, std::u16string_view text, ImportResult& r);
// What to tell the player about an import; empty when nothing should be said.
std::u16string importMessage(const ImportResult& r);

// The code given on a command line as --importar-build=CODE (quoted or not); 1 when the
// option is there.
int importArg(std::u16string_view cmdLine, std::u16string& code);

// A UI text with its %ls and %d placeholders filled in order ("%%" is a percent sign).
std::u16string fillText(std::u16string_view fmt, const std::vector<std::u16string>& args);
