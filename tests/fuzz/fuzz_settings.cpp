// Arbitrary settings files, in whatever encoding they seem to be, through loadState: the loaded
// state must always be usable, and the file written back must read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "l10n/keys.h"
#include "base/state.h"
#include "checklist/catalogue.h"
#include "base/inifile.h"
#include "base/utf.h"
#include "app/startup.h"
#include "checklist/persist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes((const char*)data, size);
    MemStore st;
    std::u16string text = iniDecode(bytes, iniDetect(bytes));
    iniHealth(text);
    st.load(text);
    loadState(st, 0x0C0A);
    if (NT < 13 || NT > 48 || resetHour < 0 || resetHour > 23 || (resetUtc & ~1) || opacity < 60 || opacity > 255) abort();
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
    // what is written reads back the same, through the file's bytes
    int nt = NT, order[MAX_TASKS], done[MAX_TASKS];
    for (int i = 0; i < NT; i++) order[i] = ord[i], done[i] = checked[i];
    std::string file = iniBytes(st.text());
    MemStore again;
    again.load(iniDecode(file, iniDetect(file)));
    if (again.text() != st.text()) abort();
    loadState(again, 0x0C0A);
    if (NT != nt) abort();
    for (int i = 0; i < NT; i++)
        if (ord[i] != order[i] || checked[i] != done[i]) abort();
    return 0;
}
