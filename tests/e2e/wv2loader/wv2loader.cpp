// A stand-in for the embedded browser's loader library, for the end-to-end tests: it exports the
// loader's one function and answers with a fake environment, controller, view and settings that
// display nothing and append every call they get, one line each in UTF-8, to wv2log.txt beside
// the library. Like the real one it answers through the caller's message loop, never inside the
// call. Every 200 ms it reads wv2cmd.txt beside it (then deletes it) for events of the page:
// "pantalla 1" / "pantalla 0" (an element enters or leaves full screen), "nueva <address>" (a
// link asks for a new window).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "player/wv2_win.h"

namespace {

wchar_t logPath[MAX_PATH], cmdPath[MAX_PATH];

void note(const char* fmt, ...) {
    char line[2048];
    va_list a;
    va_start(a, fmt);
    int n = vsnprintf(line, sizeof line - 2, fmt, a);
    va_end(a);
    if (n < 0) return;
    if (n > int(sizeof line) - 2) n = int(sizeof line) - 2;
    line[n++] = '\n';
    HANDLE f = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD done;
    WriteFile(f, line, DWORD(n), &done, nullptr);
    CloseHandle(f);
}

std::string utf8(const wchar_t* s) {
    if (!s) return "(ninguno)";
    char buf[2048];
    int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, buf, sizeof buf, nullptr, nullptr);
    return n > 0 ? std::string(buf) : std::string("?");
}

#define NOTIMPL(n) \
    HRESULT STDMETHODCALLTYPE slot##n() override { return E_NOTIMPL; }

template <class I>
struct Obj : I {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = this;
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }  // the fakes live for the whole run
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

struct Settings : Obj<IWvSettings> {
    NOTIMPL(3) NOTIMPL(4) NOTIMPL(5) NOTIMPL(6) NOTIMPL(7) NOTIMPL(8)
    HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* on) override { return *on = TRUE, S_OK; }
    HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL on) override { return note("barra %d", on), S_OK; }
    HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* on) override { return *on = TRUE, S_OK; }
    HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL on) override { return note("herramientas %d", on), S_OK; }
} settings;

struct NewWinArgs : Obj<IWvNewWinArgs> {
    std::wstring uri;
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* out) override {
        size_t bytes = (uri.size() + 1) * sizeof(wchar_t);
        *out = (LPWSTR)CoTaskMemAlloc(bytes);
        if (*out) memcpy(*out, uri.c_str(), bytes);
        return S_OK;
    }
    NOTIMPL(4) NOTIMPL(5)
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL h) override { return note("gestionada %d", h), S_OK; }
} newWinArgs;

struct View : Obj<IWvView3> {
    IWvNewWinHandler* newWin = nullptr;
    IWvFullScreenHandler* fullScreen = nullptr;
    BOOL full = FALSE;
    HRESULT STDMETHODCALLTYPE get_Settings(IWvSettings** s) override { return *s = &settings, S_OK; }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override { return note("navega %s", utf8(uri).c_str()), S_OK; }
    NOTIMPL(6) NOTIMPL(7) NOTIMPL(8) NOTIMPL(9) NOTIMPL(10) NOTIMPL(11) NOTIMPL(12) NOTIMPL(13) NOTIMPL(14)
    NOTIMPL(15) NOTIMPL(16) NOTIMPL(17) NOTIMPL(18) NOTIMPL(19) NOTIMPL(20) NOTIMPL(21) NOTIMPL(22) NOTIMPL(23)
    NOTIMPL(24) NOTIMPL(25) NOTIMPL(26) NOTIMPL(27) NOTIMPL(28) NOTIMPL(29) NOTIMPL(30) NOTIMPL(31) NOTIMPL(32)
    NOTIMPL(33) NOTIMPL(34) NOTIMPL(35) NOTIMPL(36) NOTIMPL(37) NOTIMPL(38) NOTIMPL(39) NOTIMPL(40) NOTIMPL(41)
    NOTIMPL(42) NOTIMPL(43)
    HRESULT STDMETHODCALLTYPE add_NewWindowRequested(IWvNewWinHandler* h, WvToken* t) override {
        newWin = h;
        if (t) t->value = 1;
        return note("evento nuevaventana"), S_OK;
    }
    NOTIMPL(45) NOTIMPL(46) NOTIMPL(47) NOTIMPL(48) NOTIMPL(49) NOTIMPL(50) NOTIMPL(51)
    HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(IWvFullScreenHandler* h, WvToken* t) override {
        fullScreen = h;
        if (t) t->value = 2;
        return note("evento pantallacompleta"), S_OK;
    }
    NOTIMPL(53)
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* f) override { return *f = full, S_OK; }
    NOTIMPL(55) NOTIMPL(56) NOTIMPL(57) NOTIMPL(58) NOTIMPL(59) NOTIMPL(60) NOTIMPL(61) NOTIMPL(62) NOTIMPL(63)
    NOTIMPL(64) NOTIMPL(65) NOTIMPL(66) NOTIMPL(67) NOTIMPL(68) NOTIMPL(69) NOTIMPL(70)
    HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(LPCWSTR host, LPCWSTR folder, int access) override {
        return note("carpeta %s %s %d", utf8(host).c_str(), utf8(folder).c_str(), access), S_OK;
    }
    NOTIMPL(72)
} view;

