#include "app/handoff_win.h"

#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "builds/builds.h"
#include "builds/share.h"
#include "library/db.h"
#include "library/libwin_win.h"

namespace {

const wchar_t* const CLASS = L"ZenvoralCodigo";
constexpr ULONG_PTR TAG = 0x5A564231;  // "ZVB1": a build code
constexpr DWORD MAX_BYTES = SHARE_MESSAGE_MAX * 2;

LRESULT CALLBACK CodeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COPYDATA) {
        auto* cd = (const COPYDATASTRUCT*)lp;
        if (!cd || cd->dwData != TAG || !cd->lpData || cd->cbData > MAX_BYTES) return FALSE;
        // the data lives only during this call, and the sender waits: copy and answer at once
        auto* text = new std::wstring((const wchar_t*)cd->lpData, cd->cbData / sizeof(wchar_t));
        if (!PostMessageW(w, WM_ZV_BUILDCODE, 0, (LPARAM)text)) {
            delete text;
            return FALSE;
        }
        return TRUE;
    }
    if (m == WM_ZV_BUILDCODE) {
        auto* text = (std::wstring*)lp;
        importBuildCode(text->c_str());
        delete text;
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

}  // namespace

int handOffBuildCode(const wchar_t* text) {
    COPYDATASTRUCT cd{TAG, DWORD(wcslen(text) * sizeof(wchar_t)), (void*)text};
    if (cd.cbData > MAX_BYTES) return 0;
    for (int i = 0; i < 50; i++) {  // the running copy may still be starting
        HWND w = FindWindowExW(HWND_MESSAGE, nullptr, CLASS, nullptr);
        DWORD_PTR took = 0;
        if (w) return SendMessageTimeoutW(w, WM_COPYDATA, 0, (LPARAM)&cd, SMTO_ABORTIFHUNG, 5000, &took) && took == TRUE;
        Sleep(100);
    }
    return 0;
}

void handOffListen() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CodeProc;
    wc.hInstance = hInst;
    wc.lpszClassName = CLASS;
    RegisterClassW(&wc);
    CreateWindowExW(0, CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, hInst, nullptr);
}

void importBuildCode(const wchar_t* text) {
    if (!dbDone) dbInit(gStore);  // the database hands its entry keys to the builds and loads them
    ImportResult r;
    int o = buildImportText(*gStore, U(text), r);
    if (o == IMPORT_DONE) {
        logLine(L"Build importada: «%ls», %d piezas, %d desconocidas", W(r.name.c_str()), r.matched, r.unknown);
        libBuildsChanged();  // an open library shows the new current build
    } else if (o == IMPORT_FULL)
        logLine(L"Build no importada: ya hay %d builds", MAX_BUILDS);
    else
        logLine(L"Build no importada: no hay ningún código válido");
    std::u16string msg = importMessage(r);
    if (!msg.empty()) balloon(L"Zenvoral", W(msg.c_str()), 0);
}
