#include "l10n/keys.h"

#include "base/state.h"

#include <initializer_list>

#include "l10n/ui.h"

namespace {

char16_t lower(char16_t c) {
    if (c >= u'A' && c <= u'Z') return char16_t(c - u'A' + u'a');
    if (c == u'Ú') return u'ú';
    return c;
}

bool same(const char16_t* a, int n, const char16_t* b) {
    int k = 0;
    for (; k < n && b[k]; k++)
        if (lower(a[k]) != lower(b[k])) return false;
    return k == n && !b[k];
}

bool any(const char16_t* tok, int n, std::initializer_list<const char16_t*> names) {
    for (auto nm : names)
        if (same(tok, n, nm)) return true;
    return false;
}

// Decimal number at s (digits only, at most n characters, saturating).
long number(const char16_t* s, int n) {
    long v = 0;
    for (int k = 0; k < n && s[k] >= u'0' && s[k] <= u'9'; k++) {
        v = v * 10 + (s[k] - u'0');
        if (v > 100000) return 100000;
    }
    return v;
}

void token(const char16_t* t, int n, unsigned* mods, unsigned* vk) {
    if (any(t, n, {u"ctrl", u"control", u"strg"})) { *mods |= MODK_CONTROL; return; }
    if (any(t, n, {u"alt"})) { *mods |= MODK_ALT; return; }
    if (any(t, n, {u"shift", u"mayus", u"mayús"})) { *mods |= MODK_SHIFT; return; }
    if (any(t, n, {u"win"})) { *mods |= MODK_WIN; return; }
    if ((t[0] == u'F' || t[0] == u'f') && n > 1 && t[1] >= u'1' && t[1] <= u'9') {
        long f = number(t + 1, n - 1);
        if (f >= 1 && f <= 24) *vk = unsigned(111 + f);
        return;
    }
    if (n == 1) {
        char16_t c = t[0];
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) *vk = c;
        return;
    }
    static const struct { const char16_t *a, *b; unsigned code; } named[] = {
        {u"insert", nullptr, 45}, {u"home", u"inicio", 36},       {u"end", u"fin", 35},
        {u"pageup", u"repag", 33}, {u"pagedown", u"avpag", 34},   {u"pause", u"pausa", 19},
        {u"scrolllock", u"bloqdespl", 145},
    };
    for (auto& k : named)
        if (same(t, n, k.a) || (k.b && same(t, n, k.b))) { *vk = k.code; return; }
    if (n == 4 && lower(t[0]) == u'n' && lower(t[1]) == u'u' && lower(t[2]) == u'm' && t[3] >= u'0' && t[3] <= u'9') {
        *vk = 96u + unsigned(t[3] - u'0');
        return;
    }
    if (n > 2 && lower(t[0]) == u'v' && lower(t[1]) == u'k') {
        long v = number(t + 2, n - 2);
        if (v >= 1 && v <= 255) *vk = unsigned(v);
    }
}

void append(char16_t* out, int& len, const char16_t* s) {
    while (*s && len < 63) out[len++] = *s++;
    out[len] = 0;
}

void appendNum(char16_t* out, int& len, unsigned v) {
    char16_t buf[12];
    int n = 0;
    do { buf[n++] = char16_t(u'0' + v % 10); v /= 10; } while (v && n < 11);
    while (n && len < 63) out[len++] = buf[--n];
    out[len] = 0;
}

}  // namespace

int parseKey(const char16_t* text, unsigned* mods, unsigned* vk) {
    *mods = 0;
    *vk = 0;
    if (!text) return 0;
    int total = 0;
    while (total < 63 && text[total]) total++;  // only the first 63 characters count
    int i = 0;
    while (i < total) {
        while (i < total && (text[i] == u'+' || text[i] == u' ')) i++;
        int start = i;
        while (i < total && text[i] != u'+' && text[i] != u' ') i++;
        if (i > start) token(text + start, i - start, mods, vk);
    }
    return *vk != 0;
}

char16_t* keyToStr(unsigned mods, unsigned vk, char16_t* out) {
    int len = 0;
    out[0] = 0;
    if (mods & MODK_CONTROL) append(out, len, lang == 3 ? u"Strg+" : u"Ctrl+");  // German keyboards say Strg
    if (mods & MODK_ALT) append(out, len, u"Alt+");
    if (mods & MODK_SHIFT) append(out, len, u"Shift+");
    if (mods & MODK_WIN) append(out, len, u"Win+");
    bool es = lang == 0;
    if (vk >= 112 && vk <= 135) { append(out, len, u"F"); appendNum(out, len, vk - 111); }
    else if ((vk >= 65 && vk <= 90) || (vk >= 48 && vk <= 57)) { char16_t c[2] = {char16_t(vk), 0}; append(out, len, c); }
    else if (vk == 19) append(out, len, es ? u"Pausa" : u"Pause");
    else if (vk == 33) append(out, len, es ? u"RePag" : u"PageUp");
    else if (vk == 34) append(out, len, es ? u"AvPag" : u"PageDown");
    else if (vk == 35) append(out, len, es ? u"Fin" : u"End");
    else if (vk == 36) append(out, len, es ? u"Inicio" : u"Home");
    else if (vk == 45) append(out, len, u"Insert");
    else if (vk >= 96 && vk <= 105) { append(out, len, u"Num"); appendNum(out, len, vk - 96); }
    else if (vk == 145) append(out, len, es ? u"BloqDespl" : u"ScrollLock");
    else { append(out, len, u"VK"); appendNum(out, len, vk); }
    return out;
}

int kbIsRepeat(KbRepeat& st, unsigned vk, uint32_t time) {
    if (vk == st.lastVk && uint32_t(time - st.lastTime) < 400u) {
        st.lastTime = time;
        return 1;
    }
    return 0;
}

void kbAccept(KbRepeat& st, unsigned vk, uint32_t time) {
    st.lastVk = vk;
    st.lastTime = time;
}

namespace {

// A text without a key falls back to the default for this run.
void parseOrDefault(char16_t* text, const char16_t* def, unsigned* vk, unsigned* mods) {
    if (!parseKey(text, mods, vk)) {
        keyTextSet(text, def);
        parseKey(text, mods, vk);
    }
}

}  // namespace

void keysParse() {
    parseOrDefault(keyEditStr, u"F8", &keyEditVk, &keyEditMods);
    parseOrDefault(keyHideStr, u"F7", &keyHideVk, &keyHideMods);
    parseOrDefault(keyLibStr, u"F9", &keyLibVk, &keyLibMods);
    parseOrDefault(keyQuitStr, u"F10", &keyQuitVk, &keyQuitMods);
}

void keysRender() {
    keyToStr(keyEditMods, keyEditVk, keyEditStr);
    keyToStr(keyHideMods, keyHideVk, keyHideStr);
    keyToStr(keyLibMods, keyLibVk, keyLibStr);
    keyToStr(keyQuitMods, keyQuitVk, keyQuitStr);
}
