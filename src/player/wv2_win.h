// The few interfaces of the embedded browser (WebView2) that the player uses, declared from their
// published binary layout: each is a COM interface whose methods sit at fixed slots of its
// virtual table, 0 to 2 being IUnknown's. Methods the player never calls are kept as numbered
// placeholders so that the ones it calls land on their slots. The stand-in loader of the tests
// implements the same declarations.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <cstdint>

#define WV2_SLOT(n) virtual HRESULT STDMETHODCALLTYPE slot##n() = 0;

struct WvToken {
    int64_t value;
};
struct WvColor {
    BYTE A, R, G, B;
};
constexpr int WV2_HOST_ACCESS_ALLOW = 1;

// {B96D755E-0319-4E92-A296-23436F46A1FC} and the others below, as published.
constexpr GUID IID_WvEnv = {0xB96D755E, 0x0319, 0x4E92, {0xA2, 0x96, 0x23, 0x43, 0x6F, 0x46, 0xA1, 0xFC}};
constexpr GUID IID_WvCtrl = {0x4D00C0D1, 0x9434, 0x4EB6, {0x80, 0x78, 0x86, 0x97, 0xA5, 0x60, 0x33, 0x4F}};
constexpr GUID IID_Ctrl2 = {0xC979903E, 0xD4CA, 0x4228, {0x92, 0xEB, 0x47, 0xEE, 0x3F, 0xA9, 0x6E, 0xAB}};
constexpr GUID IID_WvView = {0x76ECEACB, 0x0462, 0x4D94, {0xAC, 0x83, 0x42, 0x3A, 0x67, 0x93, 0x77, 0x5E}};
constexpr GUID IID_View3 = {0xA0D6DF20, 0x3B92, 0x416D, {0xAA, 0x0C, 0x43, 0x7A, 0x9C, 0x72, 0x78, 0x57}};
constexpr GUID IID_WvSettings = {0xE562E4F0, 0xD7FA, 0x43AC, {0x8D, 0x71, 0xC0, 0x51, 0x50, 0x49, 0x9F, 0x00}};

struct IWvEnv;
struct IWvCtrl;
struct IWvView;
struct IWvSettings;
struct IWvNewWinArgs;

// The completion and event handlers (Invoke at slot 3).
struct IWvEnvDone : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT result, IWvEnv* env) = 0;
};
struct IWvCtrlDone : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT result, IWvCtrl* ctrl) = 0;
};
struct IWvNewWinHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IWvView* sender, IWvNewWinArgs* args) = 0;
};
struct IWvFullScreenHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IWvView* sender, IUnknown* args) = 0;
};

// ICoreWebView2Environment
struct IWvEnv : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(HWND parent, IWvCtrlDone* handler) = 0;
};

// ICoreWebView2Controller, and ICoreWebView2Controller2 after it
struct IWvCtrl : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* visible) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL visible) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;
    WV2_SLOT(7) WV2_SLOT(8) WV2_SLOT(9) WV2_SLOT(10) WV2_SLOT(11) WV2_SLOT(12) WV2_SLOT(13) WV2_SLOT(14)
    WV2_SLOT(15) WV2_SLOT(16) WV2_SLOT(17) WV2_SLOT(18) WV2_SLOT(19) WV2_SLOT(20) WV2_SLOT(21) WV2_SLOT(22)
    WV2_SLOT(23)
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(IWvView** view) = 0;
};
struct IWvCtrl2 : IWvCtrl {
    virtual HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(WvColor* colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(WvColor colour) = 0;
};

// ICoreWebView2 (58 methods), ICoreWebView2_2 (7 more) and ICoreWebView2_3
struct IWvView : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Settings(IWvSettings** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;
    WV2_SLOT(6) WV2_SLOT(7) WV2_SLOT(8) WV2_SLOT(9) WV2_SLOT(10) WV2_SLOT(11) WV2_SLOT(12) WV2_SLOT(13)
    WV2_SLOT(14) WV2_SLOT(15) WV2_SLOT(16) WV2_SLOT(17) WV2_SLOT(18) WV2_SLOT(19) WV2_SLOT(20) WV2_SLOT(21)
    WV2_SLOT(22) WV2_SLOT(23) WV2_SLOT(24) WV2_SLOT(25) WV2_SLOT(26) WV2_SLOT(27) WV2_SLOT(28) WV2_SLOT(29)
    WV2_SLOT(30) WV2_SLOT(31) WV2_SLOT(32) WV2_SLOT(33) WV2_SLOT(34) WV2_SLOT(35) WV2_SLOT(36) WV2_SLOT(37)
    WV2_SLOT(38) WV2_SLOT(39) WV2_SLOT(40) WV2_SLOT(41) WV2_SLOT(42) WV2_SLOT(43)
    virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(IWvNewWinHandler* handler, WvToken* token) = 0;
    WV2_SLOT(45) WV2_SLOT(46) WV2_SLOT(47) WV2_SLOT(48) WV2_SLOT(49) WV2_SLOT(50) WV2_SLOT(51)
    virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(IWvFullScreenHandler* handler,
                                                                           WvToken* token) = 0;
    WV2_SLOT(53)
    virtual HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* full) = 0;
    WV2_SLOT(55) WV2_SLOT(56) WV2_SLOT(57) WV2_SLOT(58) WV2_SLOT(59) WV2_SLOT(60)
};
struct IWvView3 : IWvView {
    WV2_SLOT(61) WV2_SLOT(62) WV2_SLOT(63) WV2_SLOT(64) WV2_SLOT(65) WV2_SLOT(66) WV2_SLOT(67)
    WV2_SLOT(68) WV2_SLOT(69) WV2_SLOT(70)
    virtual HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(LPCWSTR host, LPCWSTR folder, int access) = 0;
    WV2_SLOT(72)
};

// ICoreWebView2Settings
struct IWvSettings : IUnknown {
    WV2_SLOT(3) WV2_SLOT(4) WV2_SLOT(5) WV2_SLOT(6) WV2_SLOT(7) WV2_SLOT(8)
    virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL on) = 0;
};

// ICoreWebView2NewWindowRequestedEventArgs
struct IWvNewWinArgs : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;  // freed with CoTaskMemFree
    WV2_SLOT(4) WV2_SLOT(5)
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
};

// The loader's one export, CreateCoreWebView2EnvironmentWithOptions.
typedef HRESULT(STDMETHODCALLTYPE* WvCreateEnvFn)(LPCWSTR browserFolder, LPCWSTR userDataFolder, IUnknown* options,
                                                  IWvEnvDone* handler);
