// Random queries (any UTF-16, unpaired surrogates included) against the built-in library and
// pack: folding stays in bounds, no entry is listed twice, at most 60 rows come from the
// typo-tolerant step, and every row's texts can be made.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datapack/install.h"
#include "datapack/pack.h"
#include "library/db.h"
#include "library/search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN);
        pkApplyHeader();
        dbInit(nullptr);
        return true;
    }();
    (void)ready;
    if (size < 1) return 0;
    static const int cats[] = {0, 1, 2, 5, 12, 13, 14, 100, -3, 999};
    int cat = cats[data[0] % 10];
    int hideOld = data[0] >> 7;
    std::u16string q;
    for (size_t i = 1; i + 1 < size; i += 2) q.push_back(char16_t(data[i] | data[i + 1] << 8));
    q = q.c_str();

    std::u16string f = q;
    foldInPlace(f);
    if (f.size() > q.size()) abort();

    if (data[0] & 0x40) fav[size % size_t(DBN)] = 1;
    std::vector<LibRow> rows;
    listRows(q.c_str(), cat, hideOld, rows);
    std::vector<unsigned char> seen(size_t(DBN), 0);
    int fuzzy = 0;
    for (const LibRow& r : rows) {
        if (r.entry < 0 || r.entry >= DBN || seen[r.entry]++) abort();
        fuzzy += r.fuzzy;
        if (cat == ROW_BUILD && !fav[r.entry]) abort();
        rowText2(r);
    }
    if (fuzzy > FUZZY_ROWS) abort();
    std::fill(fav.begin(), fav.end(), 0);
    return 0;
}
