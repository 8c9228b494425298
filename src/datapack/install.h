// Which pack is in force and how a new one is installed: the built-in text against the
// installed "datos.txt" at start-up, the version rule for imports and downloads, and the
// program-wide season values taken from the header. Writing the file is the shell's part,
// behind PackWriter, so a failed write can never leave a truncated pack behind.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

constexpr size_t PK_FILE_MAX = 8u << 20;  // larger pack files count as absent

extern int pkFromFile;         // 1 when the pack in force came from a file
extern char16_t pkVerW[40];    // "version" of the pack in force, "?" without one
extern char16_t pkSeasonW[24]; // "Y8 S3", or empty when the header names no season
extern int pkSeason;           // current season index (seasonIdx)
extern int pkTu;               // current title update
extern int pkWindow;           // seasons (and title updates) that count as current

// Stores an accepted pack text. The shell writes a temporary file next to the installed one
// and replaces it in one step; returns 1 when the installed file now holds exactly the text.
struct PackWriter {
    virtual ~PackWriter() = default;
    virtual int save(const char* text, size_t len) = 0;
};

// The version a raw pack text names (the first "\nversion" line), without parsing; a static
// buffer of at most 39 characters, overwritten by each call; "" when there is none.
const char* pkVersionOf(const char* text, size_t len);

// Start-up: parses the installed text (null when there is no readable file) when its version
// is at least the built-in one and it parses, else the built-in pack; then applies the header.
// Returns pkFromFile.
int pkStartup(const char* file, size_t len);

// Installs a pack text: 1 installed, 2 not newer than the pack in force (skipped unless
// force), 0 not a valid pack (also any text over PK_FILE_MAX), PK_NOT_SAVED a valid pack that
// could not be written to disk. Nothing changes in memory or on disk unless it returns 1: a
// pack that would be gone at the next start is not reported as installed. writer may be null
// (nothing is written).
constexpr int PK_NOT_SAVED = 3;
int pkInstall(const char* text, size_t len, int force, PackWriter* writer);

// The file named by "--importar=" on a command line: after a quote, up to the closing quote;
// otherwise up to a quote, the next option (" --") or the end; trailing spaces dropped. Returns 0 when
// the option is missing or names nothing, 1 with *path set, 2 when the path is longer than 259
// characters (*path set, so its length can be logged; it is never cut).
int pkImportArg(std::u16string_view cmdLine, std::u16string* path);

// pkVerW, pkSeasonW, pkSeason, pkTu and pkWindow from the header of the pack in force.
void pkApplyHeader();

// Back to the values before any pack (for tests).
void pkResetHeader();
