// The settings store over the Windows profile API. The file is kept UTF-16LE with a byte-order
// mark so that any text the player types survives; an older ANSI file is converted once.
#pragma once
#include <windows.h>

#include "base/store.h"

class ProfileStore : public Store {
public:
    explicit ProfileStore(const wchar_t* path);
    std::u16string getStr(const char* sec, const char* key, const char16_t* def, int size) override;
    int getInt(const char* sec, const char* key, int def) override;
    void put(const char* sec, const char* key, const std::u16string& val) override;
    void delKey(const char* sec, const char* key) override;
    void delSection(const char* sec) override;
    std::vector<std::pair<std::u16string, std::u16string>> section(const char* sec) override;
    bool exists() override;

private:
    wchar_t path[MAX_PATH];
    void ensureUnicode();
};

// Converts an existing ANSI (system code page) INI file to UTF-16LE with a byte-order mark,
// keeping every key; creates an empty one when missing. Returns 1 on success.
int iniMakeUnicode(const wchar_t* path);
