// Overlay geometry that needs no window: the rows of the expanded checklist (in logical units;
// the shell turns them into pixels with px()), the start-up scale and the start-up position.
// The overlay is 300 units wide; every row spans x = 12 to 288.
#pragma once

#include "checklist/catalogue.h"
#include "datapack/news.h"

// A rectangle in logical units; all zero means "not shown".
struct URect {
    int left, top, right, bottom;
};
inline bool uEmpty(const URect& r) { return r.right <= r.left || r.bottom <= r.top; }

constexpr int OV_W = 300;       // expanded width, units
constexpr int OV_EMBLEM = 52;   // collapsed square, units
constexpr int OV_FIT = 624;     // units an enlarged interface must fit into the work area
constexpr int OV_HEADER = 52;   // the header band: drags start here

// Rows of the last layout (units). groupY, streakY and doneMsgY are -1 when not shown.
extern URect updRowU;                 // update banner
extern int newsY;                     // top of the news section
extern URect newsRowU[NEWS_MAX];
extern int groupY[3];
extern URect itemRowU[MAX_TASKS];     // by task index
extern int streakY;
extern int doneMsgY;

// Lays out the overlay from the catalogue, the selected news, compact mode and whether an
// update is on offer; returns the height in units. Integer arithmetic only, no allocation
// once the interface texts of the current language are cached.
int ovLayout(int compactMode, int update);

// Start-up scale: dpi is the screen's factor (LOGPIXELSY / 96), escala the stored "Escala"
// (outside 80..150 counts as 100, returned in *uiScaleOut), workH the work area's height in
// pixels. An enlarged interface shrinks until OV_FIT units fit into workH - 70, never below dpi.
double ovStartScale(double dpi, int escala, int workH, int* uiScaleOut);

// The overlay must fit the work area of its monitor. OV_MARGIN pixels of the work area stay
// free; OV_MIN_SCALE of the DPI factor is the smallest scale the overlay is shrunk to.
constexpr int OV_MARGIN = 70;
constexpr double OV_MIN_SCALE = 0.8;

// The start-up scale for the layout really shown (units high, normal rows): want (from
// ovStartScale) when units fit into workH - OV_MARGIN pixels, else lowered until they fit, but
// not below OV_MIN_SCALE x dpi.
double ovFitScale(double want, double dpi, int units, int workH);

// Lays out as ovLayout does, with the rows that fit: normal rows when they fit into
// workH - OV_MARGIN pixels at scale s (or when compact mode is on anyway), else compact
// mode's rows. *rowsCompact says which; returns the height in units.
int ovLayoutFit(int compactMode, int update, double s, int workH, int* rowsCompact);

// Start-up position: a negative coordinate resets both to margin; a coordinate beyond the
// virtual screen less edge is reset to margin on that axis only. margin and edge are pixels.
void ovStartPos(int* x, int* y, int margin, int edge, int virtW, int virtH);

// Layered-window alpha: opacity when expanded, 30 more when collapsed, at most 255.
int ovAlpha(int opacity, int expanded);
