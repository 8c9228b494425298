// The library window. Which rows a search lists and in which order is library/search; where
// each control goes is library/libview; the body's RTF is library/rtf; the pictures come from
// images/. This file creates the controls, moves them, fills them and answers their messages.
#include "library/libwin_win.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <richedit.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "base/base_win.h"
#include "base/fonts_win.h"
#include "base/msgs_win.h"
#include "base/state.h"
#include "base/store.h"
#include "builds/builds.h"
#include "builds/builds_win.h"
#include "builds/buildsui_win.h"
#include "images/imgcat.h"
#include "images/images_win.h"
#include "images/viewer_win.h"
#include "l10n/tr.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/libview.h"
#include "library/live.h"
#include "library/live_win.h"
#include "library/rtf.h"
#include "library/search.h"
#include "library/table.h"
#include "tools/dps.h"
#include "tools/dps_win.h"
#include "widgets/widgets_win.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

int curCat = 1, curEntry = -1, wide;
namespace {
void viewEntry(int e) {
    if (e >= 0 && e < DBN) openViewer(DB[e].galFirst, DB[e].galCount, W(wTitle[e].c_str()));
}
}  // namespace
void (*libViewer)(int entry) = viewEntry;
void (*libPlayer)(int entry);
int (*libUseInDps)(const char* body) = dpsUseEntry;

