#include "tools/settings.h"

#include "base/state.h"
#include "base/utf.h"
#include "checklist/clock.h"
#include "checklist/persist.h"
#include "l10n/keys.h"
#include "l10n/ui.h"

namespace {

struct KeyRef {
    unsigned* vk;
    unsigned* mods;
    char16_t* text;
    const char* name;
};
const KeyRef KEYS[KEY_ACTIONS] = {{&keyEditVk, &keyEditMods, keyEditStr, "TeclaEditar"},
                                  {&keyHideVk, &keyHideMods, keyHideStr, "TeclaOcultar"},
                                  {&keyLibVk, &keyLibMods, keyLibStr, "TeclaBiblioteca"},
                                  {&keyQuitVk, &keyQuitMods, keyQuitStr, "TeclaSalir"}};

}  // namespace

bool keyIsModifier(unsigned vk) {
    return vk == 16 || vk == 17 || vk == 18 || (vk >= 160 && vk <= 165) || vk == 91 || vk == 92;
}

void keysResolve(const unsigned boxes[KEY_ACTIONS], unsigned out[KEY_ACTIONS]) {
    for (int a = 0; a < KEY_ACTIONS; a++)
        out[a] = keyPackVk(boxes[a]) ? boxes[a] : keyPack(*KEYS[a].mods, *KEYS[a].vk);
}

int keysClash(const unsigned combos[KEY_ACTIONS]) {
    for (int a = 0; a < KEY_ACTIONS; a++)
        for (int b = a + 1; b < KEY_ACTIONS; b++)
            if (combos[a] == combos[b]) return 1;
    return 0;
}

int opacityToSlider(int opacity) { return (opacity * 100 + 127) / 255; }

int sliderToOpacity(int position) { return position * 255 < 6000 ? 60 : position * 255 / 100; }

int remindRowOf(int minutes) {
    if (minutes <= 0) return 0;
    for (int r = 1; r < 5; r++)
        if (REMIND_CHOICES[r] >= minutes) return r;
    return 4;
}

int scaleRowOf(int percent) {
    for (int r = 0; r < 4; r++)
        if (SCALE_CHOICES[r] == percent) return r;
    return 1;
}

int resetRowOf(int hour, int utc) { return (hour >= 0 && hour < 24 ? hour : 9) + (utc ? 24 : 0); }

std::u16string resetRowText(int row) {
    char16_t hour[8], out[64];
    fmtText(hour, 8, u"%02d:00", {row % 24});
    fmtText(out, 64, T(row < 24 ? 275 : 276), {hour});
    return out;
}

SettingsSaved settingsSave(const SettingsForm& f, long long now, int currentScale, Store& st) {
    unsigned combos[KEY_ACTIONS];
    keysResolve(f.keys, combos);
    if (keysClash(combos)) return SettingsSaved{0, currentScale, 0};
    StoreBatch batch(st);  // the whole form in one write

    for (int a = 0; a < KEY_ACTIONS; a++) {
        *KEYS[a].mods = keyPackMods(combos[a]);
        *KEYS[a].vk = keyPackVk(combos[a]);
        keyToStr(*KEYS[a].mods, *KEYS[a].vk, KEYS[a].text);
        st.put("ajustes", KEYS[a].name, KEYS[a].text);
    }

    if (f.resetRow >= 0 && f.resetRow < RESET_ROWS && f.resetRow != resetRowOf(resetHour, resetUtc)) {
        // the periods are stamped anew under the new hour, so no reset seems to have passed
        resetHour = f.resetRow % 24;
        resetUtc = f.resetRow >= 24;
        dailyStamp = lastDaily(now);
        weeklyStamp = lastWeekly(now);
    }
    st.put("ajustes", "HoraReinicio", u16num(resetHour));
    st.put("ajustes", "ReinicioUTC", resetUtc ? u"1" : u"0");

    // an untouched slider keeps the stored value: the percent steps cannot express every opacity
    if (f.slider != opacityToSlider(opacity)) opacity = sliderToOpacity(f.slider);
    st.put("ajustes", "Opacidad", u16num(opacity));

    if (!f.game.empty()) {
        gameExe = cutText(f.game, 259);
        st.put("ajustes", "ProcesoJuego", gameExe);
    }

    if (f.remindRow >= 0 && f.remindRow < 5) remindMin = REMIND_CHOICES[f.remindRow];
    st.put("ajustes", "AvisoMinutos", u16num(remindMin));

    st.put("ajustes", "URLDatos", cutText(f.dataUrl, 1023));

    int scale = (f.scaleRow >= 0 && f.scaleRow < 4) ? SCALE_CHOICES[f.scaleRow] : currentScale;
    st.put("ajustes", "Escala", u16num(scale));

    hideCapture = f.hideCapture ? 1 : 0;
    st.put("ajustes", "OcultarEnCaptura", hideCapture ? u"1" : u"0");

    saveState(st);
    return SettingsSaved{1, scale, scale != currentScale};
}
