#include "datapack/install_win.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/base_win.h"
#include "base/state.h"
#include "base/msgs_win.h"
#include "checklist/clock.h"
#include "datapack/install.h"
#include "datapack/news.h"
#include "l10n/ui.h"

namespace {

// Writes next to the installed pack and swaps the file in one step, so a failure at any
// point leaves the previous "datos.txt" as it was.
struct FileWriter : PackWriter {
    int save(const char* text, size_t len) override {
        std::wstring tmp = std::wstring(pkPath) + L".nuevo";
        HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return 0;
        DWORD done = 0;
        BOOL ok = WriteFile(h, text, DWORD(len), &done, nullptr) && done == len && FlushFileBuffers(h);
        CloseHandle(h);
        if (ok && MoveFileExW(tmp.c_str(), pkPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
        DeleteFileW(tmp.c_str());
        logLine(L"Datos: no se pudo guardar %ls", pkPath);
        return 0;
    }
};

const wchar_t* const LOC[6] = {L"es-ES", L"en-US", L"fr-FR", L"de-DE", L"it-IT", L"pt-BR"};

void evLocalWin(long long t, char16_t* dst, int cap) {
    ULARGE_INTEGER u;
    u.QuadPart = (unsigned long long)(t + 11644473600LL) * 10000000ULL;
    FILETIME ft{u.LowPart, u.HighPart}, lft;
    SYSTEMTIME st;
    wchar_t date[100] = L"", time[40] = L"";
    if (t < 0 || !FileTimeToLocalFileTime(&ft, &lft) || !FileTimeToSystemTime(&lft, &st)) {
        dst[0] = 0;
        return;
    }
    GetDateFormatEx(LOC[lang], DATE_LONGDATE, &st, nullptr, date, 100, nullptr);
    GetTimeFormatEx(LOC[lang], TIME_NOSECONDS, &st, nullptr, time, 40);
    swprintf((wchar_t*)dst, size_t(cap), L"%ls, %ls", date, time);
}

}  // namespace

void evLocalInstall() { evLocalHook = evLocalWin; }

void pkLoadAtStart() {
    DWORD len = 0;
    char* file = readFileA(pkPath, &len);
    pkStartup(file, len);
    free(file);
}

void pkRefreshAll() {
    long long now = (long long)std::time(nullptr);
    newsRefresh(now);
    histRefresh(now, *gStore);
    if (hwnd) SendMessageW(hwnd, WM_ZV_RELAYOUT, RELAYOUT_PACK, 0);
}

int pkInstallText(const char* text, size_t len, int force) {
    FileWriter w;
    int r = pkInstall(text, len, force, &w);
    if (r == 1) pkRefreshAll();
    return r;
}

void pkImportPath(const wchar_t* path) {
    DWORD len = 0;
    char* buf = readFileA(path, &len);
    if (!buf) {
        logLine(L"Datos: no se pudo leer %ls", path);
        return;
    }
    int r = pkInstallText(buf, len, 1);
    free(buf);
    // the player sees nothing of a command-line import: the log says how it went
    if (r == 1) logLine(L"Datos: importado %ls (versión %ls)", path, W(pkVerW));
    else if (r == 0) logLine(L"Datos: %ls no es un paquete de datos válido", path);
}

void pkImportDialog(HWND owner) {
    wchar_t file[MAX_PATH];
    if (!pickOpenFile(owner, L"Zenvoral (*.txt)\0*.txt\0*.*\0*.*\0", W(T(127)), file)) return;
    DWORD len = 0;
    char* buf = readFileA(file, &len);
    int r = buf ? pkInstallText(buf, len, 1) : 0;
    free(buf);
    if (r == 1) {
        wchar_t text[256];
        swprintf(text, 256, W(T(138)), W(pkVerW));
        balloon(L"Zenvoral", text, 0);
    } else if (r == PK_NOT_SAVED) {
        balloon(L"Zenvoral", W(T(272)), 0);  // valid, but it could not be kept: nothing changed
    } else {
        balloon(L"Zenvoral", W(T(141)), 0);
    }
}