namespace {

enum {
    ID_CATS = 300, ID_SEARCH, ID_LIST, ID_TITLE, ID_SUB, ID_BODY, ID_FAV, ID_PIC, ID_WIDE, ID_GAL, ID_PREV, ID_GRID,
    ID_VID, ID_OLD, ID_LINK, ID_COMBO, ID_MENU, ID_OWN, ID_UPD, ID_YT, ID_DPS
};

constexpr COLORREF C_BG = RGB(13, 15, 17), C_PANEL = RGB(24, 27, 31), C_TEXT = RGB(222, 226, 230),
                   C_BODY = RGB(200, 205, 210), C_DIM = RGB(128, 137, 146), C_ACCENT = RGB(255, 109, 16),
                   C_LIVE = RGB(240, 72, 72), C_WARN = RGB(230, 120, 110), C_HILITE = RGB(110, 52, 12),
                   C_GRIDSEL = RGB(60, 40, 25);

HWND hCats, hSearch, hList, hTitle, hSub, hBody, hFav, hPic, hWide, hGalBtn, hPrev, hGrid, hVidBtn, hOldBtn,
    hLinkBtn, hBuildCombo, hBuildMenu, hOwnBtn, hUpdBtn, hYtBtn, hDpsBtn;
HFONT fLibTitle, fLibTitleS, fBody, fGrid, fCat, fCatS, fCatSPlain;
int richOk = 1, restoreFicha, autoSel;
HWND lastFocus;  // the control that had the keyboard when the window was left
HMODULE richLib;
bool richTried;

std::vector<LibRow> rows;  // what the result list shows, in its order
LibTable tbl;
int tblEntry = -1;

HIMAGELIST icons;
int catIcon[CAT_COUNT];
int thumb[2000];
int countAll[CAT_COUNT], countCurrent[CAT_COUNT];

LARGE_INTEGER openT0;  // when the window was asked for
int openCount;     // opens of this run, for the timing log line
int logEveryOpen;  // test runs log every open's time

std::u16string dispText;  // the text handed to a list's display request

bool hasLink(int i) { return DB[i].link && std::strncmp(DB[i].link, "http", 4) == 0; }
bool bigPicture(int i) { return i >= 0 && (DB[i].cat == 0 || DB[i].cat == 8 || DB[i].table); }
// A weapon (category "arma") whose body states base figures the calculator can take.
bool dpsWeapon(int i) {
    DpsPrefill p;
    return i >= 0 && DB[i].cat == 3 && dpsFromEntry(DB[i].text, &p) > 0;
}

std::wstring textOf(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring s(n + 1, L'\0');
    GetWindowTextW(w, s.data(), n + 1);
    s.resize(n);
    return s;
}

std::u16string fmtN(int id, int n) {
    std::u16string s = T(id);
    size_t at = s.find(u"%d");
    if (at != std::u16string::npos) s.replace(at, 2, u16num(n));
    return s;
}

void setText(HWND w, const std::u16string& s) { SetWindowTextW(w, W(s.c_str())); }

void makeFonts() {
    if (fLibTitle) return;
    fLibTitle = uiFont(L"Bahnschrift", 26, 700, true);
    fLibTitleS = uiFont(L"Bahnschrift", 20, 700, true);
    fBody = uiFont(L"Segoe UI", 15, 400);
    fGrid = uiFont(L"Segoe UI", 13, 400);
    fCat = uiFont(L"Bahnschrift", 16, 600, true);
    fCatS = uiFont(L"Bahnschrift", 13, 600, true);
    fCatSPlain = uiFont(L"Segoe UI", 13, 600);  // for the live mark when fCatS lacks it
}

// ---- icons of the result list ------------------------------------------------------------------

HBITMAP toHbitmap(GpBitmap* bm) {
    HBITMAP h = nullptr;
    GdipCreateHBITMAPFromBitmap(bm, &h, 0);
    return h;
}

GpBitmap* newCanvas(int s, GpGraphics** g) {
    GpBitmap* bm = nullptr;
    GdipCreateBitmapFromScan0(s, s, 0, PixelFormat32bppARGB, nullptr, &bm);
    *g = nullptr;
    if (bm) GdipGetImageGraphicsContext(bm, g);
    if (*g) {
        GdipGraphicsClear(*g, 0);
        GdipSetSmoothingMode(*g, SmoothingModeAntiAlias);
        GdipSetPixelOffsetMode(*g, PixelOffsetModeHighQuality);
    }
    return bm;
}

int addIcon(GpBitmap* bm, GpGraphics* g) {
    if (g) GdipDeleteGraphics(g);
    int at = -1;
    if (HBITMAP h = bm ? toHbitmap(bm) : nullptr) {
        at = ImageList_Add(icons, h, nullptr);
        DeleteObject(h);
    }
    if (bm) GdipDisposeImage(bm);
    return at;
}

// The image list, made once per run; each icon is drawn the first time a row shows it: a
// picture's thumbnail for entries with an embedded picture, else the category's glyph on a disc.
void makeIcons() {
    if (icons) return;
    int s = px(26);
    icons = ImageList_Create(s, s, ILC_COLOR32, 128, 32);
    for (int& t : thumb) t = -2;
    for (int& c : catIcon) c = -2;
}

int glyphIcon(int c) {
    if (c < 0 || c >= CAT_COUNT) return -1;
    if (catIcon[c] != -2) return catIcon[c];
    int s = px(26);
    GpGraphics* g;
    GpBitmap* bm = newCanvas(s, &g);
    if (!g) {
        if (bm) GdipDisposeImage(bm);
        return catIcon[c] = -1;
    }
    GpSolidFill* br = nullptr;
    GdipCreateSolidFill(0xFF1E2227, &br);  // RGB(30, 34, 39)
    float in = s * 0.06f;
    GdipFillEllipse(g, br, in, in, s - 2 * in, s - 2 * in);
    GdipDeleteBrush(br);
    float pen = s / 14.0f < 1.4f ? 1.4f : s / 14.0f;
    drawGlyph(g, c, s * 0.2f, s * 0.2f, s * 0.6f, pen);
    return catIcon[c] = addIcon(bm, g);
}

// The icon of entry i's row (a picture that fails to load is not tried again this run).
int iconOf(int i) {
    if (i < 0 || i >= DBN) return -1;
    int id = DB[i].image;
    if (id >= 1000 && id <= 2999) {
        int& slot = thumb[id - 1000];
        if (slot == -2) {
            slot = -1;
            if (GpBitmap* pic = loadImg(id)) {
                int s = px(26);
                GpGraphics* g;
                GpBitmap* bm = newCanvas(s, &g);
                if (g) {
                    GdipSetInterpolationMode(g, InterpolationModeHighQualityBicubic);
                    drawImgFit(g, pic, 0, 0, s, s);
                    slot = addIcon(bm, g);
                } else if (bm) {
                    GdipDisposeImage(bm);
                }
            }
        }
        if (slot >= 0) return slot;
    }
    return glyphIcon(DB[i].cat);
}

void countCats() {
    for (int c = 0; c < CAT_COUNT; c++) countAll[c] = countCurrent[c] = 0;
    for (int i = 0; i < DBN; i++) {
        int c = DB[i].cat;
        if (c < 0 || c >= CAT_COUNT) continue;
        countAll[c]++;
        if (!oldF[i]) countCurrent[c]++;
    }
}

// ---- the entry pane --------------------------------------------------------------------------

void loadTable(int i) {
    tblEntry = i;
    tableClear(tbl);
    if (!hGrid) return;
    SendMessageW(hGrid, WM_SETREDRAW, FALSE, 0);
    while (SendMessageW(hGrid, LVM_DELETECOLUMN, 0, 0)) {
    }
    SendMessageW(hGrid, LVM_SETITEMCOUNT, 0, 0);
    if (i >= 0 && i < DBN && DB[i].table) {
        tableLoad(tbl, u8w(trTable(DB[i].table), 0));
        HDC dc = GetDC(hGrid);
        HGDIOBJ old = SelectObject(dc, fGrid);
        for (int c = 0; c < tbl.cols; c++) {
            int widest = 0;
            for (int r = 0; r < tbl.rows && r < 250; r++) {
                const char16_t* cell = tableCell(tbl, r, c);
                int n = (int)std::char_traits<char16_t>::length(cell);
                SIZE sz{0, 0};
                GetTextExtentPoint32W(dc, W(cell), n < 60 ? n : 60, &sz);
                if (sz.cx > widest) widest = sz.cx;
            }
            int w = widest + px(18);
            if (w < px(44)) w = px(44);
            if (w > px(380)) w = px(380);
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            col.fmt = LVCFMT_LEFT;
            col.cx = w;
            col.pszText = (wchar_t*)W(tableCell(tbl, 0, c));
            SendMessageW(hGrid, LVM_INSERTCOLUMNW, c, (LPARAM)&col);
        }
        SelectObject(dc, old);
        ReleaseDC(hGrid, dc);
        SendMessageW(hGrid, LVM_SETITEMCOUNT, tbl.rows - 1, LVSICF_NOINVALIDATEALL);
    }
    SendMessageW(hGrid, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hGrid, nullptr, TRUE);
}

DWORD CALLBACK rtfIn(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* got) {
    auto* src = (std::pair<const std::string*, size_t>*)cookie;
    size_t left = src->first->size() - src->second;
    size_t n = left < (size_t)cb ? left : (size_t)cb;
    memcpy(buf, src->first->data() + src->second, n);
    src->second += n;
    *got = (LONG)n;
    return 0;
}

void setBody(const std::u16string& text) {
    std::string rtf = rtfBody(text);
    SendMessageW(hBody, WM_SETREDRAW, FALSE, 0);
    std::pair<const std::string*, size_t> src{&rtf, 0};
    EDITSTREAM es{(DWORD_PTR)&src, 0, rtfIn};
    SendMessageW(hBody, EM_STREAMIN, SF_RTF, (LPARAM)&es);
    CHARRANGE cr{0, 0};
    SendMessageW(hBody, EM_EXSETSEL, 0, (LPARAM)&cr);
    SendMessageW(hBody, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(hBody, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hBody, nullptr, TRUE);
}

// Every occurrence of the search text (as typed, case-insensitive) in white on dark orange.
void highlight() {
    std::wstring q = textOf(hSearch);
    size_t lead = q.find_first_not_of(L' ');
    if (lead == std::wstring::npos || q.size() - lead < 2) return;
    q = q.substr(lead);
    SendMessageW(hBody, WM_SETREDRAW, FALSE, 0);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    cf.crTextColor = RGB(255, 255, 255);
    cf.crBackColor = C_HILITE;
    LONG first = -1, at = 0;
    for (int n = 0; n < 200; n++) {
        FINDTEXTEXW ft{};
        ft.chrg.cpMin = at;
        ft.chrg.cpMax = -1;
        ft.lpstrText = q.c_str();
        LONG pos = (LONG)SendMessageW(hBody, EM_FINDTEXTEXW, FR_DOWN, (LPARAM)&ft);
        if (pos < 0 || ft.chrgText.cpMax <= pos) break;
        if (first < 0) first = pos;
        SendMessageW(hBody, EM_EXSETSEL, 0, (LPARAM)&ft.chrgText);
        SendMessageW(hBody, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
        at = ft.chrgText.cpMax;
    }
    CHARRANGE cr{first < 0 ? 0 : first, first < 0 ? 0 : first};
    SendMessageW(hBody, EM_EXSETSEL, 0, (LPARAM)&cr);
    SendMessageW(hBody, EM_SCROLLCARET, 0, 0);
    SendMessageW(hBody, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hBody, nullptr, TRUE);
}

void libLayout(HWND h);

// Category, subtitle, and the outdated and live marks.
std::u16string subtitleOf(int i) {
    const LibEntry& e = DB[i];
    std::u16string sub = e.cat >= 0 && e.cat < CAT_COUNT ? T(77 + e.cat) : u"";
    std::u16string_view own = wSub[i];
    // a subtitle that opens with the category's name ("Tabla · Atributos") does not say it twice
    const std::u16string_view sep = u" \u00B7 ";
    if (!sub.empty() && own.substr(0, sub.size()) == sub) {
        if (own.size() == sub.size()) own = {};
        else if (own.substr(sub.size(), sep.size()) == sep) own.remove_prefix(sub.size() + sep.size());
    }
    if (!own.empty()) (sub += u"  \u00B7  ") += own;
    if (oldF[i]) sub += std::u16string(u"  \u00B7  ") + T(123);
    if (e.cat == CAT_CREATOR && liveF[i]) sub += std::u16string(u"  \u00B7  ") + T(195);
    return sub;
}

void showEntry(int i) {
    curEntry = i < DBN ? i : -1;
    i = curEntry;
    if (i < 0) {
        std::u16string title, body;
        bool searching = !textOf(hSearch).empty();
        if (searching) {
            title = T(96);
            body = T(97);
        } else if (curCat == ROW_RECENT) {
            title = T(168);
        } else if (curCat == ROW_BUILD) {
            title = T(98);
            body = T(99);
        }
        setText(hTitle, title);
        setText(hSub, u"");
        std::u16string crlf;
        for (char16_t c : body) {
            if (c == u'\n') crlf += u'\r';
            crlf += c;
        }
        if (richOk) setBody(crlf);
        else setText(hBody, crlf);
        EnableWindow(hFav, FALSE);
        setText(hFav, buildButtonLabel(-1));
        wide = 0;
        if (tblEntry >= 0) loadTable(-1);
    } else {
        const LibEntry& e = DB[i];
        setText(hTitle, wTitle[i]);
        setText(hSub, subtitleOf(i));
        if (richOk) {
            setBody(wBody[i]);
            highlight();
        } else {
            setText(hBody, wBody[i]);
        }
        if (wide && e.cat != 0 && e.cat != 8 && e.cat != 9) wide = 0;
        EnableWindow(hFav, TRUE);
        setText(hFav, buildButtonLabel(i));
        setText(hOwnBtn, ownedButtonLabel(i));
        btnOwned = fav[i] && owned[i];
        if (e.galCount > 0) setText(hGalBtn, e.galCount == 1 ? T(102) : fmtN(103, e.galCount));
        if (e.vidCount > 0) setText(hVidBtn, e.vidCount == 1 ? T(104) : fmtN(105, e.vidCount));
        int want = e.table ? i : -1;
        if (want != tblEntry) loadTable(want);
    }
    for (HWND w : {hFav, hGalBtn, hVidBtn, hPic, hPrev, hOwnBtn}) InvalidateRect(w, nullptr, FALSE);
    libLayout(hLib);
}

// ---- the result list -------------------------------------------------------------------------

void refreshList() {
    std::wstring box = textOf(hSearch);
    listRows(U(box.c_str()), curCat, hideOld, rows);
    SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hList, LVM_DELETEALLITEMS, 0, 0);
    LVITEMW it{};
    for (size_t r = 0; r < rows.size(); r++) {
        int e = rows[r].entry;
        it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        it.iItem = (int)r;
        it.iSubItem = 0;
        it.pszText = LPSTR_TEXTCALLBACKW;
        it.lParam = e;
        it.iImage = I_IMAGECALLBACK;
        SendMessageW(hList, LVM_INSERTITEMW, 0, (LPARAM)&it);
        it.mask = LVIF_TEXT;
        it.iSubItem = 1;
        SendMessageW(hList, LVM_SETITEMTEXTW, r, (LPARAM)&it);
    }
    SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hList, nullptr, TRUE);
    if (rows.empty()) {
        showEntry(-1);
    } else {
        autoSel = 1;
        LVITEMW st{};
        st.stateMask = st.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hList, LVM_SETITEMSTATE, 0, (LPARAM)&st);
        autoSel = 0;
        if (curEntry != rows[0].entry) showEntry(rows[0].entry);
        SendMessageW(hList, LVM_ENSUREVISIBLE, 0, FALSE);
    }
    InvalidateRect(hCats, nullptr, FALSE);
}

