// Set-up shared by the builds tests: a small library's keys, a fresh builds module over them,
// and the pieces of the current build.
#pragma once
#include <string>
#include <vector>

#include "base/store.h"
#include "builds/builds.h"
#include "l10n/ui.h"

inline const std::vector<std::u16string> KEYS = {
    u"1|Striker", u"1|Heartbreaker", u"2|Ceska", u"3|Eagle Bearer", u"4|Coyote's Mask",
    u"5|Strained", u"6|Glass Cannon", u"7|Magazine", u"8|Captura 1", u"9|Tabla de daño",
};

// A fresh module over KEYS (Spanish interface) with the given settings text, loaded.
inline void start(MemStore& s, const std::u16string& ini = u"") {
    uiSetLang(0);
    s.load(ini);
    buildsReset();
    buildsAttach(KEYS);
    buildsLoad(s);
}

// Indices of the library entries in the current build.
inline std::vector<int> pieces() {
    std::vector<int> r;
    for (size_t i = 0; i < fav.size(); i++)
        if (fav[i]) r.push_back(int(i));
    return r;
}
