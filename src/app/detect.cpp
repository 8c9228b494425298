#include "app/detect.h"

#include <initializer_list>
#include <string>

#include "base/casefold.h"
#include "base/utf.h"

int isGameName(const char16_t* name, const char16_t* gameExe) {
    if (!name) return 0;
    // names are compared case-folded in full, so every script's capitals match ("ÉLITE.EXE")
    if (gameExe && gameExe[0] && sameFolded(name, gameExe)) return 1;
    std::u16string_view whole(name);
    std::u16string low = caseFold(whole.substr(0, cutLen(whole, 259)));
    if (low.find(u"division2") == std::u16string::npos && low.find(u"division 2") == std::u16string::npos) return 0;
    for (const char16_t* bad : {u"launcher", u"crash", u"report", u"setup", u"zenvoral"})
        if (low.find(bad) != std::u16string::npos) return 0;
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
