#include "overlay/layout.h"

#include "l10n/ui.h"

URect updRowU;
int newsY;
URect newsRowU[NEWS_MAX];
int groupY[3];
URect itemRowU[MAX_TASKS];
int streakY;
int doneMsgY;

namespace {

constexpr int X0 = 12, X1 = 288;

URect row(int top, int h) { return URect{X0, top, X1, top + h}; }

bool visible(int i, int g) { return i >= 0 && i < MAX_TASKS && !tHidden[i] && tasks[i].kind == g; }

// Built-in tasks with a second line get the tall row.
bool tall(int i) {
    if (i >= BUILTIN_TASKS) return false;
    const char16_t* s = T(2 * i + 1);
    return s && *s;
}

int layoutNormal(int y) {
    newsY = y;
    int n = nNews < 0 ? 0 : nNews > NEWS_MAX ? NEWS_MAX : nNews;
    for (int i = 0; i < NEWS_MAX; i++) newsRowU[i] = URect{};
    if (n > 0) {
        y += 30;
        for (int i = 0; i < n; i++) {
            newsRowU[i] = row(y, 26);
            y += 29;
        }
        y += 10;
    }
    for (int i = 0; i < MAX_TASKS; i++) itemRowU[i] = URect{};
    for (int g = 0; g < 3; g++) {
        groupY[g] = -1;
        int next = y + 30;
        bool any = false;
        for (int k = 0; k < NT; k++) {
            int i = ord[k];
            if (!visible(i, g)) continue;
            any = true;
            int h = tall(i) ? 40 : 30;
            itemRowU[i] = row(next, h);
            next += h + 3;
        }
        if (!any) continue;
        groupY[g] = y;
        y = next + 10;
    }
    streakY = y;
    return y + 82;
}

int layoutCompact(int y) {
    bool anyPending = false;
    for (int i = 0; i < MAX_TASKS; i++) itemRowU[i] = URect{};
    for (int g = 0; g < 3; g++) {
        int pending = 0;
        for (int k = 0; k < NT; k++) {
            int i = ord[k];
            if (visible(i, g) && !checked[i]) pending++;
        }
        groupY[g] = -1;
        if (!pending) continue;
        anyPending = true;
        groupY[g] = y;
        y += 28;
        for (int k = 0; k < NT; k++) {
            int i = ord[k];
            if (!visible(i, g) || checked[i]) continue;
            itemRowU[i] = row(y, 28);
            y += 31;
        }
        y += 6;
    }
    for (int i = 0; i < NEWS_MAX; i++) newsRowU[i] = URect{};
    if (!anyPending) {
        doneMsgY = y;
        y += 34;
    }
    streakY = -1;
    return y + 4;
}

}  // namespace

int ovLayout(int compactMode, int update) {
    doneMsgY = -1;
    updRowU = URect{};
    int y;
    if (update) {
        updRowU = row(60, 28);
        y = 96;
    } else {
        y = compactMode ? 58 : 60;
    }
    return compactMode ? layoutCompact(y) : layoutNormal(y);
}

double ovStartScale(double dpi, int escala, int workH, int* uiScaleOut) {
    if (escala < 80 || escala > 150) escala = 100;
    if (uiScaleOut) *uiScaleOut = escala;
    double s = dpi * escala / 100.0;
    if (s > dpi) {
        double fit = (workH - 70) / double(OV_FIT);
        if (s > fit) s = fit > dpi ? fit : dpi;
    }
    return s;
}

double ovFitScale(double want, double dpi, int units, int workH) {
    if (units <= 0) return want;
    double fit = (workH - OV_MARGIN) / double(units), least = dpi * OV_MIN_SCALE;
    if (want <= fit) return want;
    return fit > least ? fit : (want < least ? want : least);
}

int ovLayoutFit(int compactMode, int update, double s, int workH, int* rowsCompact) {
    int h = ovLayout(compactMode, update);
    *rowsCompact = compactMode ? 1 : 0;
    if (!compactMode && (int)(h * s + 0.5) > workH - OV_MARGIN) {
        h = ovLayout(1, update);  // even this scale is too tall for the whole list
        *rowsCompact = 1;
    }
    return h;
}

void ovStartPos(int* x, int* y, int margin, int edge, int virtW, int virtH) {
    if (*x < 0 || *y < 0) *x = *y = margin;
    if (*x > virtW - edge) *x = margin;
    if (*y > virtH - edge) *y = margin;
}

int ovAlpha(int opacity, int expanded) {
    int a = expanded ? opacity : opacity + 30;
    return a > 255 ? 255 : a < 0 ? 0 : a;
}
