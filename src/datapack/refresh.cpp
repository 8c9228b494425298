#include "datapack/refresh.h"

#include "base/utf.h"

int checksDue(int first, long long now, long long last) { return first || now - last > PK_CHECK_EVERY; }

std::u16string pkAddress(const char16_t* dataUrl, const char* headerUrl) {
    std::u16string a = dataUrl ? dataUrl : u"";
    if (a.empty() && headerUrl) a = u8w(headerUrl);
    if (a.size() >= 1024) a = cutText(a, 1023);
    return a.compare(0, 4, u"http") == 0 ? a : std::u16string();
}
