#include "images/viewcalc.h"

#include <algorithm>

double vBaseScale(unsigned w, unsigned h, int viewW, int viewH) {
    if (w == 0 || h == 0) return 1.0;
    if ((double)h / w > 1.8) return std::min((double)viewW / w, 1.5);
    return std::min((double)viewW / w, (double)viewH / h);
}

namespace {

double scaleOf(const VState& v, unsigned w, unsigned h, int viewW, int viewH) {
    return vBaseScale(w, h, viewW, viewH) * v.zoom;
}

}  // namespace

void vClamp(VState& v, unsigned w, unsigned h, int viewW, int viewH) {
    double s = scaleOf(v, w, h, viewW, viewH);
    double maxX = std::max(0.0, w * s - viewW), maxY = std::max(0.0, h * s - viewH);
    v.offX = std::clamp(v.offX, 0.0, maxX);
    v.offY = std::clamp(v.offY, 0.0, maxY);
}

void vZoomAt(VState& v, double factor, double x, double y, unsigned w, unsigned h, int viewW, int viewH) {
    if (w == 0 || h == 0) return;
    double base = vBaseScale(w, h, viewW, viewH);
    double z1 = std::clamp(v.zoom * factor, 1.0, V_ZOOM_MAX);
    double s0 = base * v.zoom, s1 = base * z1;
    auto origin = [](double view, double scaled, double off) { return scaled <= view ? (view - scaled) / 2 : -off; };
    double ox = origin(viewW, w * s0, v.offX), oy = origin(viewH, h * s0, v.offY);
    v.offX = (x - ox) / s0 * s1 - x;
    v.offY = (y - oy) / s0 * s1 - y;
    v.zoom = z1;
    vClamp(v, w, h, viewW, viewH);
}

VRect vPlace(const VState& v, unsigned w, unsigned h, int viewW, int viewH) {
    double s = scaleOf(v, w, h, viewW, viewH);
    int dw = (int)(w * s), dh = (int)(h * s);
    int x = dw > viewW ? -(int)v.offX : (viewW - dw) / 2;
    int y = dh > viewH ? -(int)v.offY : (viewH - dh) / 2;
    return {x, y, dw, dh};
}

bool vIndicator(const VState& v, unsigned w, unsigned h, int viewW, int viewH, int minH, int& top, int& height) {
    double s = scaleOf(v, w, h, viewW, viewH);
    int ph = (int)(h * s);
    if (ph <= viewH || viewH <= 0) return false;
    height = std::max(minH, (int)((long long)viewH * viewH / ph));
    top = (int)(v.offY / (ph - viewH) * (viewH - height));
    return true;
}

int vWrap(int i, int n) { return n <= 0 ? 0 : ((i % n) + n) % n; }
