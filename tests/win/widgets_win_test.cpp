// The shared widgets on a real window system: button pixels per look and state, glyphs, the
// dark header, the tool-window maker with and without the window manager's dark title, and
// the question dialog driven through its own controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <functional>
#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "widgets/look.h"
#include "widgets/widgets_win.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// A 32-bit bitmap selected into a memory DC; pixels read back as COLORREF.
struct Canvas {
    int w, h;
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    DWORD* bits = nullptr;
    Canvas(int w_, int h_) : w(w_), h(h_) {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        RECT r{0, 0, w, h};
        FillRect(dc, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y) const {
        GdiFlush();
        DWORD p = bits[y * w + x];
        return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
    }
    int count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) n += at(x, y) == c;
        return n;
    }
};

struct Widgets : ::testing::Test {
    static void SetUpTestSuite() {
        hInst = GetModuleHandleW(nullptr);
        sc = 1.0;
        static ULONG_PTR tok;
        GdiplusStartupInput in;
        GdiplusStartup(&tok, &in, nullptr);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        if (!fSection) fSection = uiFont(L"Bahnschrift", 13, 600, true);
        if (!fSmall) fSmall = uiFont(L"Segoe UI", 12, 400);
    }
};

// Paints a 120 x 34 owner-drawn button with the given id and state into a canvas.
void paintButton(Canvas& c, int id, UINT state, const wchar_t* text = L"Aceptar") {
    HWND b = CreateWindowExW(0, L"BUTTON", text, BS_OWNERDRAW, 0, 0, c.w, c.h, nullptr, nullptr, hInst, nullptr);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = id;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = b;
    dis.hDC = c.dc;
    dis.rcItem = RECT{0, 0, c.w, c.h};
    drawButton(&dis);
    DestroyWindow(b);
}

}  // namespace

TEST_F(Widgets, ButtonsPaintTheirLookAndState) {
    struct Case {
        int id;
        UINT state;
        COLORREF face, corner;
        bool orange;  // any accent pixel at all
    } cases[] = {
        {308, 0, COL_ACCENT, COL_ACCENT, true},
        {308, ODS_SELECTED, COL_ACCENT_DOWN, COL_ACCENT_DOWN, false},
        {308, ODS_DISABLED, COL_PANEL, COL_BORDER, false},  // never orange when disabled
        {306, 0, COL_PANEL, COL_BORDER, false},
        {306, ODS_SELECTED, COL_BORDER, COL_BORDER, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.id << " state " << k.state);
        Canvas c(120, 34);
        paintButton(c, k.id, k.state);
        EXPECT_EQ(c.at(0, 0), k.corner);
        EXPECT_EQ(c.at(3, 17), k.face);
        EXPECT_EQ(c.count(COL_ACCENT) > 0, k.orange);
        EXPECT_GT(c.count(k.face), 120 * 34 / 2);
    }
}

TEST_F(Widgets, CheckButtonFollowsTheHideOldFlag) {
    for (int on : {1, 0}) {
        hideOld = on;
        Canvas c(200, 30);
        paintButton(c, 313, 0, L"Ocultar lo antiguo");
        int bx = 14, by = (30 - 14) / 2;
        EXPECT_EQ(c.at(100, 1), COL_BG);  // the whole item on the window background
        // on: an orange box with a dark check mark; off: a dim outline, no orange
        EXPECT_EQ(c.at(bx + 1, by + 1), on ? COL_ACCENT : COL_BG);
        EXPECT_EQ(c.at(bx + 6, by + 10), COL_BG);
        if (!on) {
            EXPECT_EQ(c.at(bx, by), COL_DIM);
            EXPECT_EQ(c.count(COL_ACCENT), 0);
        }
    }
    hideOld = 0;
}

