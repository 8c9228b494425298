// Arbitrary bytes as an update manifest: the parser, the offer decision and the notes lookup
// must stay in bounds, and what they store must fit its buffers.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/utf.h"
#include "l10n/ui.h"
#include "update/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* text = (char*)std::malloc(size + 1);
    std::memcpy(text, data, size);
    text[size] = 0;
    char16_t ver[UPD_VER];
    int r = updTake(text, int(size & 1), ver);  // takes ownership
    if (r < UPD_INVALID || r > UPD_NEWER) abort();
    if (updInfo.n < 0 || updInfo.n > UPD_PAIRS) abort();
    for (int i = 0; i < updInfo.n; i++)
        if (!updInfo.key[i] || !updInfo.val[i] || std::strchr(updInfo.key[i], '\n')) abort();
    if (r != UPD_INVALID) {
        if (!ver[0] || !updUrl[0]) abort();
        for (const char16_t* c = updSha; *c; c++)
            if (*c >= u'A' && *c <= u'Z') abort();
    }
    for (int l = 0; l < LANG_COUNT; l++) {
        uiSetLang(l);
        updNotes(l);
    }
    verNewer((const char*)text, "0.0.9");
    return 0;
}
