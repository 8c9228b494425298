#include "base/store_win.h"

#include <string>
#include <vector>

#include "base/base_win.h"

namespace {
std::wstring wide(const char* ascii) {
    std::wstring r;
    while (*ascii) r.push_back(wchar_t((unsigned char)*ascii++));
    return r;
}

int writeAll(const wchar_t* path, const void* data, DWORD len) {
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    DWORD done = 0;
    BOOL ok = WriteFile(h, data, len, &done, nullptr) && done == len && FlushFileBuffers(h);
    CloseHandle(h);
    return ok ? 1 : 0;
}
}  // namespace

int iniMakeUnicode(const wchar_t* path) {
    static const unsigned char BOM[2] = {0xFF, 0xFE};
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return writeAll(path, BOM, 2);
    DWORD len = 0;
    char* data = readFileA(path, &len);
    if (!data) return 0;
    if (len >= 2 && (unsigned char)data[0] == 0xFF && (unsigned char)data[1] == 0xFE) {
        free(data);
        return 1;
    }
    UINT cp = CP_ACP;
    const char* text = data;
    int n = (int)len;
    if (n >= 3 && (unsigned char)text[0] == 0xEF && (unsigned char)text[1] == 0xBB && (unsigned char)text[2] == 0xBF) {
        cp = CP_UTF8;
        text += 3;
        n -= 3;
    }
    int wlen = n ? MultiByteToWideChar(cp, 0, text, n, nullptr, 0) : 0;
    std::vector<wchar_t> out(size_t(wlen) + 1);
    out[0] = 0xFEFF;
    if (wlen) MultiByteToWideChar(cp, 0, text, n, out.data() + 1, wlen);
    free(data);
    // write beside the file and swap, so a failure never leaves half a settings file
    std::wstring tmp = std::wstring(path) + L".nuevo";
    if (!writeAll(tmp.c_str(), out.data(), DWORD(out.size() * sizeof(wchar_t)))) {
        DeleteFileW(tmp.c_str());
        return 0;
    }
    if (!MoveFileExW(tmp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tmp.c_str());
        return 0;
    }
    return 1;
}

ProfileStore::ProfileStore(const wchar_t* p) {
    lstrcpynW(path, p, MAX_PATH);
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) iniMakeUnicode(path);
}

void ProfileStore::ensureUnicode() {
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) iniMakeUnicode(path);
}

bool ProfileStore::exists() { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::u16string ProfileStore::getStr(const char* sec, const char* key, const char16_t* def, int size) {
    if (size <= 0) return u"";
    std::vector<wchar_t> buf(size_t(size) + 1, 0);
    GetPrivateProfileStringW(wide(sec).c_str(), wide(key).c_str(), W(def ? def : u""), buf.data(), DWORD(size), path);
    return std::u16string(U(buf.data()));
}

int ProfileStore::getInt(const char* sec, const char* key, int def) {
    return (int)GetPrivateProfileIntW(wide(sec).c_str(), wide(key).c_str(), def, path);
}

void ProfileStore::put(const char* sec, const char* key, const std::u16string& val) {
    ensureUnicode();
    WritePrivateProfileStringW(wide(sec).c_str(), wide(key).c_str(), W(val.c_str()), path);
}

void ProfileStore::delKey(const char* sec, const char* key) {
    WritePrivateProfileStringW(wide(sec).c_str(), wide(key).c_str(), nullptr, path);
}

void ProfileStore::delSection(const char* sec) {
    WritePrivateProfileStringW(wide(sec).c_str(), nullptr, nullptr, path);
}

std::vector<std::pair<std::u16string, std::u16string>> ProfileStore::section(const char* sec) {
    std::vector<wchar_t> buf(32768);
    DWORD n;
    for (;;) {
        n = GetPrivateProfileSectionW(wide(sec).c_str(), buf.data(), DWORD(buf.size()), path);
        if (n < buf.size() - 2 || buf.size() >= (1u << 22)) break;
        buf.resize(buf.size() * 2);
    }
    std::vector<std::pair<std::u16string, std::u16string>> out;
    for (const wchar_t* p = buf.data(); *p && p < buf.data() + n; p += wcslen(p) + 1) {
        const wchar_t* eq = wcschr(p, L'=');
        if (!eq) continue;
        out.emplace_back(std::u16string(U(p), size_t(eq - p)), std::u16string(U(eq + 1)));
    }
    return out;
}
