// A small helper for the end-to-end tests, run beside the program under the same Wine server:
//   probe.exe post MSG WPARAM LPARAM OUT   posts a message to the overlay window (as the tray icon
//                                         or a menu would) and writes "ok" or "none" to OUT
//   probe.exe mem OUT                     writes "private working-set" bytes of Zenvoral.exe to OUT
//   probe.exe settext TITLE ID TEXT OUT   puts TEXT into control ID of the dialog (or window) titled
//                                         TITLE (or whose title starts with it), as an input method
//                                         would commit it; "ok" or "none"
//   probe.exe gettext CLASS ID OUT        writes the text of control ID of the window of class CLASS
//                                         to OUT in UTF-8, as the control holds it; "none" when missing
//   probe.exe burst N OUT                 N saves in a row, as a player dragging the overlay around and
//                                         switching compact mode would cause; "ok" when all were sent
//   probe.exe start FILE OUT              starts the command line written (UTF-8) in FILE exactly as
//                                         written, which argument lists cannot do; "ok" or "none"
//   probe.exe dialog OUT                  writes the texts of the program's open question dialog (one
//                                         line per text control) to OUT in UTF-8, or "none"
//   probe.exe clipget OUT                 writes the clipboard's Unicode text to OUT in UTF-8 ("" when
//                                         there is none)
//   probe.exe clipset FILE OUT            puts the UTF-8 text of FILE on the clipboard; "ok" or "none"
// Numbers may be decimal or 0x hex. Results go to a file: a GUI program's standard output is not
// reliably the shell's under Wine.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

static void put(const wchar_t* path, const char* text) {
    FILE* f = _wfopen(path, L"wb");
    if (!f) return;
    fputs(text, f);
    fclose(f);
}

static DWORD programPid() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    DWORD pid = 0;
    for (BOOL ok = Process32FirstW(snap, &e); ok && !pid; ok = Process32NextW(snap, &e))
        if (!_wcsicmp(e.szExeFile, L"Zenvoral.exe")) pid = e.th32ProcessID;
    CloseHandle(snap);
    return pid;
}

struct Prefix {
    const wchar_t* text;
    HWND found;
};

static BOOL CALLBACK byPrefix(HWND w, LPARAM lp) {
    auto* p = (Prefix*)lp;
    wchar_t t[256];
    if (!IsWindowVisible(w) || !GetWindowTextW(w, t, 256) || wcsncmp(t, p->text, wcslen(p->text))) return TRUE;
    p->found = w;
    return FALSE;
}

