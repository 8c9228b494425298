// Helpers shared by the Wine tests: files under the temporary folder and the test server.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/base_win.h"

// The local test server's address, set when the tests run through tests/e2e/server.py --run.
inline std::wstring testServer() {
    wchar_t buf[256];
    DWORD n = GetEnvironmentVariableW(L"ZV_HTTP", buf, 256);
    return n && n < 256 ? buf : L"";
}

// A path under the temporary folder.
inline std::wstring tempPath(const std::wstring& name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return dir + name;
}

// A folder of this process under the temporary folder, made when missing.
inline std::wstring tempDir(const wchar_t* name) {
    std::wstring d = tempPath(name + std::to_wstring(GetCurrentProcessId()));
    CreateDirectoryW(d.c_str(), nullptr);
    return d;
}

// A whole file's bytes; "<none>" when it cannot be read.
inline std::string fileBytes(const std::wstring& p) {
    DWORD n = 0;
    char* b = readFileA(p.c_str(), &n);
    std::string s = b ? std::string(b, n) : "<none>";
    free(b);
    return s;
}

inline void writeBytes(const std::wstring& p, const std::string& bytes) {
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD d;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &d, nullptr);
    CloseHandle(h);
}

inline bool exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The test server's /bytes/<n> body: n bytes of a fixed pattern.
inline std::string pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) s[i] = char(i % 251 * 7 % 251);
    return s;
}
