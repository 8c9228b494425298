// The log file "registro.txt": one UTF-8 line per call, appended with a single write and no
// lock, so worker threads may log too; rotated to ".anterior" past 512 KiB. When the rename
// fails (the old log held open by a viewer, say), the log is emptied instead, and when that
// fails too, it stops growing at 2 MiB: it never grows without limit.
#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <ctime>
#include <string>

#include "base/base_win.h"
#include "base/logfmt.h"

wchar_t logPath[MAX_PATH];

void logLine(const wchar_t* fmt, ...) {
    if (!logPath[0]) return;
    WIN32_FILE_ATTRIBUTE_DATA fa;
    std::string note;
    if (GetFileAttributesExW(logPath, GetFileExInfoStandard, &fa)) {
        unsigned long long size = ((unsigned long long)fa.nFileSizeHigh << 32) | fa.nFileSizeLow;
        if (logNeedsRotate(size)) {
            wchar_t old[MAX_PATH + 16];
            swprintf(old, MAX_PATH + 16, L"%ls.anterior", logPath);
            if (!MoveFileExW(logPath, old, MOVEFILE_REPLACE_EXISTING)) {
                DWORD err = GetLastError();
                HANDLE e = CreateFileW(logPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                if (e != INVALID_HANDLE_VALUE) {
                    CloseHandle(e);
                    wchar_t why[128];
                    swprintf(why, 128, L"Registro: no se pudo renombrar a .anterior (error %lu); se vació", (unsigned long)err);
                    std::time_t now = std::time(nullptr);
                    std::tm t{};
                    localtime_s(&t, &now);
                    note = logFormat(t, std::u16string(U(why)));
                } else if (!logMayGrow(size)) {
                    return;
                }
            }
        }
    }
    wchar_t msg[LOG_MSG_MAX];
    va_list ap;
    va_start(ap, fmt);
    int n = vswprintf(msg, LOG_MSG_MAX, fmt, ap);
    va_end(ap);
    if (n < 0) msg[LOG_MSG_MAX - 1] = 0;  // cut: keep what fitted
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_s(&t, &now);
    std::string line = note + logFormat(t, std::u16string(U(msg)));
    HANDLE h = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD done;
    WriteFile(h, line.data(), DWORD(line.size()), &done, nullptr);
    CloseHandle(h);
}

LONG WINAPI crashFilter(EXCEPTION_POINTERS* ep) {
    logLine(L"ERROR GRAVE: excepción 0x%08lx en %p", (unsigned long)ep->ExceptionRecord->ExceptionCode,
            ep->ExceptionRecord->ExceptionAddress);
    return EXCEPTION_CONTINUE_SEARCH;
}
