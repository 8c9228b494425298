// Arbitrary bytes as a data pack: the parser, every accessor over every field, the header
// values, the news selection and the installer's version reading must stay in bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "datapack/install.h"
#include "datapack/news.h"
#include "datapack/pack.h"
#include "l10n/ui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = (const char*)data;
    if (std::strlen(pkVersionOf(text, size)) > 39) abort();
    if (!pkParse(text, size)) return 0;
    if (pkN < 1 || pkN > PK_BLOCKS || std::strcmp(pk[0].kind, "general") != 0) abort();
    for (int r = 0; r < pkN; r++) {
        const PackBlock* b = &pk[r];
        if (!b->kind || b->n < 0 || b->n > PK_FIELDS) abort();
        for (int i = 0; i < b->n; i++) {
            if (!b->key[i] || !b->val[i]) abort();
            const char* k = b->key[i];
            pget(b, k);
            pyes(b, k);
            if (pkTime(b, k) < 0) abort();
            seasonIdx(b->val[i]);
        }
    }
    pkResetHeader();
    pkApplyHeader();
    if (pkTu <= 0 || pkWindow <= 0 || pkSeason < 0) abort();
    for (int l = 0; l < LANG_COUNT; l += 5) {
        uiSetLang(l);
        newsRefresh(1796731200);  // 2026-12-08
        char16_t left[LEFT_TEXT];
        for (int i = 0; i < nNews; i++) newsCountdown(left, newsIni[i], newsFin[i], newsApx[i], 1796731200);
    }
    int force = size & 1;
    pkInstall(text, size, force, nullptr);
    return 0;
}
