// The browser host. WebView2 calls the handlers below on the thread that created the
// environment, the window thread, so the host's state needs no lock. The handlers are static
// objects that live for the whole run: AddRef and Release do nothing.
#include "player/wvhost_win.h"

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "base/utf.h"
#include "player/wv2_win.h"

WvHost wv;
RECT wvBounds;
int wvVisible;
void (*wvOnFullScreen)(int on);

namespace {

HWND wvParent;
IWvCtrl* wvController;
IWvView* wvView;
wchar_t wvWebDir[MAX_PATH];

void wvFail(const wchar_t* why, HRESULT hr) {
    logLine(L"Reproductor: %ls (0x%08lX); se ofrece el navegador del sistema", why, (unsigned long)hr);
    wvFailed(wv);
    if (wvParent) PostMessageW(wvParent, WM_ZV_WVREADY, 0, 0);
}

// IUnknown of the static handlers: every interface is the object itself, nothing is counted.
template <class I>
struct StaticHandler : I {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

struct NewWinHandler : StaticHandler<IWvNewWinHandler> {
    // A link that asks for a new window opens in the player itself.
    HRESULT STDMETHODCALLTYPE Invoke(IWvView*, IWvNewWinArgs* args) override {
        if (!args) return S_OK;
        LPWSTR uri = nullptr;
        args->get_Uri(&uri);
        args->put_Handled(TRUE);
        if (uri) {
            if (wvView) wvView->Navigate(uri);
            CoTaskMemFree(uri);
        }
        return S_OK;
    }
} newWinHandler;

struct FullScreenHandler : StaticHandler<IWvFullScreenHandler> {
    HRESULT STDMETHODCALLTYPE Invoke(IWvView* sender, IUnknown*) override {
        BOOL full = FALSE;
        if (sender) sender->get_ContainsFullScreenElement(&full);
        if (wvOnFullScreen) wvOnFullScreen(full ? 1 : 0);
        return S_OK;
    }
} fsHandler;

struct CtrlHandler : StaticHandler<IWvCtrlDone> {
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT result, IWvCtrl* ctrl) override {
        if (FAILED(result) || !ctrl) {
            wvFail(L"no se pudo crear el control del navegador", result);
            return S_OK;
        }
        wvController = ctrl;
        ctrl->AddRef();
        ctrl->get_CoreWebView2(&wvView);
        IWvCtrl2* c2 = nullptr;
        if (SUCCEEDED(ctrl->QueryInterface(IID_Ctrl2, (void**)&c2)) && c2) {
            c2->put_DefaultBackgroundColor(WvColor{255, 13, 15, 17});
            c2->Release();
        }
        if (wvView) {
            IWvSettings* s = nullptr;
            if (SUCCEEDED(wvView->get_Settings(&s)) && s) {
                s->put_IsStatusBarEnabled(FALSE);
                s->put_AreDevToolsEnabled(FALSE);
                s->Release();
            }
            WvToken token;
            wvView->add_NewWindowRequested(&newWinHandler, &token);
            wvView->add_ContainsFullScreenElementChanged(&fsHandler, &token);
            IWvView3* v3 = nullptr;
            if (wvWebDir[0] && SUCCEEDED(wvView->QueryInterface(IID_View3, (void**)&v3)) && v3) {
                v3->SetVirtualHostNameToFolderMapping(W(u8w(WV_HOST).c_str()), wvWebDir, WV2_HOST_ACCESS_ALLOW);
                v3->Release();
            }
        }
        std::u16string go;
        int pending = wvReady(wv, &go);
        wvApplyBounds();
        if (pending && wvView) wvView->Navigate(W(go.c_str()));
        logLine(L"Reproductor: navegador integrado listo");
        if (wvParent) PostMessageW(wvParent, WM_ZV_WVREADY, 0, 0);
        return S_OK;
    }
} ctrlHandler;

struct EnvHandler : StaticHandler<IWvEnvDone> {
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT result, IWvEnv* env) override {
        HRESULT hr = result;
        if (SUCCEEDED(result) && env) hr = env->CreateCoreWebView2Controller(wvParent, &ctrlHandler);
        else if (SUCCEEDED(hr)) hr = E_POINTER;
        if (FAILED(hr)) wvFail(L"no se pudo crear el entorno del navegador", hr);
        return S_OK;
    }
} envHandler;

