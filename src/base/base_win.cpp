// Shell services shared by every window: the window thread's globals, paths, whole-file reads,
// the open dialog, the autostart value, web pages and the tray balloon.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/base_win.h"
#include "base/utf.h"
#include "base/endpoints.h"

HINSTANCE hInst;
HWND hwnd;
HWND hSet, hChk, hLib, hUpd, hDps, hAbout, hWel, hVid, hView;
NOTIFYICONDATAW nid;
double sc = 1.0;
int uiScale = 100;
wchar_t progDir[MAX_PATH];
wchar_t iniPath[MAX_PATH];
DWORD winMajor, winMinor, winBuild;
int balloonKind;
wchar_t dataUrl[1024];
wchar_t updManifest[1024] = ZV_SITE_L L"/version.txt";
wchar_t IMG_BASE[512] = ZV_SITE_L L"/imagenes/";
wchar_t liveBase[512] = L"https://decapi.me/twitch/uptime/";  // EP_LIVE
int hideOld, compact, forceShow, editMode, userHidden, wvDisabled;
wchar_t pkPath[MAX_PATH];

void wcopy(wchar_t* dst, const wchar_t* src, int cap) {
    if (cap <= 0) return;
    copyCut(reinterpret_cast<char16_t*>(dst), size_t(cap), src ? U(src) : u"");
}

void appPaths() {
    wchar_t base[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, base);
    swprintf(progDir, MAX_PATH, L"%ls\\Zenvoral", base);
    CreateDirectoryW(progDir, nullptr);
    swprintf(iniPath, MAX_PATH, L"%ls\\ajustes.ini", progDir);
}

char* readFileA(const wchar_t* path, DWORD* length) {
    *length = 0;
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size) || size.QuadPart > 8388608) {
        CloseHandle(h);
        return nullptr;
    }
    char* buf = (char*)malloc(size_t(size.QuadPart) + 1);
    if (!buf) {
        CloseHandle(h);
        return nullptr;
    }
    DWORD got = 0;
    if (!ReadFile(h, buf, DWORD(size.QuadPart), &got, nullptr)) got = 0;
    CloseHandle(h);
    buf[got] = 0;
    *length = got;
    return buf;
}

int pickOpenFile(HWND owner, const wchar_t* filter, const wchar_t* title, wchar_t* file) {
    file[0] = 0;
    OPENFILENAMEW of{};
    of.lStructSize = sizeof of;
    of.hwndOwner = owner;
    of.lpstrFilter = filter;
    of.lpstrFile = file;
    of.nMaxFile = MAX_PATH;
    of.lpstrTitle = title;
    of.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return GetOpenFileNameW(&of) ? 1 : 0;
}

static const wchar_t RUN_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

int autostartOn() {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return 0;
    LONG r = RegQueryValueExW(k, L"Zenvoral", nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

void setAutostart(int on) {
    HKEY k;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    if (on) {
        wchar_t exe[MAX_PATH], quoted[MAX_PATH + 4];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        swprintf(quoted, MAX_PATH + 4, L"\"%ls\"", exe);
        RegSetValueExW(k, L"Zenvoral", 0, REG_SZ, (const BYTE*)quoted, DWORD((wcslen(quoted) + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(k, L"Zenvoral");
    }
    RegCloseKey(k);
}

unsigned curMods() {
    unsigned m = 0;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) m |= MOD_CONTROL;
    if (GetAsyncKeyState(VK_MENU) & 0x8000) m |= MOD_ALT;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) m |= MOD_SHIFT;
    if ((GetAsyncKeyState(VK_LWIN) | GetAsyncKeyState(VK_RWIN)) & 0x8000) m |= MOD_WIN;
    return m;
}

int captureExclude(HWND w, int on) {
    typedef BOOL(WINAPI * SetFn)(HWND, DWORD);
    typedef BOOL(WINAPI * GetFn)(HWND, DWORD*);
    HMODULE user = GetModuleHandleW(L"user32.dll");
    SetFn set = user ? (SetFn)(void*)GetProcAddress(user, "SetWindowDisplayAffinity") : nullptr;
    GetFn get = user ? (GetFn)(void*)GetProcAddress(user, "GetWindowDisplayAffinity") : nullptr;
    const DWORD want = on ? 0x11 : 0;  // WDA_EXCLUDEFROMCAPTURE or WDA_NONE
    if (!set || !w) return 0;
    BOOL done = set(w, want);
    DWORD got = 0;
    if (get && get(w, &got)) return got == want;  // what the window has, whatever the call said
    return done ? 1 : 0;
}

void openUrl(const wchar_t* url) { ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL); }

void balloon(const wchar_t* title, const wchar_t* text, int kind) {
    balloonKind = kind;
    nid.uFlags = NIF_INFO;
    wcopy(nid.szInfoTitle, title, 64);
    wcopy(nid.szInfo, text, 256);
    Shell_NotifyIconW(NIM_MODIFY, &nid);
    logLine(L"Aviso: %ls", nid.szInfo);  // what the player was told, for support
}
