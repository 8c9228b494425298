// Fonts every window shares: the overlay's faces (made by overlay's makeFonts) and the font
// maker with stand-ins for faces the system lacks (Bahnschrift and Segoe UI are missing under
// Wine and on older systems), so a missing face never turns text into boxes.
#pragma once
#include <windows.h>

extern HFONT fTitle, fSection, fItem, fSub, fSmall, fGear, fNews, fUi;

// A font of size units (scaled by sc) in the face asked for, exactly (no stand-in).
HFONT fontExact(const wchar_t* face, int size, int weight);
// The face asked for when the system has it; otherwise the first stand-in that has every
// symbol the program draws as text. narrow picks narrow stand-ins for narrow title faces.
HFONT uiFont(const wchar_t* face, int size, int weight, bool narrow = false);
bool faceExists(const wchar_t* face);
// Every character of s (at most 16) has a glyph in f.
bool hasGlyphs(HFONT f, const wchar_t* s);
// f when it has every character of text beyond ASCII, else plain when plain has them (a narrow
// stand-in may lack a symbol that the plain stand-ins have), else f.
HFONT fontHaving(HFONT f, HFONT plain, const wchar_t* text);
