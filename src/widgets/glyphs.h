// The fourteen category glyphs as line art data: each is a few parts (polylines, polygons,
// circles, arcs, a Bezier path) whose coordinates are fractions of the glyph's square. The
// shell strokes and fills them with the accent (widgets_win: drawGlyph); a test checks the
// geometry here.
#pragma once
#include <cstdint>

constexpr int GLYPH_COUNT = 14;
constexpr int GLYPH_FALLBACK = 11;  // the notice glyph, drawn for unknown numbers
constexpr int GLYPH_PARTS = 6;
constexpr int GLYPH_POINTS = 13;

enum GlyphOp : uint8_t {
    G_LINES,    // an open polyline through the points (two points: a line)
    G_OUTLINE,  // a closed polygon, outlined
    G_FILL,     // a closed polygon, filled
    G_CIRCLE,   // the outline of the circle inscribed in the square at pt[0] with side pt[1].x
    G_DOT,      // the same circle, filled
    G_ARC,      // an arc of that circle from a0 degrees sweeping sweep degrees, clockwise on screen
    G_BEZIER,   // cubic curves joined end to start: 1 + 3k points, outlined
};

struct GPt {
    float x, y;
};

struct GlyphPart {
    GlyphOp op;
    int n;  // points used
    GPt pt[GLYPH_POINTS];
    float a0, sweep;
};

struct Glyph {
    int n;  // parts used
    GlyphPart part[GLYPH_PARTS];
};

// The glyph of a library category number; any number outside 0..13 gives the notice glyph.
const Glyph& glyphOf(int number);