// ---- layout ------------------------------------------------------------------------------------

void place(HWND w, const LRect& r) {
    if (!w) return;
    if (!r.shown) {
        ShowWindow(w, SW_HIDE);
        return;
    }
    SetWindowPos(w, nullptr, r.x, r.y, r.w, r.h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_SHOWWINDOW);
}

void libLayout(HWND h) {
    if (!h || !hList) return;
    RECT rc;
    GetClientRect(h, &rc);
    LibLayoutIn in;
    in.w = rc.right;
    in.h = rc.bottom;
    in.sc = sc;
    in.wide = wide;
    in.curCat = curCat;
    int i = curEntry;
    in.cat = i >= 0 ? DB[i].cat : -1;
    in.table = i >= 0 && DB[i].table;
    in.scrollW = GetSystemMetrics(SM_CXVSCROLL);
    in.btn[BTN_FAV] = !(i >= 0 && (DB[i].cat == CAT_CREATOR || DB[i].cat == 13));
    in.btn[BTN_OWN] = i >= 0 && fav[i];
    in.btn[BTN_GAL] = libViewer && i >= 0 && DB[i].galCount > 0;
    in.btn[BTN_VID] = libPlayer && i >= 0 && DB[i].vidCount > 0;
    bool creator = i >= 0 && DB[i].cat == CAT_CREATOR;
    in.btn[BTN_LINK] = i >= 0 && (creator ? creatorField(i, "twitch") != nullptr : hasLink(i));
    in.btn[BTN_YT] = creator && creatorField(i, "youtube") != nullptr;
    in.btn[BTN_WIDE] = bigPicture(i);
    in.btn[BTN_DPS] = libUseInDps && dpsWeapon(i);
    LibLayout o;
    libLayoutCalc(in, o);

    place(hCats, o.cats);
    place(hUpdBtn, o.upd);
    place(hOldBtn, o.old);
    place(hSearch, o.search);
    LRect combo = o.combo;  // a drop-down list's height is that of its open list
    combo.h = o.comboDrop;
    place(hBuildCombo, combo);
    place(hBuildMenu, o.menu);
    place(hList, o.list);
    if (o.list.shown) {
        SendMessageW(hList, LVM_SETCOLUMNWIDTH, 0, o.colName);
        SendMessageW(hList, LVM_SETCOLUMNWIDTH, 1, o.colType);
    }
    place(hPic, o.pic);
    // the title in the small face when the large one does not fit
    HDC dc = GetDC(hTitle);
    HGDIOBJ old = SelectObject(dc, fLibTitle);
    std::wstring t = textOf(hTitle);
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, t.c_str(), (int)t.size(), &sz);
    SelectObject(dc, old);
    ReleaseDC(hTitle, dc);
    HFONT want = sz.cx > o.title.w - px(14) ? fLibTitleS : fLibTitle;
    if ((HFONT)SendMessageW(hTitle, WM_GETFONT, 0, 0) != want) SendMessageW(hTitle, WM_SETFONT, (WPARAM)want, TRUE);
    place(hTitle, o.title);
    place(hSub, o.sub);
    place(hBody, o.body);
    place(hGrid, o.grid);
    place(hPrev, o.prev);
    HWND btns[BTN_COUNT] = {hFav, hOwnBtn, hGalBtn, hVidBtn, hLinkBtn, hYtBtn, hWide, hDpsBtn};
    for (int b = 0; b < BTN_COUNT; b++) place(btns[b], o.btn[b]);
    if (o.btn[BTN_LINK].shown) setText(hLinkBtn, T(creator ? 196 : 125));
    if (o.btn[BTN_WIDE].shown) setText(hWide, T(wide ? 106 : (i >= 0 && DB[i].cat == 0) ? 107 : 108));
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- painting ----------------------------------------------------------------------------------

