// The shell pieces that run without a user: the settings file's backup copy, whole-file reads
// and the log, on real Windows files under Wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <memory>
#include <string>

#include "base/base_win.h"
#include "base/logfmt.h"
#include "base/state.h"
#include "base/store_win.h"
#include "app/startup.h"
#include "tools/backup_win.h"
#include "winutil.h"

TEST(Ini, OnlyOurSettingsFileIsTakenAsABackup) {
    std::wstring path = tempDir(L"zvtest") + L"\\ajustes.ini";
    DeleteFileW(path.c_str());
    {
        ProfileStore st(path.c_str());
        loadState(st, 0x0C0A);
        st.put("estado", "instalado", u"1");
    }
    EXPECT_TRUE(backupIsOurs(path.c_str()));
    writeBytes(path, "[ajustes]\r\nIdioma=es\r\n");
    EXPECT_FALSE(backupIsOurs(path.c_str()));
    DeleteFileW(path.c_str());
}

TEST(Files, ReadFileAIsBoundedAndTerminated) {
    std::wstring dir = tempDir(L"zvtest"), p = dir + L"\\f.bin";
    writeBytes(p, std::string("ab\0c", 4));
    DWORD n = 99;
    char* b = readFileA(p.c_str(), &n);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(std::string(b, n + 1), std::string("ab\0c\0", 5));  // terminated
    free(b);
    writeBytes(p, std::string(8388609, 'x'));
    EXPECT_EQ(readFileA(p.c_str(), &n), nullptr);
    EXPECT_EQ(readFileA((dir + L"\\missing").c_str(), &n), nullptr);
    DeleteFileW(p.c_str());
}

// The log never grows without limit: a rename that fails empties it instead, and a log that
// can be neither renamed nor emptied stops growing; sizes past 4 GiB count in full.
TEST(Log, NeverGrowsWithoutLimit) {
    std::unique_ptr<TempLog> log = std::make_unique<TempLog>(L"zv-registro.txt");
    std::wstring old = log->path + L".anterior";
    auto sizeOf = [](const wchar_t* p) {
        WIN32_FILE_ATTRIBUTE_DATA fa;
        if (!GetFileAttributesExW(p, GetFileExInfoStandard, &fa)) return -1LL;
        return (long long)(((unsigned long long)fa.nFileSizeHigh << 32) | fa.nFileSizeLow);
    };
    // a folder in the way of the rename
    DeleteFileW(old.c_str());
    ASSERT_TRUE(CreateDirectoryW(old.c_str(), nullptr));
    writeBytes(logPath, std::string(600 * 1024, 'x'));
    logLine(L"tras el vaciado");
    std::string now = fileBytes(logPath);
    EXPECT_LT(now.size(), 300u);
    EXPECT_NE(now.find("no se pudo renombrar"), std::string::npos);
    EXPECT_NE(now.find("tras el vaciado"), std::string::npos);
    RemoveDirectoryW(old.c_str());

    // held open without sharing by another program: neither renamed nor emptied, not grown
    writeBytes(logPath, std::string(LOG_HARD_MAX + 10, 'x'));
    HANDLE held = CreateFileW(logPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    logLine(L"no cabe");
    EXPECT_EQ(sizeOf(logPath), (long long)LOG_HARD_MAX + 10);
    CloseHandle(held);

    // a log past 4 GiB (a sparse file) is rotated, not taken for a small one
    HANDLE h = CreateFileW(logPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = (1LL << 32) + 100;
    DWORD ret;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ret, nullptr);
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    ASSERT_EQ(sizeOf(logPath), (1LL << 32) + 100);
    logLine(L"grande");
    EXPECT_EQ(sizeOf(old.c_str()), (1LL << 32) + 100);
    EXPECT_LT(sizeOf(logPath), 100);
    DeleteFileW(old.c_str());
    log.reset();
    logLine(L"nowhere");  // no path: nothing happens
}
