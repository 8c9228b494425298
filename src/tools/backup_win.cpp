#include "tools/backup_win.h"

#include <commdlg.h>

#include <cstdio>
#include <ctime>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "l10n/ui.h"
#include "widgets/widgets_win.h"

int backupIsOurs(const wchar_t* path) {
    wchar_t v[32];
    GetPrivateProfileStringW(L"estado", L"instalado", L"", v, 32, path);
    return v[0] != 0;
}

void backupExport(HWND owner) {
    wchar_t file[MAX_PATH];
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_s(&t, &now);
    swprintf(file, MAX_PATH, L"Zenvoral-copia-%04d%02d%02d.ini", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    OPENFILENAMEW of{};
    of.lStructSize = sizeof of;
    of.hwndOwner = owner;
    of.lpstrFilter = L"Zenvoral (*.ini)\0*.ini\0";
    of.lpstrFile = file;
    of.nMaxFile = MAX_PATH;
    of.lpstrDefExt = L"ini";
    of.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameW(&of)) return;
    if (!CopyFileW(iniPath, file, FALSE)) return;
    logLine(L"Copia exportada: %ls", file);
    darkAsk(owner, W(T(233)), nullptr, 0);
}

void backupImport(HWND owner) {
    wchar_t file[MAX_PATH];
    if (!pickOpenFile(owner, L"Zenvoral (*.ini)\0*.ini\0*.*\0*.*\0", nullptr, file)) return;
    if (!backupIsOurs(file)) {
        darkAsk(owner, W(T(235)), nullptr, 0);
        return;
    }
    if (!darkAsk(owner, W(T(234)), nullptr, 1)) return;
    if (!CopyFileW(file, iniPath, FALSE)) return;
    logLine(L"Copia importada: %ls", file);
    if (hwnd) PostMessageW(hwnd, WM_ZV_RESTART, 0, 0);
}
