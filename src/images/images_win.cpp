// Pictures on Windows. The rules (catalogue, queue, retry, ring, fit) are in imgcat; this file
// reads resources and files, runs the download thread over httpGet and decodes with GDI+.
// A download is written to "<name>.part" and takes the final name only when its size and its
// SHA-256 match the catalogue; a cached file is checked the same way the first time it is
// decoded in a run, and one that fails is downloaded again.
#include "images/images_win.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/sha256.h"
#include "images/imgcat.h"
#include "update/http_win.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

HWND imgNotifyWnd;

namespace {

GpBitmap* imgCache[2000];  // embedded pictures 1000..2999, decoded once
wchar_t dir[MAX_PATH];

GpBitmap* decodeBytes(const void* data, UINT n) {
    IStream* st = SHCreateMemStream((const BYTE*)data, n);
    if (!st) return nullptr;
    GpBitmap* bm = nullptr;
    if (GdipCreateBitmapFromStream(st, &bm) != Ok) bm = nullptr;
    st->Release();
    return bm;
}

GpBitmap* decodeRes(int id) {
    HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!r) return nullptr;
    HGLOBAL g = LoadResource(nullptr, r);
    const void* p = g ? LockResource(g) : nullptr;
    DWORD n = SizeofResource(nullptr, r);
    return p && n ? decodeBytes(p, n) : nullptr;
}

bool fileSize(const wchar_t* path, unsigned long long* size) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &a) || (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *size = ((unsigned long long)a.nFileSizeHigh << 32) | a.nFileSizeLow;
    return true;
}

// Size and SHA-256 of a file read in pieces; false when it cannot be read.
bool fileDigest(const wchar_t* path, unsigned long long* size, unsigned char sha[32]) {
    HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    Sha256 s;
    static thread_local char buf[65536];
    DWORD got = 0;
    bool ok = true;
    *size = 0;
    while ((ok = ReadFile(f, buf, sizeof buf, &got, nullptr) != 0) && got > 0) {
        s.add(buf, got);
        *size += got;
    }
    CloseHandle(f);
    s.done(sha);
    return ok;
}

GpBitmap* decodeRemote(int id) {
    int row = imgRow(id);
    if (row < 0) return nullptr;
    if (!imgCached(row)) {
        imgRequest(id);
        return nullptr;
    }
    wchar_t path[MAX_PATH];
    imgPath(row, path);
    HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return nullptr;
    DWORD n = GetFileSize(f, nullptr);
    GpBitmap* bm = nullptr;
    char* data = n != INVALID_FILE_SIZE ? (char*)malloc(n ? n : 1) : nullptr;
    DWORD got = 0;
    bool read = data && ReadFile(f, data, n, &got, nullptr) && got == n;
    CloseHandle(f);
    if (read) {
        if (!imgChecked(row)) {
            unsigned char sha[32];
            sha256(data, n, sha);
            if (!imgFileMatches(row, n, sha)) {
                logLine(L"Imagen: la copia guardada de %d no coincide con su nombre; se descarga de nuevo", id);
                imgMarkBad(row);
                free(data);
                imgRequest(id);
                return nullptr;
            }
            imgMarkChecked(row);
        }
        bm = decodeBytes(data, n);
    }
    free(data);
    return bm;
}

DWORD WINAPI imgThread(void*) {
    for (int row; (row = imgPop()) >= 0;) {
        const ImgRemote& r = IMGREMOTE[row];
        wchar_t path[MAX_PATH], part[MAX_PATH + 8], url[300];
        imgPath(row, path);
        swprintf(part, MAX_PATH + 8, L"%ls.part", path);
        swprintf(url, 300, L"%ls%hs", IMG_BASE, r.file);
        bool ok = false;
        if (httpGet(url, nullptr, nullptr, part, nullptr)) {
            unsigned long long size = 0;
            unsigned char sha[32];
            if (fileDigest(part, &size, sha) && imgFileMatches(row, size, sha)) {
                ok = MoveFileExW(part, path, MOVEFILE_REPLACE_EXISTING) != 0;
                if (!ok) logLine(L"Imagen: no se pudo guardar %ls (error %lu)", path, GetLastError());
            } else {
                logLine(L"Imagen descartada (tamaño o contenido distinto del catálogo): %ls", url);
            }
        }
        if (!ok) DeleteFileW(part);
        imgDone(row, ok, GetTickCount());
        PostMessageW(imgNotifyWnd ? imgNotifyWnd : hwnd, WM_ZV_IMAGE, (WPARAM)r.id, ok ? 1 : 0);
    }
    return 0;
}

}  // namespace

void imgSetDir(const wchar_t* d) {
    lstrcpynW(dir, d, MAX_PATH);
    CreateDirectoryW(dir, nullptr);
}

const wchar_t* imgDir() {
    if (!dir[0]) {
        wchar_t base[MAX_PATH];
        if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, base) != S_OK) return dir;
        swprintf(dir, MAX_PATH, L"%ls\\Zenvoral", base);
        CreateDirectoryW(dir, nullptr);
        wcsncat(dir, L"\\imagenes", MAX_PATH - wcslen(dir) - 1);
        CreateDirectoryW(dir, nullptr);
    }
    return dir;
}

void imgPath(int row, wchar_t* out) {
    if (row < 0 || row >= IMGREMOTE_N) {
        out[0] = 0;
        return;
    }
    swprintf(out, MAX_PATH, L"%ls\\%hs", imgDir(), IMGREMOTE[row].file);
}

bool imgCached(int row) {
    if (row < 0 || row >= IMGREMOTE_N || imgBad(row)) return false;
    wchar_t path[MAX_PATH];
    imgPath(row, path);
    unsigned long long size;
    return fileSize(path, &size) && size == IMGREMOTE[row].size;
}

int imgStatus(int id) {
    int row = imgRow(id);
    return row < 0 ? 0 : imgStatusRow(row, imgCached(row));
}

void imgRequest(int id) {
    int row = imgRow(id);
    if (row < 0) return;
    if (imgEnqueue(row, imgCached(row), GetTickCount()) != 2) return;
    HANDLE t = CreateThread(nullptr, 0, imgThread, nullptr, 0, nullptr);
    if (t) CloseHandle(t);
    else imgWorkerFailed();
}

GpBitmap* loadImg(int id) {
    if (id <= 999) return nullptr;
    if (id <= 2999) {
        GpBitmap*& slot = imgCache[id - 1000];
        if (!slot) slot = decodeRes(id);
        return slot;
    }
    if (GpBitmap* bm = (GpBitmap*)imgRingGet(id)) return bm;
    GpBitmap* bm = decodeRes(id);
    if (!bm) bm = decodeRemote(id);
    if (!bm) return nullptr;
    if (GpBitmap* old = (GpBitmap*)imgRingPut(id, bm)) GdipDisposeImage(old);
    return bm;
}

void drawImgFit(GpGraphics* g, GpBitmap* bm, int x, int y, int w, int h) {
    UINT bw = 0, bh = 0;
    GdipGetImageWidth(bm, &bw);
    GdipGetImageHeight(bm, &bh);
    ImgFit f;
    if (imgFit(bw, bh, x, y, w, h, f)) GdipDrawImageRectI(g, bm, f.x, f.y, f.w, f.h);
}
