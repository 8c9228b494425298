// Helpers shared by the Wine tests: files under the temporary folder, the test server, the log,
// waiting for a worker's message, the window system's set-up and answering question dialogs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/fonts_win.h"

// The local test server's address, set when the tests run through tests/e2e/server.py --run.
inline std::wstring testServer() {
    wchar_t buf[256];
    DWORD n = GetEnvironmentVariableW(L"ZV_HTTP", buf, 256);
    return n && n < 256 ? buf : L"";
}

// A path under the temporary folder.
inline std::wstring tempPath(const std::wstring& name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return dir + name;
}

// A folder of this process under the temporary folder, made when missing.
inline std::wstring tempDir(const wchar_t* name) {
    std::wstring d = tempPath(name + std::to_wstring(GetCurrentProcessId()));
    CreateDirectoryW(d.c_str(), nullptr);
    return d;
}

// A whole file's bytes; "<none>" when it cannot be read.
inline std::string fileBytes(const std::wstring& p) {
    DWORD n = 0;
    char* b = readFileA(p.c_str(), &n);
    std::string s = b ? std::string(b, n) : "<none>";
    free(b);
    return s;
}

inline void writeBytes(const std::wstring& p, const std::string& bytes) {
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD d;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &d, nullptr);
    CloseHandle(h);
}

inline bool exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The test server's /bytes/<n> body: n bytes of a fixed pattern.
inline std::string pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) s[i] = char(i % 251 * 7 % 251);
    return s;
}

// The program's log written to a fresh file under the temporary folder while this lives.
struct TempLog {
    std::wstring path;
    explicit TempLog(const wchar_t* name) : path(tempPath(name)) {
        DeleteFileW(path.c_str());
        lstrcpynW(logPath, path.c_str(), MAX_PATH);
    }
    ~TempLog() {
        logPath[0] = 0;
        DeleteFileW(path.c_str());
    }
    std::string text() const { return fileBytes(path); }
};

// Pumps this thread's messages until one for w in [first, last] arrives; false after ms.
inline bool waitMsg(HWND w, UINT first, UINT last, MSG& m, DWORD ms = 20000) {
    for (DWORD end = GetTickCount() + ms; (int)(end - GetTickCount()) > 0;) {
        if (PeekMessageW(&m, w, first, last, PM_REMOVE)) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

// The window system as the program sets it up: scale 1, common controls, GDI+ and the fonts.
inline void uiUp() {
    hInst = GetModuleHandleW(nullptr);
    sc = 1.0;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    static ULONG_PTR tok;
    Gdiplus::GdiplusStartupInput in;
    if (!tok) Gdiplus::GdiplusStartup(&tok, &in, nullptr);
    if (!fSection) fSection = uiFont(L"Bahnschrift", 13, 600, true);
    if (!fSmall) fSmall = uiFont(L"Segoe UI", 12, 400);
}

// Answers each question dialog this thread opens, from a thread timer inside the dialog's own
// loop: the dialog's text (its first control) is added to dialogTexts, then onDialog acts once.
inline std::function<void(HWND)> onDialog;
inline std::vector<std::wstring> dialogTexts;

inline void CALLBACK dialogTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dlg = GetActiveWindow();
    wchar_t cls[32] = L"", text[512] = L"";
    GetClassNameW(dlg, cls, 32);
    if (lstrcmpW(cls, L"#32770") || GetPropW(dlg, L"zvSeen")) return;
    SetPropW(dlg, L"zvSeen", (HANDLE)1);
    GetWindowTextW(GetWindow(dlg, GW_CHILD), text, 512);
    dialogTexts.push_back(text);
    onDialog(dlg);
}

// Starts answering with act; KillTimer(nullptr, id) stops it.
inline UINT_PTR answerDialogs(std::function<void(HWND)> act) {
    onDialog = std::move(act);
    return SetTimer(nullptr, 0, 30, dialogTick);
}

// An answer that types text (when given) into the dialog's edit box and presses button.
inline std::function<void(HWND)> typeAndPress(const wchar_t* text, int button) {
    return [=](HWND d) {
        if (text) SetWindowTextW(GetDlgItem(d, 100), text);
        PostMessageW(d, WM_COMMAND, button, 0);
    };
}