TEST_F(Widgets, UnknownGlyphDrawsTheNoticeGlyph) {
    auto draw = [](int glyph, Canvas& c) {
        GpGraphics* g = nullptr;
        ASSERT_EQ(GdipCreateFromHDC(c.dc, &g), Ok);
        drawGlyph(g, glyph, 4, 4, 56, 2.5f);
        GdipDeleteGraphics(g);
    };
    Canvas notice(64, 64), unknown(64, 64), star(64, 64);
    draw(11, notice);
    draw(42, unknown);
    draw(5, star);
    int same = 0, differ = 0;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            same += notice.at(x, y) == unknown.at(x, y);
            differ += notice.at(x, y) != star.at(x, y);
        }
    EXPECT_EQ(same, 64 * 64);
    EXPECT_GT(differ, 100);
    EXPECT_GT(notice.count(COL_ACCENT), 100);
}

TEST_F(Widgets, FrameAndKeyCap) {
    Canvas c(200, 100);
    RECT r{0, 0, 200, 100};
    paintFrame(c.dc, &r);
    EXPECT_EQ(c.at(100, 2), COL_ACCENT);
    EXPECT_EQ(c.at(100, 5), COL_BG);
    drawKey(c.dc, 20, 30, L"F7");  // outline, face, bottom strip 3 high, 58 wide
    struct { int x, y; COLORREF col; } px[] = {{20, 30, COL_ACCENT}, {22, 32, COL_PANEL}, {40, 68, COL_ACCENT}, {40, 66, COL_PANEL}, {79, 31, COL_BG}};
    for (auto& p : px) EXPECT_EQ(c.at(p.x, p.y), p.col) << p.x << "," << p.y;
}

TEST_F(Widgets, ToolWindowWithAndWithoutTheWindowManager) {
    for (const wchar_t* lib : {L"dwmapi.dll", L"sin-dwm-zv.dll"}) {
        dwmLibrary = lib;
        HWND w = mkWindow(L"ZvTestTool", DefWindowProcW, L"Prueba", 300, 200);
        ASSERT_TRUE(w) << lib;
        EXPECT_FALSE(IsWindowVisible(w));
        RECT rc;
        GetClientRect(w, &rc);
        EXPECT_EQ(rc.right, 300);
        EXPECT_EQ(rc.bottom, 200);
        if (lib[0] == L's') {
            EXPECT_EQ(darkTitle(w), 0);
        }
        DestroyWindow(w);
    }
    dwmLibrary = L"dwmapi.dll";
}

TEST_F(Widgets, GridHeaderIsPaintedDark) {
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr, hInst, nullptr);
    ASSERT_TRUE(list);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 150;
    col.pszText = (wchar_t*)L"Tarea";
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&col);
    SetWindowSubclass(list, GridProc, 1, 0);
    HWND header = (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0);
    Canvas c(300, 40);
    NMCUSTOMDRAW cd{};
    cd.hdr.hwndFrom = header;
    cd.hdr.idFrom = GetDlgCtrlID(header);
    cd.hdr.code = NM_CUSTOMDRAW;
    cd.hdc = c.dc;
    cd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(SendMessageW(list, WM_NOTIFY, cd.hdr.idFrom, (LPARAM)&cd), CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT);
    RECT hr;
    GetClientRect(header, &hr);
    EXPECT_EQ(c.at(250, hr.bottom - 1), COL_ACCENT);
    cd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.rc = RECT{0, 0, 150, 30};
    cd.dwItemSpec = 0;
    EXPECT_EQ(SendMessageW(list, WM_NOTIFY, cd.hdr.idFrom, (LPARAM)&cd), CDRF_SKIPDEFAULT);
    EXPECT_EQ(c.at(149, 15), COL_BORDER);  // the separator
    EXPECT_EQ(c.at(149, 2), COL_PANEL);    // which starts 5 below the top
    EXPECT_GT(c.count(COL_TEXT), 5);       // the column's text
    // after the header's own painting, the strip right of the last column is dark again
    PatBlt(c.dc, 150, 0, 150, 40, WHITENESS);
    cd.dwDrawStage = CDDS_POSTPAINT;
    SendMessageW(list, WM_NOTIFY, cd.hdr.idFrom, (LPARAM)&cd);
    EXPECT_EQ(c.at(250, 2), COL_PANEL);
    EXPECT_EQ(c.at(250, hr.bottom - 1), COL_ACCENT);
    DestroyWindow(list);
}

