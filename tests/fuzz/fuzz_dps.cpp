// Arbitrary bytes as typed numbers (UTF-16) and as a library entry's body (UTF-8, it may come
// from a data pack): the reader stays in bounds, every figure is finite and not negative, and
// no result text overflows or reads "inf" or "nan".
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/dps.h"

namespace {
void checkText(const std::u16string& t) {
    if (t.empty() || t.size() > size_t(DPS_TEXT_MAX)) abort();
    for (char16_t c : t)
        if (c == u'i' || c == u'n' || c == u'a') abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string typed;
    for (size_t i = 0; i + 1 < size; i += 2) typed += char16_t(data[i] | data[i + 1] << 8);
    double in[DPS_FIELDS];
    size_t part = typed.size() / DPS_FIELDS + 1;
    for (int k = 0; k < DPS_FIELDS; k++) {
        std::u16string piece = typed.substr(std::min(typed.size(), k * part), part);
        in[k] = dpsParse(piece.c_str());
        if (!std::isfinite(in[k]) || in[k] < 0 || in[k] > 1e15) abort();
    }
    DpsOut o = dpsCompute(in);
    for (int k = 0; k < DPS_RESULTS; k++) checkText(dpsResultText(o, k));
    std::string body((const char*)data, size);
    DpsPrefill p;
    int n = dpsFromEntry(body.c_str(), &p);
    if (n < 0 || n > 5) abort();
    for (int k = 0; k < DPS_FIELDS; k++) {
        if (p.have[k] != !p.text[k].empty()) abort();
        if (p.have[k] && !std::isfinite(dpsParse(p.text[k].c_str()))) abort();
    }
    return 0;
}