void drawCatRow(const DRAWITEMSTRUCT* d) {
    if (d->itemID == (UINT)-1) return;
    int v = ROWCAT[d->itemID % ROWCAT_N];
    bool sel = d->itemState & ODS_SELECTED;
    RECT r = d->rcItem;
    HDC dc = d->hDC;
    fillRect(dc, r, sel ? C_PANEL : C_BG);
    if (sel) fillRect(dc, RECT{r.left, r.top + px(4), r.left + px(3), r.bottom - px(4)}, C_ACCENT);
    SetBkMode(dc, TRANSPARENT);

    wchar_t count[32] = L"";
    COLORREF cc = C_DIM;
    if (v == ROW_BUILD) {
        lstrcpynW(count, W(buildCountLabel().c_str()), 32);
        cc = C_ACCENT;
    } else if (v == ROW_RECENT) {
        swprintf(count, 32, L"%d", nRecent);
    } else {
        int c = v - 1, live = 0;
        if (v == ROW_CREATORS)
            for (int i = 0; i < DBN; i++) live += DB[i].cat == CAT_CREATOR && liveF[i];
        if (live) {
            swprintf(count, 32, L"\u25CF %d", live);
            cc = C_LIVE;
        } else if (c >= 0 && c < CAT_COUNT) {
            swprintf(count, 32, L"%d", hideOld ? countCurrent[c] : countAll[c]);
        }
        if (v == 12) cc = C_ACCENT;
    }
    SelectObject(dc, fontHaving(fCatS, fCatSPlain, count));
    SetTextColor(dc, cc);
    RECT rc{r.right - px(40), r.top, r.right - px(8), r.bottom};
    DrawTextW(dc, count, -1, &rc, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    const wchar_t* label = W(T(rowLabelId(v)));
    RECT lr{r.left + px(14), r.top, r.right - px(40), r.bottom};
    SetTextColor(dc, sel ? C_TEXT : C_DIM);
    SelectObject(dc, fCat);
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, label, lstrlenW(label), &sz);
    if (sz.cx <= lr.right - lr.left) {
        DrawTextW(dc, label, -1, &lr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {  // two lines in the small face, centred as a block
        SelectObject(dc, fCatS);
        RECT calc = lr;
        DrawTextW(dc, label, -1, &calc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        int hgt = calc.bottom - calc.top;
        RECT out{lr.left, r.top + (r.bottom - r.top - hgt) / 2, lr.right, r.bottom};
        DrawTextW(dc, label, -1, &out, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void drawPicture(const DRAWITEMSTRUCT* d) {
    RECT r = d->rcItem;
    HDC dc = d->hDC;
    fillRect(dc, r, C_PANEL);
    int i = curEntry;
    if (i < 0) return;
    int w = r.right - r.left, h = r.bottom - r.top;
    GpGraphics* g = nullptr;
    GdipCreateFromHDC(dc, &g);
    if (g) {
        GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
        GdipSetInterpolationMode(g, InterpolationModeHighQualityBicubic);
        GdipSetPixelOffsetMode(g, PixelOffsetModeHighQuality);
        GpBitmap* bm = DB[i].image ? loadImg(DB[i].image) : nullptr;
        if (bm) {
            int in = px(DB[i].cat == 8 ? 4 : 12);
            drawImgFit(g, bm, r.left + in, r.top + in, w - 2 * in, h - 2 * in);
        } else {
            float s = w / 2.0f;
            float bar = (float)px(3);
            drawGlyph(g, DB[i].cat, r.left + (w - s) / 2, r.top + (h - bar - s) / 2, s, w / 22.0f);
        }
        GdipDeleteGraphics(g);
    }
    fillRect(dc, RECT{r.left, r.bottom - px(3), r.right, r.bottom}, C_ACCENT);
}

void drawPreview(const DRAWITEMSTRUCT* d) {
    RECT r = d->rcItem;
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC mem = CreateCompatibleDC(d->hDC);
    HBITMAP bmp = CreateCompatibleBitmap(d->hDC, w, h);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    RECT all{0, 0, w, h};
    fillRect(mem, all, C_PANEL);
    SetBkMode(mem, TRANSPARENT);
    int i = curEntry;
    if (i >= 0 && DB[i].galCount > 0 && DB[i].galFirst >= 0 && DB[i].galFirst < GAL_N) {
        int id = GALID[DB[i].galFirst];
        GpBitmap* bm = loadImg(id);
        RECT box{px(6), px(6), w - px(6), h - px(24)};
        if (bm) {
            GpGraphics* g = nullptr;
            GdipCreateFromHDC(mem, &g);
            if (g) {
                GdipSetInterpolationMode(g, InterpolationModeHighQualityBicubic);
                GdipSetPixelOffsetMode(g, PixelOffsetModeHighQuality);
                drawImgFit(g, bm, px(6), px(6), w - px(12), h - px(30));
                GdipDeleteGraphics(g);
            }
        } else {
            bool failed = imgStatus(id) == 2;
            SelectObject(mem, fBody);
            SetTextColor(mem, failed ? C_WARN : C_DIM);
            DrawTextW(mem, W(T(failed ? 164 : 163)), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        SelectObject(mem, fSmall);
        SetTextColor(mem, C_DIM);
        RECT hint{0, h - px(24), w, h};
        DrawTextW(mem, W(T(95)), -1, &hint, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    BitBlt(d->hDC, r.left, r.top, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
}

// ---- notifications -------------------------------------------------------------------------

void rowChosen(int e) {
    if (e < 0 || e >= DBN) return;
    showEntry(e);
    if (!autoSel && curCat != ROW_RECENT) {
        recentPush(e, gStore);
        InvalidateRect(hCats, nullptr, FALSE);
    }
    gStore->put("biblioteca", "ficha", entryKey(e));
}

LRESULT listCustomDraw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            size_t r = cd->nmcd.dwItemSpec;
            bool sel = SendMessageW(hList, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED;
            cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            if (r >= rows.size()) return CDRF_DODEFAULT;
            RowColours c = rowColours(rows[r], sel);
            cd->clrTextBk = c.bg;
            cd->clrText = cd->iSubItem == 0 ? c.text1 : c.text2;
            return CDRF_NEWFONT;
        }
    }
    return CDRF_DODEFAULT;
}

LRESULT gridCustomDraw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            int r = (int)cd->nmcd.dwItemSpec;
            bool sel = SendMessageW(hGrid, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED;
            cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            cd->clrTextBk = sel ? C_GRIDSEL : (r % 2 ? C_PANEL : C_BG);
            cd->clrText = C_TEXT;
            return CDRF_NEWFONT;
        }
    }
    return CDRF_DODEFAULT;
}

LRESULT onNotify(NMHDR* n) {
    if (n->idFrom == ID_LIST) {
        switch (n->code) {
            case LVN_ITEMCHANGED: {
                auto* v = (NMLISTVIEW*)n;
                if ((v->uChanged & LVIF_STATE) && (v->uNewState & LVIS_SELECTED) && !(v->uOldState & LVIS_SELECTED))
                    rowChosen((int)v->lParam);
                return 0;
            }
            case LVN_GETDISPINFOW: {
                auto* d = (NMLVDISPINFOW*)n;
                size_t r = (size_t)d->item.iItem;
                if (r >= rows.size()) return 0;
                if (d->item.mask & LVIF_IMAGE) {
                    int ic = iconOf(rows[r].entry);
                    d->item.iImage = ic >= 0 ? ic : I_IMAGENONE;
                }
                if (!(d->item.mask & LVIF_TEXT)) return 0;
                dispText = d->item.iSubItem == 0 ? wTitle[rows[r].entry] : rowText2(rows[r]);
                lstrcpynW(d->item.pszText, W(dispText.c_str()), d->item.cchTextMax);
                return 0;
            }
            case NM_DBLCLK: {
                int i = curEntry;
                if (i < 0) return 0;
                if (DB[i].cat == 8 && libViewer) libViewer(i);
                else if (DB[i].cat == 10 && DB[i].vidCount > 0 && libPlayer) libPlayer(i);
                else if (bigPicture(i)) {
                    wide = 1;
                    libLayout(hLib);
                }
                return 0;
            }
            case NM_CUSTOMDRAW: return listCustomDraw((NMLVCUSTOMDRAW*)n);
        }
    } else if (n->idFrom == ID_GRID) {
        if (n->code == LVN_GETDISPINFOW) {
            auto* d = (NMLVDISPINFOW*)n;
            if (d->item.mask & LVIF_TEXT)
                lstrcpynW(d->item.pszText, W(tableCell(tbl, d->item.iItem + 1, d->item.iSubItem)), d->item.cchTextMax);
            return 0;
        }
        if (n->code == NM_CUSTOMDRAW) return gridCustomDraw((NMLVCUSTOMDRAW*)n);
    }
    return 0;
}

// The entry's page; for creators their channel on the streaming site (314) or the video site
// (319), only over https.
void openLink(int id) {
    int i = curEntry;
    if (i < 0) return;
    if (DB[i].cat == CAT_CREATOR) {
        const char* v = creatorField(i, id == ID_YT ? "youtube" : "twitch");
        if (v && std::strncmp(v, "https://", 8) == 0) openUrl(W(u8w(v, 0).c_str()));
        return;
    }
    if (id != ID_LINK || !hasLink(i)) return;
    std::u16string u = u8w(DB[i].link, 0);
    if (u.rfind(u"https://", 0) == 0 || u.rfind(u"http://", 0) == 0) openUrl(W(u.c_str()));
}

// ---- builds --------------------------------------------------------------------------------

void fillBuilds() {
    SendMessageW(hBuildCombo, CB_RESETCONTENT, 0, 0);
    buildsFill(hBuildCombo);
}

// The list again after a build changed, entry e's row selected (as the program selects, not
// as a view) and the list scrolled back to where it was.
void keepRow(int e) {
    int top = (int)SendMessageW(hList, LVM_GETTOPINDEX, 0, 0);
    refreshList();
    bool found = false;
    for (size_t r = 0; r < rows.size(); r++) {
        if (rows[r].entry != e) continue;
        found = true;
        autoSel = 1;
        LVITEMW st{};
        st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hList, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&st);
        st.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hList, LVM_SETITEMSTATE, r, (LPARAM)&st);
        autoSel = 0;
        break;
    }
    RECT ir{LVIR_BOUNDS, 0, 0, 0};
    if (top > 0 && SendMessageW(hList, LVM_GETITEMRECT, 0, (LPARAM)&ir))
        SendMessageW(hList, LVM_SCROLL, 0, (LPARAM)(top * (ir.bottom - ir.top)));
    if (found) showEntry(e);  // its button labels changed even when its row was selected already
}

// What the build commands may do to this window.
BuildsView buildsView() {
    BuildsView v;
    v.owner = hLib;
    v.combo = hBuildCombo;
    v.menuButton = hBuildMenu;
    v.rowValue = curCat;
    v.refresh = [] {
        fillBuilds();
        int before = curEntry;
        refreshList();
        if (curEntry >= 0 && curEntry == before) showEntry(curEntry);  // its buttons name the build
        InvalidateRect(hCats, nullptr, FALSE);
    };
    v.repaintCats = [] { InvalidateRect(hCats, nullptr, FALSE); };
    v.showEntry = [](int e) { showEntry(e); };
    v.keepRow = keepRow;
    v.toBuildRow = [] {
        // the build row without storing it as the player's choice
        curCat = ROW_BUILD;
        wide = 0;
        SendMessageW(hCats, LB_SETCURSEL, rowOfValue(ROW_BUILD), 0);
        if (GetWindowTextLengthW(hSearch) > 0) SetWindowTextW(hSearch, L"");
        libLayout(hLib);
    };
    v.title = [](int e) { return e >= 0 && e < DBN ? wTitle[e] : std::u16string(); };
    return v;
}

void onCommand(HWND h, int id, int code) {
    switch (id) {
        case IDCANCEL:
            if (wide) {
                wide = 0;
                libLayout(h);
            } else {
                libSaveState();
                ShowWindow(h, SW_HIDE);
            }
            break;
        case ID_CATS:
            if (code == LBN_SELCHANGE) {
                int sel = (int)SendMessageW(hCats, LB_GETCURSEL, 0, 0);
                if (sel < 0 || sel >= ROWCAT_N) break;
                curCat = ROWCAT[sel];
                wide = 0;
                gStore->put("biblioteca", "categoria", u16num(curCat));
                if (GetWindowTextLengthW(hSearch) > 0) SetWindowTextW(hSearch, L"");  // its change refreshes
                else refreshList();
            }
            break;
        case ID_SEARCH:
            if (code == EN_CHANGE) refreshList();
            break;
        case ID_WIDE:
            wide = !wide;
            libLayout(h);
            break;
        case ID_GAL:
        case ID_PREV:
            if (libViewer && curEntry >= 0 && DB[curEntry].galCount > 0) libViewer(curEntry);
            break;
        case ID_VID:
            if (libPlayer && curEntry >= 0 && DB[curEntry].vidCount > 0) libPlayer(curEntry);
            break;
        case ID_OLD:
            hideOld = !hideOld;
            gStore->put("ajustes", "OcultarAntiguo", hideOld ? u"1" : u"0");
            InvalidateRect(hOldBtn, nullptr, FALSE);
            refreshList();
            break;
        case ID_LINK:
        case ID_YT: openLink(id); break;
        case ID_DPS:
            if (libUseInDps && dpsWeapon(curEntry)) libUseInDps(DB[curEntry].text);
            break;
        case ID_FAV:
        case ID_OWN:
        case ID_MENU: buildsCommand(buildsView(), id, curEntry); break;
        case ID_COMBO:
            if (code == CBN_SELCHANGE) buildsCommand(buildsView(), id, curEntry);
            break;
    }
}

// The search box hands the keyboard to the results with the down arrow (or Enter), on the row
// after the shown one, so a player types, then picks with the arrows.
LRESULT CALLBACK SearchProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && (wp == VK_DOWN || wp == VK_RETURN) && !rows.empty()) {
        int sel = (int)SendMessageW(hList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
        int next = wp == VK_DOWN && sel + 1 < (int)rows.size() ? sel + 1 : (sel < 0 ? 0 : sel);
        SetFocus(hList);
        LVITEMW st{};
        st.stateMask = st.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hList, LVM_SETITEMSTATE, next, (LPARAM)&st);
        SendMessageW(hList, LVM_ENSUREVISIBLE, next, FALSE);
        return 0;
    }
    if (msg == WM_GETDLGCODE && lp && (((MSG*)lp)->wParam == VK_RETURN)) return DLGC_WANTALLKEYS;
    return DefSubclassProc(h, msg, wp, lp);
}

HWND child(HWND h, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD ex = 0) {
    return CreateWindowExW(ex, cls, text, WS_CHILD | style, 0, 0, 10, 10, h, (HMENU)(INT_PTR)id, hInst, nullptr);
}

void onCreate(HWND h) {
    hLib = h;
    hCats = child(h, L"LISTBOX", L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  ID_CATS);
    hSearch = child(h, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, ID_SEARCH);
    SendMessageW(hSearch, EM_SETCUEBANNER, TRUE, (LPARAM)W(T(92)));
    SendMessageW(hSearch, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(px(8), px(8)));
    SetWindowSubclass(hSearch, SearchProc, 1, 0);
    hList = child(h, WC_LISTVIEWW, L"",
                  WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER |
                      LVS_SHAREIMAGELISTS,
                  ID_LIST);
    SendMessageW(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = px(174);
    col.pszText = (wchar_t*)W(T(93));
    SendMessageW(hList, LVM_INSERTCOLUMNW, 0, (LPARAM)&col);
    col.pszText = (wchar_t*)W(T(94));
    SendMessageW(hList, LVM_INSERTCOLUMNW, 1, (LPARAM)&col);
    SendMessageW(hList, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)icons);
    SendMessageW(hList, LVM_SETBKCOLOR, 0, C_BG);
    SendMessageW(hList, LVM_SETTEXTBKCOLOR, 0, C_BG);
    SendMessageW(hList, LVM_SETTEXTCOLOR, 0, C_TEXT);
    hTitle = child(h, L"STATIC", L"", WS_VISIBLE | SS_NOPREFIX | SS_ENDELLIPSIS, ID_TITLE);
    hSub = child(h, L"STATIC", L"", WS_VISIBLE | SS_NOPREFIX | SS_ENDELLIPSIS, ID_SUB);

    DWORD bodyStyle = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL;
    libWarmUp();
    hBody = richLib ? child(h, L"RICHEDIT50W", L"", bodyStyle | ES_DISABLENOSCROLL, ID_BODY) : nullptr;
    richOk = hBody != nullptr;
    if (richOk) {
        SendMessageW(hBody, EM_SETBKGNDCOLOR, 0, C_BG);
        SendMessageW(hBody, EM_SETEVENTMASK, 0, 0);
    } else {
        hBody = child(h, L"EDIT", L"", bodyStyle, ID_BODY);
    }

    auto btn = [&](int id, const wchar_t* text) { return child(h, L"BUTTON", text, WS_TABSTOP | BS_OWNERDRAW, id); };
    hFav = btn(ID_FAV, W(T(100)));
    hPic = child(h, L"STATIC", L"", WS_VISIBLE | SS_OWNERDRAW, ID_PIC);
    hWide = btn(ID_WIDE, W(T(107)));
    hGalBtn = btn(ID_GAL, W(T(102)));
    hPrev = child(h, L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, ID_PREV);
    hGrid = child(h, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, ID_GRID);
    SendMessageW(hGrid, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SendMessageW(hGrid, LVM_SETBKCOLOR, 0, C_BG);
    SendMessageW(hGrid, LVM_SETTEXTBKCOLOR, 0, C_BG);
    SendMessageW(hGrid, LVM_SETTEXTCOLOR, 0, C_TEXT);
    if (HWND hdr = (HWND)SendMessageW(hGrid, LVM_GETHEADER, 0, 0)) darkTheme(hdr, L"DarkMode_ItemsView");
    SetWindowSubclass(hGrid, GridProc, 1, 0);
    hVidBtn = btn(ID_VID, W(T(104)));
    hOldBtn = child(h, L"BUTTON", W(T(122)), WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, ID_OLD);
    hLinkBtn = btn(ID_LINK, W(T(125)));
    hBuildCombo = child(h, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, ID_COMBO);
    darkTheme(hBuildCombo, L"DarkMode_CFD");
    hBuildMenu = btn(ID_MENU, L"\u00B7\u00B7\u00B7");
    hOwnBtn = btn(ID_OWN, W(T(183)));
    hUpdBtn = btn(ID_UPD, L"");
    hYtBtn = btn(ID_YT, W(T(197)));
    hDpsBtn = btn(ID_DPS, W(T(TXT_USE_IN_DPS)));

    for (HWND w : {hList, hGrid, hBody, hCats}) darkTheme(w, L"DarkMode_Explorer");
    darkTitle(h);
    for (HWND w : {hCats, hSearch, hList, hSub, hBody, hFav, hWide, hGalBtn, hVidBtn, hLinkBtn, hBuildCombo,
                   hBuildMenu, hOwnBtn, hUpdBtn, hYtBtn, hDpsBtn})
        SendMessageW(w, WM_SETFONT, (WPARAM)fBody, FALSE);
    SendMessageW(hTitle, WM_SETFONT, (WPARAM)fLibTitle, FALSE);
    SendMessageW(hGrid, WM_SETFONT, (WPARAM)fGrid, FALSE);

    for (int r = 0; r < ROWCAT_N; r++) SendMessageW(hCats, LB_ADDSTRING, 0, (LPARAM)W(T(rowLabelId(ROWCAT[r]))));
    int row = rowOfValue(curCat);
    if (row < 0) {
        row = 0;
        curCat = ROWCAT[0];
    }
    SendMessageW(hCats, LB_SETCURSEL, row, 0);
    fillBuilds();
    curEntry = -1;
    tblEntry = -1;
    libLayout(h);
    refreshList();
    SetTimer(h, TIMER_LIVE, 300000, nullptr);
}

// A live-status result changed a flag: the counts follow, and the creators' row lists the live
// ones first again, the shown entry kept.
void onLiveChanged() {
    if (!hLib) return;
    InvalidateRect(hCats, nullptr, FALSE);
    if (curCat == ROW_CREATORS) {
        if (curEntry >= 0) keepRow(curEntry);
        else refreshList();
    } else {
        InvalidateRect(hList, nullptr, FALSE);
        if (curEntry >= 0 && DB[curEntry].cat == CAT_CREATOR) setText(hSub, subtitleOf(curEntry));
    }
}

HBRUSH onCtlColor(HDC dc, HWND ctl) {
    SetBkMode(dc, OPAQUE);
    if (ctl == hSearch) {
        SetBkColor(dc, C_PANEL);
        SetTextColor(dc, C_TEXT);
        return brPanel;
    }
    SetBkColor(dc, C_BG);
    SetTextColor(dc, ctl == hSub ? C_ACCENT : ctl == hBody ? C_BODY : C_TEXT);
    return brBg;
}

void finishOpen(bool created) {
    if (!hLib) return;
    RedrawWindow(hLib, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    openCount++;
    if (openCount == 1 || logEveryOpen) {
        LARGE_INTEGER t, f;
        QueryPerformanceCounter(&t);
        QueryPerformanceFrequency(&f);
        double ms = (t.QuadPart - openT0.QuadPart) * 1000.0 / f.QuadPart;
        logLine(L"Biblioteca: %ls en %.1f ms", created ? L"creada y pintada" : L"mostrada", ms);
    }
}

}  // namespace

void libWarmUp() {
    if (!dbDone) dbInit(gStore);
    widgetsInit();
    makeFonts();
    makeIcons();
    if (!richTried) {
        richTried = true;
        richLib = LoadLibraryW(L"Msftedit.dll");
    }
}

void libSaveState() {
    if (!hLib) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hLib, &wp)) return;
    RECT r = wp.rcNormalPosition;
    gStore->put("biblioteca", "x", u16num(r.left));
    gStore->put("biblioteca", "y", u16num(r.top));
    gStore->put("biblioteca", "w", u16num(r.right - r.left));
    gStore->put("biblioteca", "h", u16num(r.bottom - r.top));
    gStore->put("biblioteca", "max", wp.showCmd == SW_SHOWMAXIMIZED || IsZoomed(hLib) ? u"1" : u"0");
}

void toggleLibrary() {
    QueryPerformanceCounter(&openT0);
    if (hLib && IsWindowVisible(hLib) && GetForegroundWindow() == hLib) {
        libSaveState();
        ShowWindow(hLib, SW_HIDE);
        return;
    }
    if (hLib) {
        ShowWindow(hLib, IsZoomed(hLib) ? SW_SHOWMAXIMIZED : SW_SHOW);
        SetForegroundWindow(hLib);
        SetFocus(hSearch);
        finishOpen(false);
        return;
    }
    libWarmUp();
    countCats();
    static bool registered;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = LibProc;
        wc.hInstance = hInst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(hInst, MAKEINTRESOURCEW(1));
        wc.hbrBackground = brBg;
        wc.lpszClassName = L"ZenvoralBiblioteca";
        registered = RegisterClassW(&wc) != 0;
    }
    int x = gStore->getInt("biblioteca", "x", -99999), y = gStore->getInt("biblioteca", "y", -99999);
    int w = gStore->getInt("biblioteca", "w", 0), h = gStore->getInt("biblioteca", "h", 0);
    if (!libPlacementOk(x, y, w, h, sc, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN))) {
        w = px(1180);
        h = px(760);
        x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    }
    // read before the window exists: its first list selects a row, and every selection is stored
    std::u16string ficha = gStore->getStr("biblioteca", "ficha", u"", 301);
    int stored = gStore->getInt("biblioteca", "categoria", curCat);
    if (stored == 0 || rowOfValue(stored) >= 0) curCat = stored;
    CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"ZenvoralBiblioteca", W(T(91)),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w, h, nullptr, nullptr, hInst, nullptr);
    if (!hLib) return;
    restoreFicha = 1;
    ShowWindow(hLib, gStore->getInt("biblioteca", "max", 0) ? SW_SHOWMAXIMIZED : SW_SHOW);
    SetForegroundWindow(hLib);
    SetFocus(hSearch);
    if (restoreFicha) {
        restoreFicha = 0;
        int e = ficha.empty() ? -1 : entryByKey(ficha.c_str());
        if (e >= 0 && (DB[e].cat == curCat - 1 || (curCat == ROW_BUILD && fav[e]))) libOpenEntry(e);
    }
    liveChanged = onLiveChanged;
    liveCheck(0);
    finishOpen(true);
}