namespace {

// Acts on the open question dialog from a thread timer, inside the dialog's own loop.
std::function<void(HWND)> onDialog;
struct Seen {
    int buttons = 0;
    int limit = 0;
    RECT client{};
} seen;

BOOL CALLBACK countButton(HWND c, LPARAM) {
    wchar_t cls[32];
    GetClassNameW(c, cls, 32);
    if (!lstrcmpiW(cls, L"Button")) seen.buttons++;
    return TRUE;
}

BOOL CALLBACK findDialog(HWND w, LPARAM out) {
    wchar_t cls[32];
    GetClassNameW(w, cls, 32);
    if (!lstrcmpW(cls, L"#32770")) {
        *(HWND*)out = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, (LPARAM)&dlg);
    if (!dlg) return;
    KillTimer(nullptr, id);
    seen = Seen{};
    EnumChildWindows(dlg, countButton, 0);
    HWND ed = GetDlgItem(dlg, 100);
    seen.limit = ed ? (int)SendMessageW(ed, EM_GETLIMITTEXT, 0, 0) : -1;
    GetClientRect(dlg, &seen.client);
    onDialog(dlg);
}

int ask(wchar_t* buf, int cancel, std::function<void(HWND)> act) {
    onDialog = std::move(act);
    SetTimer(nullptr, 0, 50, tick);
    return darkAsk(nullptr, L"¿Seguro?", buf, cancel);
}

void typeAndPress(HWND dlg, const wchar_t* text, int button) {
    SetWindowTextW(GetDlgItem(dlg, 100), text);
    PostMessageW(dlg, WM_COMMAND, button, 0);
}

}  // namespace

TEST_F(Widgets, QuestionDialogAnswersAndTrims) {
    wchar_t buf[ASK_BUF];
    lstrcpyW(buf, L"viejo");
    EXPECT_EQ(ask(buf, 1, [](HWND d) { typeAndPress(d, L"  palabra  ", IDOK); }), 1);
    EXPECT_STREQ(buf, L"palabra");
    EXPECT_EQ(seen.buttons, 2);
    EXPECT_EQ(seen.limit, ASK_EDIT_LIMIT);
    EXPECT_EQ(seen.client.bottom, askHeight(true));

    lstrcpyW(buf, L"x");
    EXPECT_EQ(ask(buf, 1, [](HWND d) { typeAndPress(d, L"  otra  ", IDCANCEL); }), 0);
    EXPECT_STREQ(buf, L"x");  // Cancel keeps the old text, trimmed

    // a plain notice: one button, no edit box, and the close box answers 0
    EXPECT_EQ(ask(nullptr, 0, [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }), 0);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.limit, -1);
    EXPECT_EQ(seen.client.bottom, askHeight(false));
    EXPECT_EQ(ask(nullptr, 1, [](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); }), 0);
}

TEST_F(Widgets, QuestionDialogIsNotReentrant) {
    int inner = -1;
    EXPECT_EQ(ask(nullptr, 1, [&](HWND d) {
                  inner = darkAsk(d, L"otra", nullptr, 0);  // answered at once, no second dialog
                  PostMessageW(d, WM_COMMAND, IDOK, 0);
              }),
              1);
    EXPECT_EQ(inner, 0);
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
    for (const wchar_t* text : {L"\u2713 Conseguida", L"\u25CF 3", L"A\u00F1adir a \u00ABMi build\u00BB"}) {
        std::wstring sym;
        for (const wchar_t* p = text; *p; p++)
            if (*p > 0x7E) sym += *p;
        HFONT f = fontHaving(narrow, plain, text);
        EXPECT_TRUE(hasGlyphs(f, sym.c_str())) << text;
        if (hasGlyphs(narrow, sym.c_str())) EXPECT_EQ(f, narrow) << text;
    }
    EXPECT_EQ(fontHaving(narrow, plain, L"1/3"), narrow);
    EXPECT_EQ(fontHaving(narrow, nullptr, L"\u25CF"), narrow);
    DeleteObject(narrow);
    DeleteObject(plain);
}
