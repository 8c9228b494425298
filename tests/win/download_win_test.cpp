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
    return shaFile(p.c_str(), d) ? hexOf(d, 32) : "<failed>";
}

std::string hexOfBytes(const std::string& s) {
    unsigned char d[32];
    sha256(s.data(), s.size(), d);
    return hexOf(d, 32);
}

}  // namespace

// Around the read buffer's size, and an installer-sized file whose pattern differs across buffers.
TEST(ShaFile, BCryptMatchesThePortableDigest) {
    std::wstring p = tempPath(L"zv-sha-test.bin");
    for (const std::string& bytes : {std::string(), std::string(65536, 'x'), std::string(65537, 'x'), pattern(50u << 20)}) {
        writeBytes(p, bytes);
        EXPECT_EQ(hexOfFile(p), hexOfBytes(bytes)) << bytes.size() << " bytes";
    }
    DeleteFileW(p.c_str());
    EXPECT_EQ(hexOfFile(p), "<failed>");  // a missing file has no digest
}

// A verified installer with its progress, then faults (the same as the update's end-to-end test,
// which cannot see the file): none leaves a file or reports success.
TEST(Download, AVerifiedInstallerAndTheFaults) {
    std::wstring base = testServer();
    if (base.empty()) GTEST_SKIP() << "ZV_HTTP is not set: run through tests/e2e/server.py --run";
    TempLog log(L"zv-dl-test.log");
    HWND wnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Offers the file at path with the digest sha and runs the download to its end.
    auto run = [&](const std::wstring& path, const std::string& sha, std::vector<int>* progress) {
        lstrcpynW((wchar_t*)updUrl, (base + path).c_str(), UPD_URL);
        for (size_t i = 0; i <= sha.size(); i++) updSha[i] = char16_t(i < sha.size() ? sha[i] : 0);
        if (!updDownloadStart(wnd, L"9.9.9")) return -1;
        for (MSG m; waitMsg(wnd, WM_ZV_DLPROG, WM_ZV_DLDONE, m, 60000);) {
            if (m.message == WM_ZV_DLPROG && progress) progress->push_back((int)m.wParam);
            if (m.message == WM_ZV_DLDONE) return (int)m.wParam;
        }
        return -2;
    };
    const std::string right = hexOfBytes(pattern(3000000));
    std::vector<int> progress;
    ASSERT_EQ(run(L"bytes/3000000", right, &progress), 1);
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
        {L"_cut/bytes/3000000", right, 0, "Descarga fallida (HTTP 200)"},
        {L"_404/bytes/3000000", right, 0, "Descarga fallida (HTTP 404)"},
        {L"bytes/3000000", "", -1, "sin huella"},  // nothing is fetched without a valid digest
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path, c.path + wcslen(c.path)) + " " + c.sha);
        writeBytes(updTmp, "previous");
        DeleteFileW(log.path.c_str());
        EXPECT_EQ(run(c.path, c.sha, nullptr), c.result);
        if (c.result == 0) EXPECT_FALSE(exists(updTmp)) << "no file is left";
        EXPECT_NE(log.text().find(c.logged), std::string::npos) << log.text();
    }
    DeleteFileW(updTmp);
    DestroyWindow(wnd);
}
