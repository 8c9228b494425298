// Process entry and the overlay window: single instance, scale, settings, the hidden overlay
// with its tray icon and timers, the tray menu and its commands, and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <cstdio>
#include <ctime>
#include <cwchar>
#include <initializer_list>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "app/hotkeys_win.h"
#include "library/libwin_win.h"
#include "base/store_win.h"
#include "app/window_win.h"
#include "checklist/clock.h"
#include "checklist/editor_win.h"
#include "datapack/install.h"
#include "tools/settings_win.h"
#include "datapack/install_win.h"
#include "datapack/news.h"
#include "checklist/catalogue.h"
#include "l10n/ui.h"
#include "app/startup.h"
#include "app/shell_win.h"
#include "tools/about_win.h"
#include "tools/dps_win.h"
#include "tools/welcome_win.h"
#include "app/handoff_win.h"
#include "builds/share.h"
#include "app/update_win.h"
#include "update/check_win.h"
#include "player/player_win.h"
namespace {

HANDLE hMutex;
ULONG_PTR gdipTok;
const wchar_t* cmdLine = L"";

bool has(const wchar_t* opt) { return wcsstr(cmdLine, opt) != nullptr; }

void readWindowsVersion() {
    typedef LONG(WINAPI * RtlGetVersionFn)(RTL_OSVERSIONINFOW*);
    HMODULE nt = GetModuleHandleW(L"ntdll.dll");
    auto fn = nt ? (RtlGetVersionFn)(void*)GetProcAddress(nt, "RtlGetVersion") : nullptr;
    RTL_OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;  // 276 bytes
    if (fn && fn(&vi) == 0) {
        winMajor = vi.dwMajorVersion;
        winMinor = vi.dwMinorVersion;
        winBuild = vi.dwBuildNumber;
    }
}

// Dark tray and context menus through uxtheme's unnamed exports (Windows 10 1903 and later).
void darkMenus() {
    HMODULE ux = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!ux || winMajor <= 9 || winBuild <= 18361) return;
    typedef int(WINAPI * SetModeFn)(int);
    typedef void(WINAPI * FlushFn)();
    auto setMode = (SetModeFn)(void*)GetProcAddress(ux, MAKEINTRESOURCEA(135));
    auto flush = (FlushFn)(void*)GetProcAddress(ux, MAKEINTRESOURCEA(136));
    if (setMode) setMode(2);
    if (flush) flush();
}


