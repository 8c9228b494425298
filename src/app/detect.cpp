#include "app/detect.h"

#include <initializer_list>

namespace {

char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool contains(const char16_t* hay, int n, const char16_t* needle) {
    for (int i = 0; i < n; i++) {
        int k = 0;
        while (needle[k] && i + k < n && hay[i + k] == needle[k]) k++;
        if (!needle[k]) return true;
    }
    return false;
}

}  // namespace

int isGameName(const char16_t* name, const char16_t* gameExe) {
    if (!name) return 0;
    if (gameExe && gameExe[0]) {
        int k = 0;
        while (name[k] && gameExe[k] && lower(name[k]) == lower(gameExe[k])) k++;
        if (!name[k] && !gameExe[k]) return 1;
    }
    char16_t low[260];
    int n = 0;
    for (; name[n] && n < 259; n++) low[n] = lower(name[n]);
    low[n] = 0;
    if (!contains(low, n, u"division2") && !contains(low, n, u"division 2")) return 0;
    for (const char16_t* bad : {u"launcher", u"crash", u"report", u"setup", u"zenvoral"})
        if (contains(low, n, bad)) return 0;
    return 1;
}

VisStep visDecide(int running, int* wasRunning, int* forceShow, int* userHidden, int* editMode) {
    VisStep s{0, 0, 0, 0};
    if (running) {
        if (!*wasRunning) {
            *userHidden = 0;
            s.announce = 1;
            if (*editMode) {
                *editMode = 0;
                s.collapse = 1;
            }
        }
        *wasRunning = 1;
        s.show = !*userHidden;
    } else {
        if (*wasRunning) {
            *forceShow = 0;
            *userHidden = 0;
            if (*editMode) {
                *editMode = 0;
                s.collapse = 1;
            }
            s.offerUpdate = 1;
        }
        *wasRunning = 0;
        s.show = *forceShow && !*userHidden;
    }
    return s;
}
