// The program's own services behind tray commands: backups of the settings file, the feedback
// page and restarting.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <ctime>

#include "app/hotkeys_win.h"
#include "app/shell_win.h"
#include "base/base_win.h"
#include "base/endpoints.h"
#include "l10n/ui.h"

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
    MessageBoxW(owner, W(T(233)), L"Zenvoral", MB_ICONINFORMATION);
}

void backupImport(HWND owner) {
    wchar_t file[MAX_PATH];
    if (!pickOpenFile(owner, L"Zenvoral (*.ini)\0*.ini\0*.*\0*.*\0", nullptr, file)) return;
    if (!backupIsOurs(file)) {
        MessageBoxW(owner, W(T(235)), L"Zenvoral", MB_ICONINFORMATION);
        return;
    }
    if (MessageBoxW(owner, W(T(234)), L"Zenvoral", MB_ICONQUESTION | MB_YESNO) != IDYES) return;
    if (!CopyFileW(file, iniPath, FALSE)) return;
    logLine(L"Copia importada: %ls", file);
    restartApp();
}

void openFeedback() {
    wchar_t url[1024], code[3] = {wchar_t(LANG_CODE[lang][0]), wchar_t(LANG_CODE[lang][1]), 0};
    swprintf(url, 1024, L"%ls?v=%ls&b=%d&l=%ls&w=%lu.%lu.%lu", W(EP_FEEDBACK), W(ZV_VERSION), ZV_BUILD, code,
             (unsigned long)winMajor, (unsigned long)winMinor, (unsigned long)winBuild);
    openUrl(url);
}

void restartApp() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    unregisterKeys();
    Shell_NotifyIconW(NIM_DELETE, &nid);
    ShellExecuteW(nullptr, L"open", exe, L"--reinicio", nullptr, SW_SHOWNORMAL);
    if (hwnd) DestroyWindow(hwnd);
}