// The program's dialog titled title, else a window with that title, else a visible window whose
// title starts with it.
static HWND findTitled(const wchar_t* title) {
    HWND d = FindWindowW(L"#32770", title);
    if (!d) d = FindWindowW(nullptr, title);
    if (!d) {
        Prefix p{title, nullptr};
        EnumWindows(byPrefix, (LPARAM)&p);
        d = p.found;
    }
    return d;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 6 && !wcscmp(argv[1], L"post")) {
        HWND h = FindWindowW(L"Zenvoral", L"Zenvoral");
        UINT msg = wcstoul(argv[2], nullptr, 0);
        WPARAM wp = wcstoull(argv[3], nullptr, 0);
        LPARAM lp = (LPARAM)wcstoll(argv[4], nullptr, 0);
        put(argv[5], h && PostMessageW(h, msg, wp, lp) ? "ok" : "none");
        return h ? 0 : 1;
    }
    if (argc == 6 && !wcscmp(argv[1], L"settext")) {
        HWND d = findTitled(argv[2]);
        HWND c = d ? GetDlgItem(d, (int)wcstol(argv[3], nullptr, 0)) : nullptr;
        put(argv[5], c && SendMessageW(c, WM_SETTEXT, 0, (LPARAM)argv[4]) ? "ok" : "none");
        return c ? 0 : 1;
    }
    if (argc == 5 && !wcscmp(argv[1], L"gettext")) {
        HWND d = FindWindowW(argv[2], nullptr);
        HWND c = d ? GetDlgItem(d, (int)wcstol(argv[3], nullptr, 0)) : nullptr;
        if (!c) {
            put(argv[4], "none");
            return 1;
        }
        wchar_t text[512] = L"";
        SendMessageW(c, WM_GETTEXT, 512, (LPARAM)text);  // the control's own text, across processes
        char utf8[1536] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        put(argv[4], utf8);
        return 0;
    }
    if (argc == 3 && !wcscmp(argv[1], L"mem")) {
        DWORD pid = programPid();
        HANDLE p = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
        PROCESS_MEMORY_COUNTERS_EX pm{};
        pm.cb = sizeof pm;
        if (!p || !GetProcessMemoryInfo(p, (PROCESS_MEMORY_COUNTERS*)&pm, sizeof pm)) {
            put(argv[2], "none");
            return 1;
        }
        char out[64];
        snprintf(out, sizeof out, "%llu %llu", (unsigned long long)pm.PrivateUsage,
                 (unsigned long long)pm.WorkingSetSize);
        put(argv[2], out);
        CloseHandle(p);
        return 0;
    }
    if (argc == 4 && !wcscmp(argv[1], L"burst")) {
        HWND h = FindWindowW(L"Zenvoral", L"Zenvoral");
        int n = _wtoi(argv[2]);
        bool ok = h != nullptr;
        for (int i = 0; ok && i < n; i++) {
            // a new position, then the end of the move: the overlay stores where it is
            SetWindowPos(h, nullptr, 20 + (i * 7) % 400, 20 + (i * 13) % 300, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ok = PostMessageW(h, WM_EXITSIZEMOVE, 0, 0) != 0;
            if (i % 4 == 3) PostMessageW(h, WM_COMMAND, 112, 0);  // compact mode on or off
            Sleep(3);
        }
        put(argv[3], ok ? "ok" : "none");
        return ok ? 0 : 1;
    }
    if (argc == 4 && !wcscmp(argv[1], L"start")) {
        char buf[4096] = "";
        FILE* f = _wfopen(argv[2], L"rb");
        size_t n = f ? fread(buf, 1, sizeof buf - 1, f) : 0;
        if (f) fclose(f);
        buf[n] = 0;
        wchar_t cmd[4096];
        MultiByteToWideChar(CP_UTF8, 0, buf, -1, cmd, 4096);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        BOOL ok = n && CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        if (ok) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        put(argv[3], ok ? "ok" : "none");
        return ok ? 0 : 1;
    }
    if (argc == 3 && !wcscmp(argv[1], L"dialog")) {
        HWND d = FindWindowW(L"#32770", L"Zenvoral");
        if (!d || !IsWindowVisible(d)) {
            put(argv[2], "none");
            return 1;
        }
        std::string out;
        for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[32], text[2048];
            GetClassNameW(c, cls, 32);
            if (_wcsicmp(cls, L"Static") || !GetWindowTextW(c, text, 2048)) continue;
            char u8[8192];
            if (WideCharToMultiByte(CP_UTF8, 0, text, -1, u8, sizeof u8, nullptr, nullptr)) out += u8, out += "\n";
        }
        put(argv[2], out.c_str());
        return 0;
    }
    if (argc == 3 && !wcscmp(argv[1], L"clipget")) {
        std::string out;
        if (OpenClipboard(nullptr)) {
            if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
                if (auto* p = (const wchar_t*)GlobalLock(h)) {
                    int n = WideCharToMultiByte(CP_UTF8, 0, p, -1, nullptr, 0, nullptr, nullptr);
                    if (n > 1) {
                        out.resize(size_t(n));
                        WideCharToMultiByte(CP_UTF8, 0, p, -1, out.data(), n, nullptr, nullptr);
                        out.resize(size_t(n - 1));
                    }
                    GlobalUnlock(h);
                }
            }
            CloseClipboard();
        }
        put(argv[2], out.c_str());
        return 0;
    }
    if (argc == 4 && !wcscmp(argv[1], L"clipset")) {
        std::string buf;
        if (FILE* f = _wfopen(argv[2], L"rb")) {
            char chunk[4096];
            for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) buf.append(chunk, n);
            fclose(f);
        }
        int n = MultiByteToWideChar(CP_UTF8, 0, buf.c_str(), -1, nullptr, 0);
        bool ok = false;
        HGLOBAL g = n > 0 ? GlobalAlloc(GMEM_MOVEABLE, size_t(n) * sizeof(wchar_t)) : nullptr;
        // an owner window: with none, the data may not be taken
        HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (g && OpenClipboard(owner)) {
            if (auto* p = (wchar_t*)GlobalLock(g)) {
                MultiByteToWideChar(CP_UTF8, 0, buf.c_str(), -1, p, n);
                GlobalUnlock(g);
                ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, g);
            }
            CloseClipboard();
        }
        if (g && !ok) GlobalFree(g);
        if (owner) DestroyWindow(owner);
        put(argv[3], ok ? "ok" : "none");
        return ok ? 0 : 1;
    }
    return 2;
}
