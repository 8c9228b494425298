// A small helper for the end-to-end tests, run beside the program under the same Wine server:
//   probe.exe post MSG WPARAM LPARAM OUT   posts a message to the overlay window (as the tray icon
//                                         or a menu would) and writes "ok" or "none" to OUT
//   probe.exe mem OUT                     writes "private working-set" bytes of Zenvoral.exe to OUT
//   probe.exe settext TITLE ID TEXT OUT   puts TEXT into control ID of the dialog titled TITLE, as
//                                         an input method would commit it; "ok" or "none"
// Numbers may be decimal or 0x hex. Results go to a file: a GUI program's standard output is not
// reliably the shell's under Wine.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

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
        HWND d = FindWindowW(L"#32770", argv[2]);
        HWND c = d ? GetDlgItem(d, (int)wcstol(argv[3], nullptr, 0)) : nullptr;
        put(argv[5], c && SendMessageW(c, WM_SETTEXT, 0, (LPARAM)argv[4]) ? "ok" : "none");
        return c ? 0 : 1;
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
    return 2;
}
