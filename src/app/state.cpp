#include "app/state.h"

#include <cstring>

#include "app/keys.h"
#include "checklist/catalogue.h"
#include "l10n/ui.h"

Store* gStore = nullptr;

std::u16string gameExe = u"TheDivision2.exe";
int resetHour = 9;
int opacity = 215;
int remindMin = 60;
char16_t keyEditStr[KEY_TEXT], keyHideStr[KEY_TEXT], keyLibStr[KEY_TEXT], keyQuitStr[KEY_TEXT];
unsigned keyEditVk, keyEditMods, keyHideVk, keyHideMods, keyLibVk, keyLibMods, keyQuitVk, keyQuitMods;
long long dailyStamp, weeklyStamp;
long long remindDailyStamp, remindWeeklyStamp, streakToastStamp;
int bestStreak;
int posX = -1, posY = -1;

namespace {

void copyKey(char16_t* dst, const std::u16string& src) {
    size_t n = src.size() < KEY_TEXT - 1 ? src.size() : KEY_TEXT - 1;
    for (size_t i = 0; i < n; i++) dst[i] = src[i];
    dst[n] = 0;
}

// Reads a key text; an empty or missing one writes the default back.
void readKeyText(Store& st, const char* key, const char16_t* def, char16_t* out) {
    std::u16string v = st.getStr("ajustes", key, u"", KEY_TEXT);
    if (v.empty()) {
        copyKey(out, def);
        st.put("ajustes", key, def);
    } else {
        copyKey(out, v);
    }
}

// Parses a key text; a text without a key falls back to the default for this run.
void parseOrDefault(char16_t* text, const char16_t* def, unsigned* vk, unsigned* mods) {
    if (!parseKey(text, mods, vk)) {
        copyKey(text, def);
        parseKey(text, mods, vk);
    }
}

// Calls f for every number in a comma-separated list; pieces that are not numbers are skipped.
template <class F>
void eachNumber(const std::u16string& s, F f) {
    size_t pos = 0;
    while (pos < s.size()) {
        size_t end = s.find(u',', pos);
        if (end == std::u16string::npos) end = s.size();
        size_t a = pos;
        while (a < end && s[a] == u' ') a++;
        if (a < end && ((s[a] >= u'0' && s[a] <= u'9') || (s[a] == u'-' && a + 1 < end)))
            f(u16toll(s.substr(a, end - a)));
        pos = end + 1;
    }
}

}  // namespace

long long readI64(Store& st, const char* sec, const char* key) {
    return u16toll(st.getStr(sec, key, u"0", 64));
}

