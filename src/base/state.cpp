#include "base/state.h"

#include <cstring>

#include "base/utf.h"

Store* gStore = nullptr;

std::u16string gameExe = u"TheDivision2.exe";
int resetHour = 9;
int resetUtc;
int opacity = 215;
int remindMin = 60;
char16_t keyEditStr[KEY_TEXT], keyHideStr[KEY_TEXT], keyLibStr[KEY_TEXT], keyQuitStr[KEY_TEXT];
unsigned keyEditVk, keyEditMods, keyHideVk, keyHideMods, keyLibVk, keyLibMods, keyQuitVk, keyQuitMods;
long long dailyStamp, weeklyStamp;
long long remindDailyStamp, remindWeeklyStamp, streakToastStamp;
int bestStreak;
int posX = -1, posY = -1;
int hideCapture;

namespace {

void copyKey(char16_t* dst, const std::u16string& src) { copyCut(dst, KEY_TEXT, src); }

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

}  // namespace

long long readI64(Store& st, const char* sec, const char* key) {
    return u16toll(st.getStr(sec, key, u"0", 64));
}

void loadSettings(Store& st) {
    if (!st.exists()) {
        st.put("ajustes", "ProcesoJuego", u"TheDivision2.exe");
        st.put("ajustes", "HoraReinicio", u"9");
        st.put("ajustes", "Opacidad", u"215");
    }
    gameExe = st.getStr("ajustes", "ProcesoJuego", u"TheDivision2.exe", 260);
    resetHour = int(unsigned(st.getInt("ajustes", "HoraReinicio", 9)) % 24u);
    resetUtc = st.getInt("ajustes", "ReinicioUTC", 0) != 0;  // a file without it keeps local time
    opacity = st.getInt("ajustes", "Opacidad", 215);
    if (opacity < 60) opacity = 60;
    if (opacity > 255) opacity = 255;

    readKeyText(st, "TeclaEditar", u"F8", keyEditStr);
    readKeyText(st, "TeclaOcultar", u"F7", keyHideStr);
    readKeyText(st, "TeclaBiblioteca", u"F9", keyLibStr);
    readKeyText(st, "TeclaSalir", u"F10", keyQuitStr);

    dailyStamp = readI64(st, "estado", "dailyStamp");
    weeklyStamp = readI64(st, "estado", "weeklyStamp");
    remindMin = st.getInt("ajustes", "AvisoMinutos", 60);
    bestStreak = st.getInt("estado", "mejorRacha", 0);
    remindDailyStamp = readI64(st, "estado", "avisoDiario");
    remindWeeklyStamp = readI64(st, "estado", "avisoSemanal");
    streakToastStamp = readI64(st, "estado", "avisoRacha");
    posX = st.getInt("estado", "posX", -1);
    posY = st.getInt("estado", "posY", -1);
    hideCapture = st.getInt("ajustes", "OcultarEnCaptura", 0) != 0;
}

void keyTextSet(char16_t* dst, const std::u16string& src) { copyKey(dst, src); }
