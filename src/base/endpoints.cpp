#include "base/endpoints.h"

#include <cstdio>

std::u16string feedbackUrl(const char* langCode, unsigned long major, unsigned long minor, unsigned long build) {
    // the language code is two lowercase letters or nothing
    char code[3] = {0, 0, 0};
    for (int k = 0; k < 2 && langCode && langCode[k] >= 'a' && langCode[k] <= 'z'; k++) code[k] = langCode[k];
    if (!code[1]) code[0] = 0;
    char query[96];
    std::snprintf(query, sizeof query, "&b=%d&l=%s&w=%lu.%lu.%lu", ZV_BUILD, code, major, minor, build);
    std::u16string url = EP_FEEDBACK;
    url += u"?v=";
    url += ZV_VERSION;
    for (const char* q = query; *q; q++) url += char16_t(*q);
    return url;
}
