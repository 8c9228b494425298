// A stand-in for the game (or its launcher) in the end-to-end tests: the tests copy it under
// the name they need. Like a game it shows a window that takes the keyboard, and it stays
// alive until it is killed or its window is closed.
// Copied as "navegador.exe" it stands in for the web browser (and the text editor): it appends
// the address or file it was asked to open, one per line in UTF-8, to navegador.txt beside it
// and ends.
#include <windows.h>

#include <cwchar>

static int browser(const wchar_t* dir) {
    const wchar_t* args = GetCommandLineW();
    bool quoted = *args == L'"';  // skip the program's own path
    for (args += quoted; *args && (quoted ? *args != L'"' : *args != L' '); args++) {
    }
    if (*args == L'"') args++;
    while (*args == L' ') args++;
    wchar_t out[MAX_PATH];
    swprintf(out, MAX_PATH, L"%lsnavegador.txt", dir);
    char utf8[4096];
    int n = WideCharToMultiByte(CP_UTF8, 0, args, -1, utf8, sizeof utf8 - 2, nullptr, nullptr);
    if (n <= 0) return 1;
    utf8[n - 1] = '\n';
    HANDLE f = CreateFileW(out, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD written;
    WriteFile(f, utf8, n, &written, nullptr);
    CloseHandle(f);
    return 0;
}

static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, LPWSTR, int) {
    wchar_t path[MAX_PATH], *name = path;
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    for (wchar_t* p = path; *p; p++)
        if (*p == L'\\') name = p + 1;
    if (!_wcsnicmp(name, L"navegador", 9)) {
        *name = 0;
        return browser(path);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    wc.lpszClassName = L"standin";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"standin", name, WS_POPUP | WS_VISIBLE, 400, 200, 480, 320, nullptr, nullptr, inst,
                             nullptr);
    SetForegroundWindow(h);
    SetFocus(h);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}