void libSelectCat(int value) {
    if (!hCats) return;
    int row = rowOfValue(value);
    if (row < 0) {
        SendMessageW(hCats, LB_SETCURSEL, 0, 0);
        return;
    }
    SendMessageW(hCats, LB_SETCURSEL, row, 0);
    SendMessageW(hLib, WM_COMMAND, MAKEWPARAM(ID_CATS, LBN_SELCHANGE), (LPARAM)hCats);
}

void libOpenEntry(int index) {
    if (!hLib || !IsWindowVisible(hLib)) {
        toggleLibrary();
    } else {
        SetForegroundWindow(hLib);
    }
    if (!hLib || index < 0 || index >= DBN) return;
    wide = 0;
    libSelectCat(DB[index].cat + 1);
    for (size_t r = 0; r < rows.size(); r++) {
        if (rows[r].entry != index) continue;
        LVITEMW st{};
        st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hList, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&st);  // nothing else selected
        st.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hList, LVM_SETITEMSTATE, r, (LPARAM)&st);
        SendMessageW(hList, LVM_ENSUREVISIBLE, r, FALSE);
        break;
    }
    if (curEntry != index) showEntry(index);
}

void libOpenPack(int rec) {
    int e = libPackEntry(rec, gStore);
    if (e >= 0) {
        libOpenEntry(e);
        return;
    }
    if (!hLib || !IsWindowVisible(hLib) || GetForegroundWindow() != hLib) toggleLibrary();
    libSelectCat(12);
}

