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
    openUrl(W(feedbackUrl(LANG_CODE[lang], winMajor, winMinor, winBuild).c_str()));
}

void restartApp() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    unregisterKeys();
    Shell_NotifyIconW(NIM_DELETE, &nid);
    ShellExecuteW(nullptr, L"open", exe, L"--reinicio", nullptr, SW_SHOWNORMAL);
    if (hwnd) DestroyWindow(hwnd);
}
