#include "widgets/glyphs.h"

#include <cmath>
#include <initializer_list>

namespace {

GlyphPart pts(GlyphOp op, std::initializer_list<GPt> p) {
    GlyphPart g{op, 0, {}, 0, 0};
    for (GPt q : p)
        if (g.n < GLYPH_POINTS) g.pt[g.n++] = q;
    return g;
}
GlyphPart line(float x1, float y1, float x2, float y2) { return pts(G_LINES, {{x1, y1}, {x2, y2}}); }
GlyphPart circle(GlyphOp op, float x, float y, float d) { return pts(op, {{x, y}, {d, d}}); }
GlyphPart arc(float x, float y, float d, float a0, float sweep) {
    GlyphPart g = circle(G_ARC, x, y, d);
    g.a0 = a0;
    g.sweep = sweep;
    return g;
}

// count vertices around (cx, cy), vertex k at angle start + k x step, radius r(k).
GlyphPart ring(int count, float cx, float cy, float startDeg, float r0, float r1) {
    GlyphPart g{G_OUTLINE, 0, {}, 0, 0};
    const double PI = 3.14159265358979323846;
    double step = 360.0 / count;
    for (int k = 0; k < count && k < GLYPH_POINTS; k++) {
        double a = (startDeg + k * step) * PI / 180.0;
        double r = (k % 2 == 0) ? r0 : r1;
        g.pt[g.n++] = GPt{float(cx + r * std::cos(a)), float(cy + r * std::sin(a))};
    }
    return g;
}

Glyph make(std::initializer_list<GlyphPart> parts) {
    Glyph g{};
    for (const GlyphPart& p : parts)
        if (g.n < GLYPH_PARTS) g.part[g.n++] = p;
    return g;
}

struct Table {
    Glyph g[GLYPH_COUNT];
    Table() {
        // 0 guide: open book
        g[0] = make({pts(G_LINES, {{0.5f, 0.22f}, {0.1f, 0.14f}, {0.1f, 0.78f}, {0.5f, 0.86f}}),
                     pts(G_LINES, {{0.5f, 0.22f}, {0.9f, 0.14f}, {0.9f, 0.78f}, {0.5f, 0.86f}}),
                     line(0.5f, 0.22f, 0.5f, 0.86f)});
        // 1 gear set: shield
        g[1] = make({pts(G_OUTLINE, {{0.5f, 0.1f}, {0.86f, 0.22f}, {0.82f, 0.55f}, {0.5f, 0.9f}, {0.18f, 0.55f}, {0.14f, 0.22f}}),
                     line(0.5f, 0.3f, 0.5f, 0.7f)});
        // 2 brand: price tag
        g[2] = make({pts(G_OUTLINE, {{0.12f, 0.5f}, {0.45f, 0.17f}, {0.88f, 0.17f}, {0.88f, 0.6f}, {0.55f, 0.9f}}),
                     circle(G_CIRCLE, 0.66f, 0.3f, 0.1f)});
        // 3 weapon: crosshair
        g[3] = make({circle(G_CIRCLE, 0.2f, 0.2f, 0.6f), line(0.5f, 0.08f, 0.5f, 0.36f), line(0.5f, 0.64f, 0.5f, 0.92f),
                     line(0.08f, 0.5f, 0.36f, 0.5f), line(0.64f, 0.5f, 0.92f, 0.5f)});
        // 4 gear: vest
        g[4] = make({pts(G_OUTLINE, {{0.3f, 0.12f}, {0.42f, 0.3f}, {0.58f, 0.3f}, {0.7f, 0.12f}, {0.88f, 0.26f}, {0.82f, 0.88f},
                                     {0.18f, 0.88f}, {0.12f, 0.26f}}),
                     line(0.5f, 0.3f, 0.5f, 0.88f)});
        // 5 weapon talents: five-pointed star; 6 gear talents: four-pointed star
        g[5] = make({ring(10, 0.5f, 0.53f, -90.f, 0.42f, 0.19f)});
        g[6] = make({ring(8, 0.5f, 0.53f, -90.f, 0.42f, 0.13f)});
        // 7 mod: hex nut
        g[7] = make({ring(6, 0.5f, 0.5f, 0.f, 0.38f, 0.38f), circle(G_CIRCLE, 0.36f, 0.36f, 0.28f)});
        // 8 screenshot: picture
        g[8] = make({pts(G_OUTLINE, {{0.1f, 0.2f}, {0.9f, 0.2f}, {0.9f, 0.8f}, {0.1f, 0.8f}}),
                     pts(G_LINES, {{0.18f, 0.72f}, {0.4f, 0.46f}, {0.55f, 0.6f}, {0.66f, 0.5f}, {0.82f, 0.72f}}),
                     circle(G_DOT, 0.62f, 0.28f, 0.1f)});
        // 9 table
        g[9] = make({pts(G_OUTLINE, {{0.12f, 0.18f}, {0.88f, 0.18f}, {0.88f, 0.82f}, {0.12f, 0.82f}}),
                     line(0.12f, 0.39f, 0.88f, 0.39f), line(0.12f, 0.6f, 0.88f, 0.6f), line(0.4f, 0.18f, 0.4f, 0.82f)});
        // 10 video: play screen
        g[10] = make({pts(G_OUTLINE, {{0.1f, 0.2f}, {0.9f, 0.2f}, {0.9f, 0.8f}, {0.1f, 0.8f}}),
                      pts(G_FILL, {{0.42f, 0.36f}, {0.64f, 0.5f}, {0.42f, 0.64f}})});
        // 11 news: notice
        g[11] = make({circle(G_CIRCLE, 0.12f, 0.12f, 0.76f), line(0.5f, 0.3f, 0.5f, 0.56f), circle(G_DOT, 0.45f, 0.66f, 0.1f)});
        // 12 creator: broadcast
        g[12] = make({circle(G_DOT, 0.42f, 0.42f, 0.16f), arc(0.26f, 0.26f, 0.48f, -50.f, 100.f), arc(0.26f, 0.26f, 0.48f, 130.f, 100.f),
                      arc(0.1f, 0.1f, 0.8f, -45.f, 90.f), arc(0.1f, 0.1f, 0.8f, 135.f, 90.f)});
        // 13 credit: heart
        g[13] = make({pts(G_BEZIER, {{0.5f, 0.86f}, {0.1f, 0.58f}, {0.06f, 0.2f}, {0.32f, 0.2f}, {0.44f, 0.2f}, {0.5f, 0.3f},
                                     {0.5f, 0.34f}, {0.5f, 0.3f}, {0.56f, 0.2f}, {0.68f, 0.2f}, {0.94f, 0.2f}, {0.9f, 0.58f},
                                     {0.5f, 0.86f}})});
    }
};

}  // namespace

const Glyph& glyphOf(int number) {
    static const Table table;
    if (number < 0 || number >= GLYPH_COUNT) number = GLYPH_FALLBACK;
    return table.g[number];
}