void writePage() {
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\player.html", wvWebDir);
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;  // the browser then shows its own error page
    const std::string& page = playerPage();
    DWORD done = 0;
    WriteFile(f, page.data(), DWORD(page.size()), &done, nullptr);
    CloseHandle(f);
}

// The loader the program carries (resource 900) goes next to the settings when the file there is
// missing or of another size. A build without it uses whatever loader file is there.
void writeLoader(const wchar_t* path) {
    HRSRC r = FindResourceW(hInst, MAKEINTRESOURCEW(900), RT_RCDATA);
    if (!r) return;
    DWORD size = SizeofResource(hInst, r);
    HGLOBAL g = LoadResource(hInst, r);
    const void* bytes = g ? LockResource(g) : nullptr;
    if (!bytes || !size) return;
    WIN32_FILE_ATTRIBUTE_DATA fa;
    int exists = GetFileAttributesExW(path, GetFileExInfoStandard, &fa);
    unsigned long long have = exists ? ((unsigned long long)fa.nFileSizeHigh << 32) | fa.nFileSizeLow : 0;
    if (!wvLoaderStale(exists, have, size)) return;
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD done = 0;
    WriteFile(f, bytes, size, &done, nullptr);
    CloseHandle(f);
}

// Without a loader file, the installed runtime is found the way other hosts find it: its version
// folder in the updater's registry record (machine-wide first, then the user's), and its browser
// library's internal entry point, which takes the same completion handler. Any step missing: 0.
typedef HRESULT(STDMETHODCALLTYPE* WvCreateInternalFn)(bool, int runtimeKind, LPCWSTR userDataFolder, IUnknown* options,
                                                       IWvEnvDone* handler);
WvCreateInternalFn runtimeEntry() {
    const wchar_t* key = L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        wchar_t dir[MAX_PATH];
        DWORD size = sizeof dir;
        if (RegGetValueW(root, key, L"EBWebView", RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, dir, &size) !=
            ERROR_SUCCESS)
            continue;
        wchar_t dll[MAX_PATH + 64];
        swprintf(dll, MAX_PATH + 64, L"%ls\\EBWebView\\x64\\EmbeddedBrowserWebView.dll", dir);
        HMODULE m = LoadLibraryExW(dll, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!m) continue;
        if (auto f = (WvCreateInternalFn)(void*)GetProcAddress(m, "CreateWebViewEnvironmentWithOptionsInternal")) return f;
    }
    return nullptr;
}

}  // namespace

void wvStart(HWND parent) {
    CreateDirectoryW(progDir, nullptr);
    swprintf(wvWebDir, MAX_PATH, L"%ls\\web", progDir);
    CreateDirectoryW(wvWebDir, nullptr);
    writePage();
    if (wv.state != WV_IDLE) return;  // the control exists or is on its way
    wvParent = parent;
    if (wvDisabled) return wvFail(L"navegador integrado desactivado", S_OK);
    wv.state = WV_CREATING;
    wchar_t loader[MAX_PATH], data[MAX_PATH];
    swprintf(loader, MAX_PATH, L"%ls\\WebView2Loader.dll", progDir);
    swprintf(data, MAX_PATH, L"%ls\\visor", progDir);
    writeLoader(loader);
    HMODULE dll = LoadLibraryW(loader);
    HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
    auto create = dll ? (WvCreateEnvFn)(void*)GetProcAddress(dll, "CreateCoreWebView2EnvironmentWithOptions") : nullptr;
    if (create) {
        hr = create(nullptr, data, nullptr, &envHandler);
    } else if (WvCreateInternalFn internal = runtimeEntry()) {
        hr = internal(true, 0, data, nullptr, &envHandler);
    } else {
        return wvFail(dll ? L"WebView2Loader.dll no sirve y no se encuentra WebView2"
                          : L"no se pudo cargar WebView2Loader.dll ni se encuentra WebView2",
                      dll ? E_NOINTERFACE : hr);
    }
    if (FAILED(hr)) wvFail(L"WebView2 no está disponible", hr);
}

void wvNavigate(const wchar_t* url) {
    if (wvRequest(wv, U(url)) && wvView) wvView->Navigate(url);
}

void wvApplyBounds() {
    if (!wvController) return;
    wvController->put_Bounds(wvBounds);
    wvController->put_IsVisible(wvVisible ? TRUE : FALSE);
}