// Keyboard navigation of the tool windows: each open one is offered the message first; the
// player and the library only while they hold the focus.
bool takenByDialog(MSG* m) {
    for (HWND w : {hSet, hChk, hUpd, hDps, hAbout, hWel})
        if (w && IsDialogMessageW(w, m)) return true;
    HWND f = GetFocus();
    // the player's own list and buttons only: keys for the page (space, arrows) reach the browser
    if (hVid && f && GetParent(f) == hVid && GetDlgCtrlID(f) >= 600 && GetDlgCtrlID(f) <= 602 &&
        IsDialogMessageW(hVid, m))
        return true;
    if (hLib && f && (f == hLib || IsChild(hLib, f)) && IsDialogMessageW(hLib, m)) return true;
    return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    hInst = hInstance;
    updShowWindow = openUpdateWindow;
    libPlayer = openPlayer;
    cmdLine = lpCmdLine ? lpCmdLine : L"";

    hMutex = CreateMutexW(nullptr, TRUE, L"ZenvoralOverlay");
    DWORD err = GetLastError();
    if (err == ERROR_ALREADY_EXISTS && has(L"--reinicio")) {
        // a restart: wait up to 10 s for the previous copy to let go
        CloseHandle(hMutex);
        for (int i = 0; i < 100; i++) {
            Sleep(100);
            hMutex = CreateMutexW(nullptr, TRUE, L"ZenvoralOverlay");
            err = GetLastError();
            if (err != ERROR_ALREADY_EXISTS) break;
            CloseHandle(hMutex);
        }
    }
    appPaths();
    static ProfileStore profile(iniPath);
    gStore = gProfile = &profile;
    std::u16string buildCode;
    int hasCode = importArg(U(cmdLine), buildCode);
    if (err == ERROR_ALREADY_EXISTS) {
        // a build code goes to the running copy instead of the notice
        if (hasCode && handOffBuildCode(W(buildCode.c_str()))) return 0;
        loadState(*gStore, GetUserDefaultUILanguage());
        MessageBoxW(nullptr, W(T(57)), L"Zenvoral", MB_ICONINFORMATION);
        return 0;
    }

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SetProcessDPIAware();
    readWindowsVersion();
    darkMenus();
    Gdiplus::GdiplusStartupInput gsi;
    Gdiplus::GdiplusStartup(&gdipTok, &gsi, nullptr);

    loadState(*gStore, GetUserDefaultUILanguage());
    scaleInit();
    swprintf(logPath, MAX_PATH, L"%ls\\registro.txt", progDir);
    SetUnhandledExceptionFilter(crashFilter);
    logLine(L"Inicio %ls (%d) · idioma %ls · escala %d%%", W(ZV_VERSION), ZV_BUILD, W(LANG_NAME[lang]), uiScale);

    swprintf(pkPath, MAX_PATH, L"%ls\\datos.txt", progDir);
    evLocalInstall();
    pkLoadAtStart();
    wcopy(dataUrl, W(gStore->getStr("ajustes", "URLDatos", u"", 1024).c_str()), 1024);
    hideOld = gStore->getInt("ajustes", "OcultarAntiguo", 0) != 0;
    compact = gStore->getInt("ajustes", "Compacto", 0) != 0;
    std::u16string v = gStore->getStr("ajustes", "URLVersion", u"", 1024);
    if (!v.empty()) wcopy(updManifest, W(v.c_str()), 1024);
    v = gStore->getStr("ajustes", "URLImagenes", u"", 512);
    if (!v.empty()) wcopy(IMG_BASE, W(v.c_str()), 512);
    v = gStore->getStr("ajustes", "URLDirecto", u"", 512);
    if (!v.empty()) wcopy(liveBase, W(v.c_str()), 512);

    if (const wchar_t* o = wcsstr(cmdLine, L"--idioma=")) {
        wchar_t code[3] = {o[9], o[9] ? o[10] : L'\0', 0};
        int l = langFromCode(U(code));
        if (l >= 0) uiSetLang(l);  // this run only; the key texts keep the stored language's names
    }

    // a settings file that could not be read is no first run: nothing of it is known
    int firstRun = gStore->getInt("estado", "instalado", 0) == 0 && gProfile->saving();
    if (firstRun) {
        setAutostart(1);
        gStore->put("estado", "instalado", u"1");
    } else if (autostartOn()) {
        setAutostart(1);
    }

    long long now = (long long)std::time(nullptr);
    checkResets(now, *gStore);
    newsRefresh(now);
    histRefresh(now, *gStore);
    scaleFit();  // the list really shown must fit the screen: before the fonts are made
    makeFonts();
    headerRects();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    winH = px(layout());
    int version = gStore->getInt("estado", "version", 1);
    if (version <= 5) posX = posY = -1;  // positions of old layouts are not trusted
    posInit();

    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"Zenvoral";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE,
                           L"Zenvoral", L"Zenvoral", WS_POPUP, posX, posY, winW, winH, nullptr, nullptr, hInstance,
                           nullptr);
    applyStyle();
    applyCapture();
    registerKeys();
    handOffListen();

    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_ZV_TRAY;
    nid.hIcon = trayIcon();
    wcopy(nid.szTip, W(T(58)), 128);
    Shell_NotifyIconW(NIM_ADD, &nid);

    if (version < 8 || firstRun) {
        wchar_t text[256];
        swprintf(text, 256, W(T(61)), keyEditStr, keyHideStr, keyLibStr);
        nid.uFlags = NIF_INFO;
        wcopy(nid.szInfoTitle, W(T(firstRun ? 59 : 60)), 64);
        wcopy(nid.szInfo, text, 256);
        Shell_NotifyIconW(NIM_MODIFY, &nid);
        gStore->put("estado", "version", u"8");
    }
    storeTell();  // a restored, locked or unusable settings file is told after the start notice

    if (gStore->getInt("estado", "bienvenida", 0) == 0 && !has(L"--prueba")) {
        gStore->put("estado", "bienvenida", u"1");
        openWelcome();
    }
    if (has(L"--prueba-bienvenida")) {
        openWelcome();
        if (has(L"p4"))
            for (int i = 0; i < 3; i++) SendMessageW(hWel, WM_COMMAND, 1301, 0);
    }
    if (has(L"--prueba-acerca")) openAbout();
    if (has(L"--prueba-dps")) openDps();

    SetTimer(hwnd, TIMER_TICK, 2000, nullptr);
    SetTimer(hwnd, TIMER_CHECKS, 20000, nullptr);

    if (has(L"--prueba-checklist")) openChecklistEditor();

    if (has(L"--prueba")) {
        forceShow = 1;
        if (has(L"edicion")) {
            editMode = 1;
            applyStyle();
        }
    }
    if (has(L"--juego")) forceShow = 0;
    updateVisibility();
    libTestOptions(cmdLine);

    if (has(L"--prueba-ajustes")) openSettings();

    std::u16string importPath;
    int imp = pkImportArg(U(cmdLine), &importPath);
    if (imp == 1)
        pkImportPath(W(importPath.c_str()));
    else if (imp == 2)  // a cut path would name another file
        logLine(L"Datos: la ruta de --importar= tiene %d caracteres (máximo 259); no se importa", (int)importPath.size());
    if (hasCode) importBuildCode(W(buildCode.c_str()));

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (takenByDialog(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ReleaseMutex(hMutex);
    CloseHandle(hMutex);
    return 0;
}
