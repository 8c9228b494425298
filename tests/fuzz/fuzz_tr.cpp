// Random texts through the segment cutting: Spanish gives the text back byte for byte; in other
// languages every separator survives and untranslatable text passes unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "l10n/tr.h"
#include "l10n/ui.h"

namespace {
const char* const ES[] = {"Blindaje", "Marca", "a"};
const char* const TR[] = {"Armor", "Brand", "b",  "Armure", "Marque", nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr};

size_t count(const std::string& s, const std::string& sep) {
    size_t n = 0;
    for (size_t at = s.find(sep); at != std::string::npos; at = s.find(sep, at + sep.size())) n++;
    return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string text((const char*)data + 1, size - 1);
    text = text.c_str();  // the cutting works on terminated text
    const char* seps[] = {TR_WHOLE, TR_SUB, TR_LINES};
    const char* sep = seps[data[0] % 3];
    bool own = data[0] & 4;
    trUseTables(own ? ES : nullptr, own ? TR : nullptr, own ? 3 : 0);

    uiSetLang(0);
    if (trSplit(text.c_str(), sep) != text || trTable(text.c_str()) != text) abort();

    uiSetLang(1 + (data[0] >> 3) % 5);
    std::string cut = trSplit(text.c_str(), sep);
    if (count(cut, sep) != count(text, sep)) abort();
    std::string tab = trTable(text.c_str());
    if (count(tab, "\t") != count(text, "\t") || count(tab, "\n") != count(text, "\n")) abort();
    for (int l = 1; l < LANG_COUNT; l++) trSegL(text.data(), text.size(), l);
    uiSetLang(0);
    trUseTables(nullptr, nullptr, 0);
    return 0;
}
