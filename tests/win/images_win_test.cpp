// Pictures under Wine: embedded ones from the resources, remote ones downloaded from the local
// test server (ZV_HTTP, serving build/*/site) into a private cache folder, through every fault
// the server can play. A download that is not the catalogue's file never takes the final name.
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "images/imgcat.h"
#include "images/images_win.h"
#include "winutil.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

struct Images : ::testing::Test {
    static HWND sink;
    std::wstring base = testServer();
    std::wstring dir;
    std::wstring log;

    static void SetUpTestSuite() {
        static ULONG_PTR tok;
        GdiplusStartupInput in;
        GdiplusStartup(&tok, &in, nullptr);
        sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        imgNotifyWnd = sink;
    }

    void SetUp() override {
        dir = tempPath(L"zv-img-test");
        CreateDirectoryW(dir.c_str(), nullptr);
        imgSetDir(dir.c_str());
        for (int r = 0; r < IMGREMOTE_N; r++) {
            DeleteFileW(cache(r).c_str());
            DeleteFileW((cache(r) + L".part").c_str());
        }
        log = tempPath(L"zv-img-test.log");
        DeleteFileW(log.c_str());
        lstrcpynW(logPath, log.c_str(), MAX_PATH);
        imgResetState();
        setBase(L"");
        MSG m;
        while (PeekMessageW(&m, sink, 0, 0, PM_REMOVE)) {
        }
    }
    void TearDown() override { logPath[0] = 0; }

    void setBase(const wchar_t* fault) {
        std::wstring b = base + fault + L"imagenes/";
        lstrcpynW(IMG_BASE, b.c_str(), 512);
    }
    static std::wstring cache(int row) {
        wchar_t p[MAX_PATH];
        imgPath(row, p);
        return p;
    }
    // Waits for the next finished download: (id, ok), or (0, -1) after the timeout.
    static std::pair<int, int> nextDone(DWORD ms = 15000) {
        DWORD end = GetTickCount() + ms;
        MSG m;
        while ((int)(end - GetTickCount()) > 0) {
            while (PeekMessageW(&m, sink, 0, 0, PM_REMOVE))
                if (m.message == WM_ZV_IMAGE) return {(int)m.wParam, (int)m.lParam};
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return {0, -1};
    }
    static UINT widthOf(GpBitmap* bm) {
        UINT w = 0;
        GdipGetImageWidth(bm, &w);
        return w;
    }
};
HWND Images::sink;

}  // namespace

TEST_F(Images, EmbeddedPicturesComeFromTheResources) {
    for (int id : {0, 999, 2999}) EXPECT_EQ(loadImg(id), nullptr) << id;
    GpBitmap* a = loadImg(1000);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(widthOf(a), 160u);
    EXPECT_EQ(loadImg(1000), a);  // decoded once
    EXPECT_EQ(imgStatus(1000) + imgStatus(2999) + imgQueued(), 0);  // nothing to download
}

TEST_F(Images, RemotePictureDownloadsOnceIntoTheCache) {
    if (base.empty()) GTEST_SKIP() << "ZV_HTTP is not set: run through tests/e2e/server.py --run";
    const ImgRemote& r = IMGREMOTE[0];
    EXPECT_EQ(loadImg(r.id), nullptr);
    int st = imgStatus(r.id);  // 1 until the download ends (which may already have happened)
    EXPECT_TRUE(st == 1 || (st == 0 && exists(cache(0)))) << st;
    for (int i = 0; i < 5; i++) imgRequest(r.id);  // asked again while it downloads
    EXPECT_EQ(nextDone(), std::make_pair(r.id, 1));
    EXPECT_EQ(nextDone(800).second, -1);  // exactly one download
    EXPECT_EQ(fileBytes(cache(0)).size(), r.size);
    EXPECT_FALSE(exists(cache(0) + L".part"));
    EXPECT_EQ(imgStatus(r.id), 0);
    GpBitmap* bm = loadImg(r.id);
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(widthOf(bm), 960u);
    EXPECT_EQ(loadImg(r.id), bm);  // kept in the ring
}

// 404, a cut body, a reset without length (which Wine's WinINet reports as a clean end, so only
// the size check catches it) and a changed byte (only the hash catches it): each fails, leaves no
// .part and never replaces what the cache held.
TEST_F(Images, FaultsNeverTakeTheFinalName) {
    if (base.empty()) GTEST_SKIP() << "ZV_HTTP is not set";
    const ImgRemote& r = IMGREMOTE[1];
    const wchar_t* faults[] = {L"_404/", L"_cut/", L"_nolencut/", L"_alter/"};
    for (const wchar_t* f : faults) {
        SCOPED_TRACE(std::string(f, f + wcslen(f)));
        imgResetState();
        writeBytes(cache(1), "short");  // a cached file of the wrong size
        setBase(f);
        EXPECT_EQ(loadImg(r.id), nullptr);
        EXPECT_EQ(nextDone(), std::make_pair(r.id, 0));
        EXPECT_FALSE(exists(cache(1) + L".part"));
        EXPECT_EQ(fileBytes(cache(1)), "short");
        EXPECT_EQ(imgStatus(r.id), 2);
    }
    EXPECT_NE(fileBytes(log).find("Imagen descartada"), std::string::npos);
    // a good server replaces the short file
    imgResetState();
    setBase(L"");
    imgRequest(r.id);
    EXPECT_EQ(nextDone().second, 1);
    EXPECT_EQ(fileBytes(cache(1)).size(), r.size);
    EXPECT_NE(loadImg(r.id), nullptr);
}

TEST_F(Images, CorruptCachedFileIsDownloadedAgain) {
    if (base.empty()) GTEST_SKIP() << "ZV_HTTP is not set";
    const ImgRemote& r = IMGREMOTE[3];
    imgRequest(r.id);
    ASSERT_EQ(nextDone().second, 1);
    std::string good = fileBytes(cache(3));
    ASSERT_EQ(good.size(), r.size);
    // the right size, one byte changed: found when decoded, then fetched again
    imgResetState();
    std::string bad = good;
    bad[bad.size() / 3] ^= 0x55;
    writeBytes(cache(3), bad);
    EXPECT_EQ(imgStatus(r.id), 0);  // looks ready until it is read
    EXPECT_EQ(loadImg(r.id), nullptr);
    EXPECT_NE(imgStatus(r.id), 2);  // fetched again (perhaps already done)
    EXPECT_NE(fileBytes(log).find("no coincide"), std::string::npos);
    ASSERT_EQ(nextDone().second, 1);
    EXPECT_TRUE(fileBytes(cache(3)) == good);
    EXPECT_NE(loadImg(r.id), nullptr);
}

TEST_F(Images, DrawFitted) {
    GpBitmap* bm = loadImg(1000);  // 160 x 160
    ASSERT_NE(bm, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 200, 100);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, 200, 100, WHITENESS);
    GpGraphics* g = nullptr;
    GdipCreateFromHDC(dc, &g);
    drawImgFit(g, bm, 0, 0, 200, 100);  // 100 x 100 centred: x from 50 to 150
    GdipDeleteGraphics(g);
    EXPECT_EQ(GetPixel(dc, 20, 50), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 180, 50), RGB(255, 255, 255));
    EXPECT_NE(GetPixel(dc, 52, 50), RGB(255, 255, 255));
    EXPECT_NE(GetPixel(dc, 147, 50), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}