void loadState(Store& st, unsigned sysLangId) {
    if (!st.exists()) {
        st.put("ajustes", "ProcesoJuego", u"TheDivision2.exe");
        st.put("ajustes", "HoraReinicio", u"9");
        st.put("ajustes", "Opacidad", u"215");
    }
    gameExe = st.getStr("ajustes", "ProcesoJuego", u"TheDivision2.exe", 260);
    resetHour = int(unsigned(st.getInt("ajustes", "HoraReinicio", 9)) % 24u);
    opacity = st.getInt("ajustes", "Opacidad", 215);
    if (opacity < 60) opacity = 60;
    if (opacity > 255) opacity = 255;

    readKeyText(st, "TeclaEditar", u"F8", keyEditStr);
    readKeyText(st, "TeclaOcultar", u"F7", keyHideStr);
    parseOrDefault(keyEditStr, u"F8", &keyEditVk, &keyEditMods);
    parseOrDefault(keyHideStr, u"F7", &keyHideVk, &keyHideMods);
    readKeyText(st, "TeclaBiblioteca", u"F9", keyLibStr);
    parseOrDefault(keyLibStr, u"F9", &keyLibVk, &keyLibMods);
    readKeyText(st, "TeclaSalir", u"F10", keyQuitStr);
    parseOrDefault(keyQuitStr, u"F10", &keyQuitVk, &keyQuitMods);

    catReset();
    // the program writes at most 35 lines; a damaged count must not make start-up walk
    // billions of missing keys
    int n = st.getInt("checklist", "n", 0);
    if (n > 200) n = 200;
    for (int i = 0; i < n && NT < MAX_TASKS; i++) {
        std::string key = "t" + std::to_string(i);
        std::u16string line = st.getStr("checklist", key.c_str(), u"", 199);
        if (line.size() < 3 || line[1] != u'|') continue;
        int kind = int(line[0]) - int(u'0');
        if (kind < 0 || kind > 2) kind = 0;
        catAdd(kind, line.c_str() + 2);
    }
    eachNumber(st.getStr("checklist", "ocultas", u"", 199), [](long long v) {
        if (v >= 0 && v < NT) tHidden[v] = 1;
    });
    int taken[MAX_TASKS] = {0};
    int m = 0;
    eachNumber(st.getStr("checklist", "orden", u"", 199), [&](long long v) {
        if (m < NT && v >= 0 && v < NT && !taken[v]) {
            taken[v] = 1;
            ord[m++] = int(v);
        }
    });
    for (int i = 0; i < NT; i++)
        if (!taken[i]) ord[m++] = i;

    for (int i = 0; i < NT; i++) {
        std::string key = "c" + std::to_string(i);
        checked[i] = st.getInt("estado", key.c_str(), 0) != 0;
    }
    dailyStamp = readI64(st, "estado", "dailyStamp");
    weeklyStamp = readI64(st, "estado", "weeklyStamp");
    remindMin = st.getInt("ajustes", "AvisoMinutos", 60);
    bestStreak = st.getInt("estado", "mejorRacha", 0);
    remindDailyStamp = readI64(st, "estado", "avisoDiario");
    remindWeeklyStamp = readI64(st, "estado", "avisoSemanal");
    streakToastStamp = readI64(st, "estado", "avisoRacha");
    posX = st.getInt("estado", "posX", -1);
    posY = st.getInt("estado", "posY", -1);

    std::u16string code = st.getStr("ajustes", "Idioma", u"", 64);
    int l = code.empty() ? -1 : langFromCode(code.c_str());
    if (l < 0) {
        l = langFromSystem(sysLangId);
        st.put("ajustes", "Idioma", u16of(LANG_CODE[l]));
    }
    uiSetLang(l);
}

void saveState(Store& st) {
    for (int i = 0; i < NT; i++) {
        std::string key = "c" + std::to_string(i);
        st.put("estado", key.c_str(), checked[i] ? u"1" : u"0");
    }
    st.put("estado", "dailyStamp", u16num(dailyStamp));
    st.put("estado", "weeklyStamp", u16num(weeklyStamp));
    st.put("estado", "posX", u16num(posX));
    st.put("estado", "posY", u16num(posY));
}

void checklistSave(Store& st) {
    st.delSection("checklist");
    st.put("checklist", "n", u16num(NT - BUILTIN_TASKS));
    for (int i = BUILTIN_TASKS; i < NT; i++) {
        std::string key = "t" + std::to_string(i - BUILTIN_TASKS);
        st.put("checklist", key.c_str(), u16num(tasks[i].kind) + u"|" + std::u16string(tCustom[i]));
    }
    std::u16string hidden, order;
    for (int i = 0; i < NT; i++)
        if (tHidden[i]) hidden += u16num(i) + u",";
    for (int i = 0; i < NT; i++) order += u16num(ord[i]) + u",";
    st.put("checklist", "ocultas", hidden);
    st.put("checklist", "orden", order);
}

void keysRender() {
    keyToStr(keyEditMods, keyEditVk, keyEditStr);
    keyToStr(keyHideMods, keyHideVk, keyHideStr);
    keyToStr(keyLibMods, keyLibVk, keyLibStr);
    keyToStr(keyQuitMods, keyQuitVk, keyQuitStr);
}
