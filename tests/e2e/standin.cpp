// A stand-in for the game (or its launcher) in the end-to-end tests: the tests copy it under
// the name they need. Like a game it shows a window that takes the keyboard, and it stays
// alive until it is killed or its window is closed.
#include <windows.h>

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
