// The image viewer's geometry without a window: the base scale that fits a picture (tall
// infographics fill the width and scroll), zoom around a point, clamping of the pan offsets,
// where the picture lands in the view, the scroll indicator, and wrapping through a gallery.
// Picture sizes are in pixels of the picture, view sizes and offsets in pixels of the screen.
#pragma once

struct VState {
    double zoom = 1.0;  // 1.0 (fit) to 8.0
    double offX = 0.0;  // pan offsets of the scaled picture; 0 shows its left/top edge
    double offY = 0.0;
};

constexpr double V_ZOOM_MAX = 8.0;

// The scale at zoom 1: the whole picture fits (enlarged or reduced); a picture more than 1.8
// times as tall as wide fills the width instead, enlarged at most 1.5 times.
double vBaseScale(unsigned w, unsigned h, int viewW, int viewH);

// Holds the offsets between 0 and the amount by which the scaled picture exceeds the view.
void vClamp(VState& v, unsigned w, unsigned h, int viewW, int viewH);

// Zooms by factor around (x, y) in view coordinates, keeping the picture point under it.
void vZoomAt(VState& v, double factor, double x, double y, unsigned w, unsigned h, int viewW, int viewH);

struct VRect {
    int x, y, w, h;
};
// Where the scaled picture is drawn in view coordinates: centred on an axis where it fits,
// moved by the offset where it exceeds the view.
VRect vPlace(const VState& v, unsigned w, unsigned h, int viewW, int viewH);

// The vertical scroll indicator when the picture is taller than the view: its top (view
// coordinates) and height, at least minH. false when the picture fits.
bool vIndicator(const VState& v, unsigned w, unsigned h, int viewW, int viewH, int minH, int& top, int& height);

// Position i wrapped into 0..n-1 (previous on the first is the last); 0 when n <= 0.
int vWrap(int i, int n);
