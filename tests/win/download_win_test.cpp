// The installer download under Wine: SHA-256 of files through BCrypt against the portable digest
// (itself checked against the standard vectors), and the download thread against the local test
// server: a verified file, then the faults, none of which leaves a file or reports success.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/sha256.h"
#include "update/download_win.h"
#include "update/manifest.h"
#include "update/verify.h"
#include "winutil.h"

namespace {

std::string hexOfFile(const std::wstring& p) {
    unsigned char d[32];
    if (!shaFile(p.c_str(), d)) return "<failed>";
    return hexOf(d, 32);
}

std::string hexOfBytes(const std::string& s) {
    unsigned char d[32];
    sha256(s.data(), s.size(), d);
    return hexOf(d, 32);
}

}  // namespace

TEST(ShaFile, BCryptMatchesTheVectorsAndA50MBFile) {
    std::wstring p = tempPath(L"zv-sha-test.bin");
    struct Case {
        std::string bytes, hex;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(65536, 'x'), hexOfBytes(std::string(65536, 'x'))},  // exactly one read buffer
        {std::string(65537, 'x'), hexOfBytes(std::string(65537, 'x'))},
    };
    for (const Case& c : cases) {
        writeBytes(p, c.bytes);
        EXPECT_EQ(hexOfFile(p), c.hex) << c.bytes.size() << " bytes";
    }
    // an installer-sized file of a pattern that differs across every read buffer
    const std::string big = pattern(50u << 20);
    writeBytes(p, big);
    EXPECT_EQ(hexOfFile(p), hexOfBytes(big));
    DeleteFileW(p.c_str());
    EXPECT_EQ(hexOfFile(p), "<failed>");  // a missing file has no digest
}

namespace {

struct Download : ::testing::Test {
    std::wstring base = testServer();
    std::wstring log = tempPath(L"zv-dl-test.log");
    HWND wnd = nullptr;
    void SetUp() override {
        if (base.empty()) GTEST_SKIP() << "ZV_HTTP is not set: run through tests/e2e/server.py --run";
        DeleteFileW(log.c_str());
        lstrcpynW(logPath, log.c_str(), MAX_PATH);
        wnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (wnd) DestroyWindow(wnd);
        DeleteFileW(log.c_str());
        logPath[0] = 0;
    }
    void offer(const std::wstring& path, const std::string& sha) {
        std::wstring u = base + path;
        lstrcpynW((wchar_t*)updUrl, u.c_str(), UPD_URL);
        for (size_t i = 0; i <= sha.size(); i++) updSha[i] = char16_t(i < sha.size() ? sha[i] : 0);
    }
    // Runs a download to its end: the outcome and the progress reports.
    int run(std::vector<int>* progress) {
        if (!updDownloadStart(wnd, L"9.9.9")) return -1;
        MSG m;
        DWORD end = GetTickCount() + 60000;
        while (GetTickCount() < end) {
            if (!PeekMessageW(&m, wnd, 0, 0, PM_REMOVE)) {
                Sleep(5);
                continue;
            }
            if (m.message == WM_ZV_DLPROG && progress) progress->push_back((int)m.wParam);
            if (m.message == WM_ZV_DLDONE) return (int)m.wParam;
        }
        return -2;
    }
    std::string logText() { return fileBytes(log); }
};

}  // namespace

TEST_F(Download, AVerifiedInstallerAndEveryFault) {
    const std::string right = hexOfBytes(pattern(3000000));
    std::vector<int> progress;
    offer(L"bytes/3000000", right);
    ASSERT_EQ(run(&progress), 1);
    EXPECT_NE(wcsstr(updTmp, L"Zenvoral-Instalador-9.9.9.exe"), nullptr);
    EXPECT_EQ(hexOfFile(updTmp), right);
    ASSERT_FALSE(progress.empty());
    for (size_t i = 1; i < progress.size(); i++) EXPECT_GT(progress[i], progress[i - 1]);
    EXPECT_EQ(progress.back(), 100);

    struct Case {
        const wchar_t* path;
        std::string sha;
        int result;
        const char* logged;
    } cases[] = {
        {L"_alter/bytes/3000000", right, 0, "Instalador descartado: la huella SHA-256 no coincide"},
        {L"bytes/3000000", right.substr(0, 63) + (right[63] == '0' ? "1" : "0"), 0,
         "Instalador descartado: la huella SHA-256 no coincide"},
        {L"_cut/bytes/3000000", right, 0, "Descarga fallida (HTTP 200)"},
        {L"_404/bytes/3000000", right, 0, "Descarga fallida (HTTP 404)"},
        {L"_stall/bytes/3000000?s=2", right, 0, "Descarga fallida (HTTP 200)"},
        {L"bytes/3000000", "", -1, "sin huella"},           // nothing is fetched without a digest
        {L"bytes/3000000", "abc", -1, "sin huella"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path, c.path + wcslen(c.path)) + " " + c.sha);
        writeBytes(updTmp, "previous");
        DeleteFileW(log.c_str());
        offer(c.path, c.sha);
        EXPECT_EQ(run(nullptr), c.result);
        if (c.result == 0) EXPECT_EQ(GetFileAttributesW(updTmp), INVALID_FILE_ATTRIBUTES) << "no file is left";
        EXPECT_NE(logText().find(c.logged), std::string::npos) << logText();
    }
    DeleteFileW(updTmp);
}