void libReset() {
    bool visible = hLib && IsWindowVisible(hLib);
    if (hLib) {
        libSaveState();
        HWND w = hLib;
        DestroyWindow(w);
    }
    hLib = nullptr;
    if (hVid) {  // the player closes; its buttons take the new language
        SendMessageW(hVid, WM_CLOSE, 0, 0);
        SetDlgItemTextW(hVid, 601, W(T(114)));
        SetDlgItemTextW(hVid, 602, W(T(115)));
    }
    hCats = hSearch = hList = hBody = hGrid = lastFocus = nullptr;
    rows.clear();
    tableClear(tbl);
    tblEntry = -1;
    curEntry = -1;
    wide = 0;
    viewerDestroy();
    dbFree();
    if (visible) toggleLibrary();
}

void libBuildsChanged() {
    if (!hLib) return;
    buildsView().refresh();
}

void libImageArrived(int id, int ok) {
    viewerImageArrived(id);
    if (!hLib || !IsWindowVisible(hLib)) return;
    InvalidateRect(hPrev, nullptr, FALSE);
    InvalidateRect(hPic, nullptr, FALSE);
}

void libTestOptions(const wchar_t* cmd) {
    if (wcsstr(cmd, L"--prueba")) logEveryOpen = 1;
    if (wcsstr(cmd, L"sinweb")) wvDisabled = 1;
    if (!wcsstr(cmd, L"--prueba-biblioteca")) return;
    toggleLibrary();
    if (!hLib) return;
    if (wcsstr(cmd, L"antiguo")) SendMessageW(hLib, WM_COMMAND, ID_OLD, 0);
    if (const wchar_t* b = wcsstr(cmd, L"--buscar=")) {
        wchar_t q[64];
        int n = 0;
        for (b += 9; *b && *b != L' ' && n < 63; b++) q[n++] = *b == L'+' ? L' ' : *b;
        q[n] = 0;
        SetWindowTextW(hSearch, q);
    }
    // each word on its own, in this order; a word inside another one counts too ("pcompartir"
    // also asks for "compartir")
    enum { ROW, POST, HIDE_POST, SHARE, IMPORT };
    static const struct {
        const wchar_t* word;
        int kind, value;
    } words[] = {{L"recientes", ROW, 100},        {L"misbuilds", ROW, 0},
                 {L"creadores", ROW, 13},         {L"creditos", ROW, 14},
                 {L"dialogo", POST, WM_ZV_TESTDLG}, {L"dlgsolo", HIDE_POST, WM_ZV_TESTDLG},
                 {L"pcompartir", POST, WM_ZV_TESTSHARE}, {L"pimportar", POST, WM_ZV_TESTIMPORT},
                 {L"compartir", SHARE, 0},        {L"importar-codigo", IMPORT, 0},
                 {L"capturas", ROW, 9},           {L"tablas", ROW, 10},
                 {L"guias", ROW, 1},              {L"videos", ROW, 11},
                 {L"novedades", ROW, 12},         {L"gearsets", ROW, 2}};
    for (const auto& w : words) {
        if (!wcsstr(cmd, w.word) || !hLib) continue;
        switch (w.kind) {
            case ROW: libSelectCat(w.value); break;
            case HIDE_POST: ShowWindow(hLib, SW_HIDE); [[fallthrough]];
            case POST: PostMessageW(hLib, (UINT)w.value, 0, 0); break;
            case SHARE:
            case IMPORT:
                libSelectCat(ROW_BUILD);
                buildsMenuCommand(buildsView(), w.kind == SHARE ? BM_SHARE : BM_IMPORT, curEntry);
                break;
        }
    }
    if (wcsstr(cmd, L"reproductor") && libPlayer && curEntry >= 0 && DB[curEntry].vidCount > 0) libPlayer(curEntry);
}

