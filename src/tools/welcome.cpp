#include "tools/welcome.h"

#include "l10n/ui.h"

int welTitleId(int page) { return 211 + 2 * page; }
int welBodyId(int page) { return 212 + 2 * page; }
int welNextTextId(int page) { return page >= WEL_PAGES - 1 ? 221 : 219; }
int welBackShown(int page) { return page > 0 ? 1 : 0; }
int welAfterNext(int page) { return page >= WEL_PAGES - 1 ? -1 : page + 1; }
int welAfterBack(int page) { return page > 0 ? page - 1 : 0; }

std::u16string welBody(int page, const char16_t* const keys[4]) {
    const char16_t* body = T(welBodyId(page));
    if (page != 1 || !keys) return body;
    // the key page's texts begin their first lines with the default keys
    static const char16_t* const DEFAULT[4] = {u"F8", u"F7", u"F9", u"F10"};
    std::u16string in = body, out;
    size_t pos = 0;
    while (pos <= in.size()) {
        size_t end = in.find(u'\n', pos);
        if (end == std::u16string::npos) end = in.size();
        std::u16string line = in.substr(pos, end - pos);
        for (int k = 0; k < 4; k++) {
            std::u16string d = std::u16string(DEFAULT[k]) + u"  ";
            if (line.compare(0, d.size(), d) == 0 && keys[k] && *keys[k]) {
                line = std::u16string(keys[k]) + line.substr(d.size() - 2);
                break;
            }
        }
        out += line;
        if (end < in.size()) out += u'\n';
        pos = end + 1;
    }
    return out;
}

void welCaps(const double textW[4], WelCap out[4]) {
    const int x0 = 36, y0 = 60;
    double widest = 0;
    for (int k = 0; k < 4; k++)
        if (textW[k] > widest) widest = textW[k];
    if (widest <= WEL_CAP_W - 2 * WEL_CAP_PAD) {
        // F8 and F7 side by side, F9 and F10 below them
        for (int k = 0; k < 4; k++) out[k] = {x0 + 70 * (k % 2), y0 + 54 * (k / 2), WEL_CAP_W, WEL_CAP_H};
        return;
    }
    int w = (int)(widest + 2 * WEL_CAP_PAD + 4.999);  // a little room so rounding never cuts it
    if (w > WEL_CAP_MAXW) w = WEL_CAP_MAXW;
    for (int k = 0; k < 4; k++) out[k] = {x0, y0 + 50 * k, w, WEL_CAP_H};
}
