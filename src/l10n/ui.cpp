#include "l10n/ui.h"

#include <cstring>
#include <memory>
#include <string>

#include "base/utf.h"

const char* const LANG_CODE[LANG_COUNT] = {"es", "en", "fr", "de", "it", "pt"};
const char16_t* const LANG_NAME[LANG_COUNT] = {u"Español", u"English", u"Français",
                                               u"Deutsch", u"Italiano", u"Português (Brasil)"};

int lang = 0;

namespace {
std::unique_ptr<char16_t[]> uiCache[UI_COUNT];
}

const char* uiPick(const char* const* row, int l) {
    const char* s = row[l];
    if (!s || !*s) {
        const char* en = row[1];
        s = (l == 0 || !en || !*en) ? row[0] : en;
    }
    return s ? s : "";
}

const char16_t* T(int id) {
    if (id < 0 || id >= UI_COUNT) return u"";
    if (uiCache[id]) return uiCache[id].get();
    const char* s = uiPick(UI_TXT + id * LANG_COUNT, lang);
    std::u16string w = u8w(s ? s : "");
    auto buf = std::make_unique<char16_t[]>(w.size() + 1);
    std::memcpy(buf.get(), w.c_str(), (w.size() + 1) * sizeof(char16_t));
    uiCache[id] = std::move(buf);
    return uiCache[id].get();
}

int langFromCode(const char16_t* code) {
    if (!code) return -1;
    for (int i = 0; i < LANG_COUNT; i++) {
        const char* c = LANG_CODE[i];
        int k = 0;
        for (; c[k] && code[k]; k++) {
            char16_t ch = code[k];
            if (ch >= u'A' && ch <= u'Z') ch = char16_t(ch - u'A' + u'a');
            if (ch != char16_t(c[k])) break;
        }
        if (!c[k] && !code[k]) return i;
    }
    return -1;
}

int langFromSystem(unsigned langId) {
    switch (langId & 0x3FF) {
        case 0x07: return 3;
        case 0x0A: return 0;
        case 0x0C: return 2;
        case 0x10: return 4;
        case 0x16: return 5;
        default: return 1;
    }
}

void uiSetLang(int index) {
    if (index < 0 || index >= LANG_COUNT) return;
    lang = index;
    for (auto& p : uiCache) p.reset();
}

int uiCached(int id) { return id >= 0 && id < UI_COUNT && uiCache[id] ? 1 : 0; }

void uiLoadLang(Store& st, unsigned sysLangId) {
    std::u16string code = st.getStr("ajustes", "Idioma", u"", 64);
    int l = code.empty() ? -1 : langFromCode(code.c_str());
    if (l < 0) {
        l = langFromSystem(sysLangId);
        st.put("ajustes", "Idioma", u16of(LANG_CODE[l]));
    }
    uiSetLang(l);
}
