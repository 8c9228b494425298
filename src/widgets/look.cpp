#include "widgets/look.h"

BtnLook btnLook(int id) {
    switch (id) {
        case 308:
        case 309:
        case 312:
        case 318: return BTN_PRIMARY;
        case 313: return BTN_CHECK;
        default: return BTN_SECONDARY;
    }
}

BtnColours btnColours(BtnLook look, bool pressed, bool disabled, bool owned) {
    if (disabled) return BtnColours{COL_PANEL, COL_BORDER, COL_BORDER};
    if (look == BTN_PRIMARY) return BtnColours{pressed ? COL_ACCENT_DOWN : COL_ACCENT, COL_NONE, COL_BG};
    return BtnColours{pressed ? COL_BORDER : COL_PANEL, COL_BORDER, owned ? COL_GOOD : COL_TEXT};
}

void askTrim(char16_t* buf) {
    if (!buf) return;
    int n = 0;
    while (buf[n]) n++;
    int a = 0;
    while (a < n && buf[a] == u' ') a++;
    while (n > a && buf[n - 1] == u' ') n--;
    int k = 0;
    for (int i = a; i < n; i++) buf[k++] = buf[i];
    buf[k] = 0;
}

int askResult(bool endedOk, char16_t* buf) {
    if (!buf) return endedOk ? 1 : 0;
    askTrim(buf);
    return endedOk && buf[0] ? 1 : 0;
}