struct Ctrl : Obj<IWvCtrl2> {
    BOOL visible = TRUE;
    RECT bounds{};
    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* v) override { return *v = visible, S_OK; }
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL v) override { return visible = v, note("visible %d", v), S_OK; }
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* r) override { return *r = bounds, S_OK; }
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT r) override {
        bounds = r;
        return note("limites %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom), S_OK;
    }
    NOTIMPL(7) NOTIMPL(8) NOTIMPL(9) NOTIMPL(10) NOTIMPL(11) NOTIMPL(12) NOTIMPL(13) NOTIMPL(14) NOTIMPL(15)
    NOTIMPL(16) NOTIMPL(17) NOTIMPL(18) NOTIMPL(19) NOTIMPL(20) NOTIMPL(21) NOTIMPL(22) NOTIMPL(23)
    HRESULT STDMETHODCALLTYPE Close() override { return note("cierra"), S_OK; }
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(IWvView** v) override { return *v = &view, S_OK; }
    HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(WvColor* c) override { return *c = WvColor{255, 255, 255, 255}, S_OK; }
    HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(WvColor c) override {
        return note("fondo %d %d %d %d", c.A, c.R, c.G, c.B), S_OK;
    }
} ctrl;

IWvEnvDone* envDone;
IWvCtrlDone* ctrlDone;

void CALLBACK answerCtrl(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (ctrlDone) ctrlDone->Invoke(S_OK, &ctrl);
}

struct Env : Obj<IWvEnv> {
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(HWND parent, IWvCtrlDone* done) override {
        char cls[64] = "";
        GetClassNameA(parent, cls, sizeof cls);
        note("controlador %s", cls);
        ctrlDone = done;
        SetTimer(nullptr, 0, 100, answerCtrl);
        return S_OK;
    }
} env;

void CALLBACK answerEnv(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (envDone) envDone->Invoke(S_OK, &env);
}

// The page's events, asked for by the test through wv2cmd.txt.
void CALLBACK readCommands(HWND, UINT, UINT_PTR, DWORD) {
    HANDLE f = CreateFileW(cmdPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    char buf[1024];
    DWORD n = 0;
    ReadFile(f, buf, sizeof buf - 1, &n, nullptr);
    CloseHandle(f);
    DeleteFileW(cmdPath);
    buf[n] = 0;
    while (n && (buf[n - 1] == '\n' || buf[n - 1] == '\r' || buf[n - 1] == ' ')) buf[--n] = 0;
    if (!strncmp(buf, "pantalla ", 9) && view.fullScreen) {
        view.full = buf[9] == '1';
        note("pagina pantalla %d", view.full);
        view.fullScreen->Invoke(&view, nullptr);
    } else if (!strncmp(buf, "nueva ", 6) && view.newWin) {
        wchar_t w[1024];
        MultiByteToWideChar(CP_UTF8, 0, buf + 6, -1, w, 1024);
        newWinArgs.uri = w;
        note("pagina nueva %s", buf + 6);
        view.newWin->Invoke(&view, &newWinArgs);
    }
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    LPCWSTR browserFolder, LPCWSTR userDataFolder, IUnknown* options, IWvEnvDone* done) {
    note("crear %s %s %s", utf8(browserFolder).c_str(), utf8(userDataFolder).c_str(), options ? "opciones" : "-");
    if (!done) return E_POINTER;
    envDone = done;
    SetTimer(nullptr, 0, 100, answerEnv);
    SetTimer(nullptr, 0, 200, readCommands);
    return S_OK;
}

BOOL WINAPI DllMain(HINSTANCE h, DWORD why, LPVOID) {
    if (why == DLL_PROCESS_ATTACH) {
        wchar_t dir[MAX_PATH];
        DWORD n = GetModuleFileNameW(h, dir, MAX_PATH);
        while (n && dir[n - 1] != L'\\') n--;
        dir[n] = 0;
        swprintf(logPath, MAX_PATH, L"%lswv2log.txt", dir);
        swprintf(cmdPath, MAX_PATH, L"%lswv2cmd.txt", dir);
    }
    return TRUE;
}
