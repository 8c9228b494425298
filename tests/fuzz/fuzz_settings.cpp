// Arbitrary settings files through loadState: the loaded state must always be usable.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "l10n/keys.h"
#include "base/state.h"
#include "checklist/catalogue.h"
#include "base/utf.h"
#include "app/startup.h"
#include "checklist/persist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemStore st;
    st.load(u8w(std::string_view((const char*)data, size)));
    loadState(st, 0x0C0A);
    if (NT < 13 || NT > 48 || resetHour < 0 || resetHour > 23 || opacity < 60 || opacity > 255) abort();
    int seen[MAX_TASKS] = {0};
    for (int i = 0; i < NT; i++) {
        if (ord[i] < 0 || ord[i] >= NT || seen[ord[i]]++) abort();
        if (tasks[i].kind < 0 || tasks[i].kind > 2) abort();
    }
    if (!keyEditVk || !keyHideVk || !keyLibVk || !keyQuitVk) abort();
    // every rendered key parses back to itself
    char16_t out[64];
    unsigned m, v;
    keyToStr(keyEditMods, keyEditVk, out);
    if (!parseKey(out, &m, &v) || m != keyEditMods || v != keyEditVk) abort();
    checklistSave(st);
    saveState(st);
    return 0;
}
