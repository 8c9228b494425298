// The shared widgets on a real window system: the owner-drawn buttons' state and the check box
// as painted, the tool-window maker with and without the window manager's dark title, what only
// the question dialog's controls show, capture exclusion and symbol fonts. The colour and
// trimming rules are the core's tests; the painted windows are seen in the end-to-end tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "widgets/look.h"
#include "widgets/widgets_win.h"
#include "winutil.h"

namespace {

struct Widgets : ::testing::Test {
    static void SetUpTestSuite() { uiUp(); }
};

// The accent pixels of an owner-drawn button of w x h with the given id and state, as painted.
int accentPixels(int id, UINT state, const wchar_t* text = L"Aceptar", int w = 120, int h = 34) {
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    HWND b = CreateWindowExW(0, L"BUTTON", text, BS_OWNERDRAW, 0, 0, w, h, nullptr, nullptr, hInst, nullptr);
    DRAWITEMSTRUCT dis{ODT_BUTTON, UINT(id), 0, ODA_DRAWENTIRE, state, b, dc, RECT{0, 0, w, h}, 0};
    drawButton(&dis);
    DestroyWindow(b);
    int n = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) n += GetPixel(dc, x, y) == COL_ACCENT;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return n;
}

int ask(wchar_t* buf, int cancel, std::function<void(HWND)> act) {
    UINT_PTR t = answerDialogs(std::move(act));
    int r = darkAsk(nullptr, L"¿Seguro?", buf, cancel);
    KillTimer(nullptr, t);
    return r;
}

}  // namespace

// The primary button is orange unless disabled; the secondary one never is; the check box is
// orange only while the hide-old flag is on.
TEST_F(Widgets, ButtonsPaintTheirState) {
    EXPECT_GT(accentPixels(308, 0), 120 * 34 / 2);
    EXPECT_EQ(accentPixels(308, ODS_DISABLED) + accentPixels(306, 0) + accentPixels(306, ODS_SELECTED), 0);
    for (int on : {1, 0}) {
        hideOld = on;
        EXPECT_EQ(accentPixels(313, 0, L"Ocultar lo antiguo", 200, 30) > 0, on == 1);
    }
    hideOld = 0;
}

// Cancel keeps the old text; the edit box holds ASK_EDIT_LIMIT characters; a notice has no edit
// box and no Cancel button and its close box answers 0; a second question while one is open is
// answered at once with 0.
TEST_F(Widgets, QuestionDialogThroughItsControls) {
    int limit = 0;
    bool extras = true;  // an edit box or a Cancel button
    wchar_t buf[ASK_BUF] = L"x";
    EXPECT_EQ(ask(buf, 1, [&](HWND d) {
                  limit = (int)SendMessageW(GetDlgItem(d, 100), EM_GETLIMITTEXT, 0, 0);
                  typeAndPress(L"  otra  ", IDCANCEL)(d);
              }),
              0);
    EXPECT_STREQ(buf, L"x");
    EXPECT_EQ(limit, ASK_EDIT_LIMIT);
    EXPECT_EQ(ask(nullptr, 0, [&](HWND d) {
                  extras = GetDlgItem(d, IDCANCEL) || GetDlgItem(d, 100);
                  PostMessageW(d, WM_CLOSE, 0, 0);
              }),
              0);
    EXPECT_FALSE(extras);
    int inner = -1;
    EXPECT_EQ(ask(nullptr, 1, [&](HWND d) {
                  inner = darkAsk(d, L"otra", nullptr, 0);
                  PostMessageW(d, WM_COMMAND, IDOK, 0);
              }),
              1);
    EXPECT_EQ(inner, 0);
}

TEST_F(Widgets, ToolWindowWithAndWithoutTheWindowManager) {
    for (const wchar_t* lib : {L"dwmapi.dll", L"sin-dwm-zv.dll"}) {
        dwmLibrary = lib;
        HWND w = mkWindow(L"ZvTestTool", DefWindowProcW, L"Prueba", 300, 200);
        ASSERT_TRUE(w) << lib;
        EXPECT_FALSE(IsWindowVisible(w));
        RECT rc;
        GetClientRect(w, &rc);
        EXPECT_EQ(std::make_pair(rc.right, rc.bottom), std::make_pair(300L, 200L));
        if (lib[0] == L's') EXPECT_EQ(darkTitle(w), 0);
        DestroyWindow(w);
    }
    dwmLibrary = L"dwmapi.dll";
}

TEST_F(Widgets, CaptureExclusionReportsWhatTheSystemDid) {
    HWND w = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             hInst, nullptr);
    ASSERT_TRUE(w);
    typedef BOOL(WINAPI * GetFn)(HWND, DWORD*);
    GetFn get = (GetFn)(void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetWindowDisplayAffinity");
    ASSERT_TRUE(get);
    for (int on : {1, 0, 1}) {
        int r = captureExclude(w, on);
        DWORD got = 99;
        ASSERT_TRUE(get(w, &got));
        // the answer is what the window has: never "done" while the system kept it in captures
        EXPECT_EQ(r, got == (on ? 0x11u : 0u)) << on;
    }
    EXPECT_EQ(captureExclude(nullptr, 1), 0);
    DestroyWindow(w);
}

// Button and count texts carry symbols (the obtained check mark, the live dot) that a narrow
// stand-in face may lack: they come from the plain face then, and plain text keeps its face.
TEST_F(Widgets, SymbolsComeFromAFaceThatHasThem) {
    HFONT narrow = uiFont(L"Bahnschrift", 13, 600, true), plain = uiFont(L"Segoe UI", 13, 600);
    for (const wchar_t* sym : {L"\u2713", L"\u25CF", L"\u00F1\u00AB\u00BB"}) {
        std::wstring text = std::wstring(sym) + L" Conseguida 3";
        HFONT f = fontHaving(narrow, plain, text.c_str());
        EXPECT_TRUE(hasGlyphs(f, sym)) << text;
        if (hasGlyphs(narrow, sym)) EXPECT_EQ(f, narrow) << text;
    }
    EXPECT_EQ(fontHaving(narrow, plain, L"1/3"), narrow);
    EXPECT_EQ(fontHaving(narrow, nullptr, L"\u25CF"), narrow);
    DeleteObject(narrow);
    DeleteObject(plain);
}