LRESULT CALLBACK LibProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: onCreate(h); return 0;
        case WM_SIZE:
            libLayout(h);
            if (hPrev) InvalidateRect(hPrev, nullptr, FALSE);
            return 0;
        case WM_EXITSIZEMOVE: libSaveState(); return 0;
        case WM_TIMER:
            if (wp == TIMER_LIVE && IsWindowVisible(h)) liveCheck(1);
            return 0;
        case WM_CLOSE:
            libSaveState();
            ShowWindow(h, SW_HIDE);
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(h, &r);
            FillRect((HDC)wp, &r, brBg);
            return 1;
        }
        case WM_GETMINMAXINFO: {
            auto* mm = (MINMAXINFO*)lp;
            mm->ptMinTrackSize.x = px(900);
            mm->ptMinTrackSize.y = px(440);
            return 0;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX: return (LRESULT)onCtlColor((HDC)wp, (HWND)lp);
        case WM_MEASUREITEM:
            ((MEASUREITEMSTRUCT*)lp)->itemHeight = px(34);
            return TRUE;
        case WM_DRAWITEM: {
            auto* d = (DRAWITEMSTRUCT*)lp;
            if (d->CtlID == ID_CATS) drawCatRow(d);
            else if (d->CtlID == ID_PIC) drawPicture(d);
            else if (d->CtlID == ID_PREV) drawPreview(d);
            else if (d->CtlID == ID_OLD) drawCheck(d, hideOld != 0, 14, fSmall, true);
            else drawButton(d);
            return TRUE;
        }
        case WM_ACTIVATE:
            // the control that had the keyboard gets it back; the search box the first time
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND f = GetFocus();
                if (f && IsChild(h, f)) lastFocus = f;
            } else {
                SetFocus(lastFocus && IsWindowVisible(lastFocus) ? lastFocus : hSearch);
            }
            return 0;
        case WM_NOTIFY: return onNotify((NMHDR*)lp);
        case WM_COMMAND: onCommand(h, LOWORD(wp), HIWORD(wp)); return 0;
        case WM_DESTROY:
            if (h == hLib) hLib = nullptr;
            return 0;
        case WM_ZV_TESTDLG: {
            wchar_t name[ASK_BUF] = L"Striker raid";
            darkAsk(h, W(T(176)), name, 1);
            return 0;
        }
        case WM_ZV_TESTSHARE: buildsMenuCommand(buildsView(), BM_SHARE, curEntry); return 0;
        case WM_ZV_TESTIMPORT: buildsMenuCommand(buildsView(), BM_IMPORT, curEntry); return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}
