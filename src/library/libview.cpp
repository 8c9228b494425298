#include "library/libview.h"

const int ROWCAT[ROWCAT_N] = {0, 12, 13, 100, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14};

int rowLabelId(int value) { return value == 100 ? 167 : 62 + value; }

int rowOfValue(int value) {
    for (int i = 0; i < ROWCAT_N; i++)
        if (ROWCAT[i] == value) return i;
    return -1;
}

namespace {

int P(double v, double sc) { return (int)(v * sc + 0.5); }

LRect at(int x, int y, int w, int h) {
    LRect r;
    r.x = x;
    r.y = y;
    r.w = w < 0 ? 0 : w;
    r.h = h < 0 ? 0 : h;
    r.shown = true;
    return r;
}

}  // namespace

void libLayoutCalc(const LibLayoutIn& in, LibLayout& o) {
    o = LibLayout{};
    const double s = in.sc;
    const int W = in.w, H = in.h;
    const int m = P(12, s);

    if (!in.wide) {
        int catsH = H - P(2 * 12 + 44, s);
        if (in.update) {
            catsH -= P(44, s);
            o.upd = at(m, H - m - P(78, s), P(240, s), P(36, s));
        }
        o.cats = at(m, m, P(240, s), catsH);
        o.old = at(m, H - m - P(34, s), P(240, s), P(34, s));

        int x = P(240 + 2 * 12, s);
        o.search = at(x, m, P(300, s), P(28, s));
        int listTop = m + P(36, s);
        if (in.curCat == 0) {
            o.combo = at(x, m + P(36, s), P(256, s), P(28, s));
            o.comboDrop = P(400, s);
            o.menu = at(x + P(262, s), m + P(36, s), P(38, s), P(28, s));
            listTop = m + P(74, s);
        }
        o.list = at(x, listTop, P(300, s), H - m - listTop);
        o.colName = (int)(P(300, s) * 0.58);
        o.colType = (int)(P(300, s) * 0.42) - P(4, s) - in.scrollW;
    }

    int x = in.wide ? m : P(240 + 2 * 12 + 300 + 18, s);
    int rw = W - x - m;
    if (rw < P(120, s)) rw = P(120, s);
    o.bigPic = in.cat == 0 || in.cat == 8 || (in.cat >= 0 && in.table);
    int sq = P(o.bigPic ? 56 : 96, s);
    int off = P(o.bigPic ? 2 : 16, s);
    o.pic = at(x, m, sq, sq);
    int tx = x + sq + P(14, s);
    o.title = at(tx, m + off, x + rw - tx, P(34, s));
    o.sub = at(tx, m + off + P(34, s), x + rw - tx, P(22, s));

    // the buttons in rows from the left, 8 apart; the rows stack upwards from the bottom edge
    static const int widths[BTN_COUNT] = {220, 180, 190, 190, 170, 170, 170, 210};
    int rowOf[BTN_COUNT] = {}, rowsN = 0, bx = x;
    for (int b = 0; b < BTN_COUNT; b++) {
        if (!in.btn[b]) continue;
        int bw = P(widths[b], s);
        if (rowsN == 0 || (bx > x && bx + bw > x + rw)) {
            rowsN++;
            bx = x;
        }
        rowOf[b] = rowsN - 1;
        o.btn[b] = at(bx, 0, bw, P(32, s));
        bx += bw + P(8, s);
    }
    int by = H - m - P(32, s) - (rowsN > 1 ? (rowsN - 1) * P(40, s) : 0);  // the top row
    for (int b = 0; b < BTN_COUNT; b++)
        if (o.btn[b].shown) o.btn[b].y = by + rowOf[b] * P(40, s);

    int top = m + sq + P(12, s), bottom = by - P(10, s);
    if (in.cat == 8) {
        o.prev = at(x, top, rw, bottom - top);
    } else if (in.cat >= 0 && in.table) {
        o.body = at(x, top, rw, P(78, s));
        int gy = top + P(78, s) + P(8, s);
        o.grid = at(x, gy, rw, bottom - gy);
    } else {
        o.body = at(x, top, rw, bottom - top);
    }
}

bool libPlacementOk(int x, int y, int w, int h, double sc, int vx, int vy, int vw, int vh) {
    if (w < P(900, sc) || h < P(440, sc)) return false;
    return x > vx - w / 2 && x < vx + vw - P(100, sc) && y >= vy - P(10, sc) && y < vy + vh - P(100, sc);
}
