// The program's own services behind tray commands: what happened to the settings file, restarting.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "app/hotkeys_win.h"
#include "app/shell_win.h"
#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/store_win.h"
#include "l10n/ui.h"

void storeTell() {
    if (!gProfile) return;
    for (const std::wstring& l : gProfile->takeLog()) logLine(L"%ls", l.c_str());
    unsigned e = gProfile->takeEvents();
    int id = e & SE_FOLDER                     ? 270
             : e & SE_LOCKED                   ? 269
             : e & SE_LOST                     ? 268
             : e & (SE_RESTORED | SE_REWRITTEN) ? 267
             : e & SE_SAVE_FAILED              ? 271
                                               : -1;
    if (id >= 0) balloon(L"Zenvoral", W(T(id)), 0);
}

void restartApp() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    unregisterKeys();
    Shell_NotifyIconW(NIM_DELETE, &nid);
    ShellExecuteW(nullptr, L"open", exe, L"--reinicio", nullptr, SW_SHOWNORMAL);
    if (hwnd) DestroyWindow(hwnd);
}
