#include "update/download_win.h"

#include <bcrypt.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "update/http_win.h"
#include "update/manifest.h"
#include "update/verify.h"

wchar_t updTmp[MAX_PATH];

namespace {

unsigned char b[65536];  // the hash's read buffer; one download at a time
// The offer as it was when the download started: a check during the download may take a new
// manifest, which must not change what this download fetches or expects.
wchar_t dlUrl[UPD_URL];
char16_t dlSha[UPD_SHA];

DWORD WINAPI updDownloadThread(void* wnd) {
    HWND w = (HWND)wnd;
    int ok = httpGet(dlUrl, nullptr, nullptr, updTmp, w);
    if (ok) {
        unsigned char d[32];
        if (!shaFile(updTmp, d) || !shaMatches(d, dlSha)) {
            logLine(L"Instalador descartado: la huella SHA-256 no coincide");
            ok = 0;
        }
    }
    if (!ok) DeleteFileW(updTmp);  // also an older attempt's file that a refused answer left alone
    PostMessageW(w, WM_ZV_DLDONE, ok, 0);
    return 0;
}

}  // namespace

int shaFile(const wchar_t* path, unsigned char out[32]) {
    BCRYPT_ALG_HANDLE alg = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0) < 0) return 0;
    int ok = 0;
    if (BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0) >= 0) {
        HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            ok = 1;
            for (;;) {
                DWORD got = 0;
                if (!ReadFile(f, b, sizeof b, &got, nullptr)) {
                    ok = 0;  // a read error is no digest of the file
                    break;
                }
                if (!got) break;
                if (BCryptHashData(hash, b, got, 0) < 0) {
                    ok = 0;
                    break;
                }
            }
            CloseHandle(f);
            if (ok && BCryptFinishHash(hash, out, 32, 0) < 0) ok = 0;
        }
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(alg, 0);
    return ok;
}

int updDownloadStart(HWND wnd, const wchar_t* ver) {
    if (!shaValid(updSha)) {
        logLine(L"Instalador sin huella SHA-256: no se descarga");
        return 0;
    }
    wchar_t dir[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, dir);
    if (!n || n >= MAX_PATH) dir[0] = 0;
    // the version comes from the manifest: only plain name characters reach the file name
    wchar_t safe[40];
    int k = 0;
    for (const wchar_t* c = ver; *c && k < 39; c++)
        safe[k++] = iswalnum(*c) || *c == L'.' || *c == L'-' ? *c : L'_';
    safe[k] = 0;
    swprintf(updTmp, MAX_PATH, L"%lsZenvoral-Instalador-%ls.exe", dir, safe);
    lstrcpynW(dlUrl, W(updUrl), UPD_URL);
    for (int i = 0; i < UPD_SHA; i++) dlSha[i] = updSha[i];
    HANDLE t = CreateThread(nullptr, 0, updDownloadThread, wnd, 0, nullptr);
    if (t)
        CloseHandle(t);
    else
        PostMessageW(wnd, WM_ZV_DLDONE, 0, 0);
    return 1;
}

int updRunInstaller() {
    return (INT_PTR)ShellExecuteW(nullptr, L"open", updTmp, L"/S /ACTUALIZAR", nullptr, SW_SHOWNORMAL) > 32;
}
