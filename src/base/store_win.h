// The settings file "ajustes.ini" on disk. It is read once into memory and served from there;
// every change (or batch of changes) writes the whole new text to "ajustes.ini.nuevo", flushes
// it and moves it over the file in one step (MoveFileExW, replace and write-through), so a
// crash or a kill at any moment leaves either the old file or the new one, never a part.
// Before each replacement the file being replaced is kept as "ajustes.ini.copia", the last
// good copy: a file found empty or damaged at start-up is restored from it (the damaged one is
// kept as "ajustes.ini.roto"). A file that exists but cannot be opened is retried for a few
// seconds; after that, and when a folder stands where the file belongs, the program runs
// without saving rather than overwrite the player's data. A file in another encoding (UTF-16
// big-endian or without a mark, UTF-8, ANSI) is converted once to UTF-16LE with a mark and the
// original kept as "ajustes.ini.anterior". The file stays readable by the profile API and by
// any editor.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/inifile.h"
#include "base/store.h"

// What happened to the file, for the shell to tell the player (bits of takeEvents).
enum : unsigned {
    SE_RESTORED = 1,      // found empty or damaged: the last good copy was put back
    SE_LOST = 2,          // found empty or damaged with no good copy: starting afresh
    SE_LOCKED = 4,        // exists but could not be opened: running without saving
    SE_FOLDER = 8,        // a folder stands where the file belongs: running without saving
    SE_SAVE_FAILED = 16,  // a write failed: the changes wait in memory and are tried again
    SE_SAVED_AGAIN = 32,  // writing works again after a failure
    SE_REWRITTEN = 64,    // emptied or damaged while the program ran: written again from memory
};

class ProfileStore : public DocStore {
public:
    // Opens the file; waits up to waitMs for a file that exists but cannot be opened.
    explicit ProfileStore(const wchar_t* path, int waitMs = 3000);
    bool exists() override;

    unsigned takeEvents();                 // SE_ bits since the last call
    std::vector<std::wstring> takeLog();   // log lines (Spanish) since the last call
    bool saving() const { return !noSave; }  // false: running without saving
    bool pending() const { return unsaved; } // changes that could not be written yet
    // Writes changes that could not be written before; 1 when the file is current.
    int retry();
    IniEnc foundEncoding() const { return enc; }

protected:
    void sync() override;
    void save() override;

private:
    struct Stamp {
        bool there = false;
        unsigned long long size = 0;
        FILETIME write{};
        bool operator==(const Stamp& o) const {
            return there == o.there && size == o.size && write.dwLowDateTime == o.write.dwLowDateTime &&
                   write.dwHighDateTime == o.write.dwHighDateTime;
        }
    };
    std::wstring path, tmpPath, copyPath, brokenPath, origPath;
    Stamp known;            // the file as last read or written by us
    bool knownGood = false; // ... and it was good: it may become the last good copy
    bool fileThere = false;
    bool noSave = false;
    bool unsaved = false;
    bool failing = false;
    unsigned events = 0;
    IniEnc enc = INI_UTF16LE_BOM;
    std::vector<std::wstring> logs;

    Stamp stat() const;
    void note(const wchar_t* fmt, ...);
    bool loadCopy();        // the last good copy into the document; false when it is not good
    bool writeFile();
};

// The program's settings file once start-up has opened it; null in tests.
extern ProfileStore* gProfile;

// Reads a whole file: 1 read (bytes set), 0 missing, -1 could not be opened or read (*err set).
int fileReadAll(const wchar_t* path, std::string* bytes, DWORD* err);
// Writes bytes to path through path + ".nuevo", flushed and moved over path in one step.
int fileWriteAtomic(const std::wstring& path, const std::string& bytes, DWORD* err);
// The system's code page (ANSI) into UTF-16.
std::u16string ansiToWide(std::string_view s);
