#include "base/fonts_win.h"

#include <cwchar>

#include "base/base_win.h"

HFONT fTitle, fSection, fItem, fSub, fSmall, fGear, fNews, fUi;

namespace {

int CALLBACK foundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *(int*)found = 1;
    return 0;
}

// Symbols drawn as text: all of them in the plain faces, those of titles, headings and
// chevrons in the narrow ones.
constexpr const wchar_t* SYMBOLS = L"\u2713\u203A\u2191\u00B7\u00D7\u2013";
constexpr const wchar_t* NARROW_SYMBOLS = L"\u203A\u00B7\u00D7\u2013";

}  // namespace

bool faceExists(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    int found = 0;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, foundFace, (LPARAM)&found, 0);
    ReleaseDC(nullptr, dc);
    return found != 0;
}

bool hasGlyphs(HFONT f, const wchar_t* s) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f);
    WORD idx[16];
    int n = (int)wcslen(s);
    if (n > 16) n = 16;
    bool ok = GetGlyphIndicesW(dc, s, n, idx, GGI_MARK_NONEXISTING_GLYPHS) == (DWORD)n;
    for (int i = 0; ok && i < n; i++) ok = idx[i] != 0xFFFF;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return ok;
}

HFONT fontExact(const wchar_t* face, int size, int weight) {
    return CreateFontW(-px(size), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HFONT uiFont(const wchar_t* face, int size, int weight, bool narrow) {
    if (faceExists(face)) return fontExact(face, size, weight);
    static const wchar_t* const narrowIns[] = {L"Arial Narrow", L"Roboto Condensed", L"DejaVu Sans Condensed", L"Segoe UI", L"DejaVu Sans", L"Tahoma", L"Arial"};
    static const wchar_t* const standIns[] = {L"Segoe UI", L"DejaVu Sans", L"Segoe UI Symbol", L"Tahoma", L"Arial"};
    HFONT first = nullptr;
    const wchar_t* const* list = narrow ? narrowIns : standIns;
    int n = narrow ? (int)(sizeof narrowIns / sizeof *narrowIns) : (int)(sizeof standIns / sizeof *standIns);
    for (int k = 0; k < n; k++) {
        const wchar_t* s = list[k];
        if (!faceExists(s)) continue;
        HFONT f = fontExact(s, size, weight);
        if (hasGlyphs(f, narrow ? NARROW_SYMBOLS : SYMBOLS)) {
            if (first) DeleteObject(first);
            return f;
        }
        if (first) DeleteObject(f);
        else first = f;
    }
    return first ? first : fontExact(face, size, weight);
}

HFONT fontHaving(HFONT f, HFONT plain, const wchar_t* text) {
    wchar_t sym[16];
    int n = 0;
    for (const wchar_t* p = text; *p && n < 15; p++)
        if (*p > 0x7E) sym[n++] = *p;
    sym[n] = 0;
    if (!n || !plain || hasGlyphs(f, sym)) return f;
    return hasGlyphs(plain, sym) ? plain : f;
}
