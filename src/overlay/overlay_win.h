// The overlay's window-side pieces: pixel rows from the layout, fonts, style (size, shape,
// transparency), compact mode and painting. The window procedure (app/window_win.cpp) drives
// them; start-up calls scaleInit, (news and history), scaleFit, makeFonts, headerRects and
// posInit in that order.
#pragma once
#include <windows.h>

#include "base/fonts_win.h"
#include "checklist/catalogue.h"
#include "datapack/news.h"

extern RECT gearRect, bookRect, compRect, embRect;  // header hit areas, pixels
extern RECT updRectO;                               // update banner, empty when none
extern RECT newsRect[NEWS_MAX];                     // news rows
extern RECT itemRect[MAX_TASKS];                    // task rows by task index, empty when not shown
extern int winW, winH;                              // expanded size, pixels
extern int curW, curH;                              // size applied by applyStyle
extern int hoverEmb;                                // the mouse is over the emblem
extern int updAvailable;                            // a newer version is on offer
extern wchar_t updVer[40];                          // its version text

extern int gearGlyphs;  // 1 when the icon font has the header icons; else they are drawn

// Start-up scale from the screen's DPI and "Escala" (sets sc and uiScale).
void scaleInit();
// Lowers the start-up scale until the list really shown fits the work area (ovFitScale);
// after the news and the history texts are known, before the fonts.
void scaleFit();
// The work area of the overlay's monitor (the primary one before the window exists).
RECT ovWorkArea();
extern int rowsCompact;  // compact rows in force: compact mode, or the whole list does not fit
// (Re)creates the overlay fonts; the old ones go only after all new ones exist.
void makeFonts();
// The four header hit areas; once, after the fonts.
void headerRects();
// posX/posY from the settings made safe for this screen.
void posInit();

int layout();                 // rows in pixels; returns the height in units
void applyStyle();            // transparency, size and shape for the current mode
void setCompact(int on);      // switches compact mode and stores it
void relayout();              // histRefresh, layout, applyStyle, repaint

void paint(HDC dc);
void drawEmblem(HDC dc, int x, int y, int size, int hover);
