// The program's own services behind tray commands: the feedback page and restarting.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "app/hotkeys_win.h"
#include "app/shell_win.h"
#include "base/base_win.h"
#include "base/endpoints.h"
#include "l10n/ui.h"

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
