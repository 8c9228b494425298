#include "tools/about.h"

#include "base/endpoints.h"
#include "checklist/clock.h"
#include "l10n/ui.h"

std::u16string aboutVersion() {
    char16_t buf[81];
    fmtText(buf, 81, T(225), {ZV_VERSION});
    return buf;
}

std::u16string aboutCredits() {
    char16_t buf[3][300];
    fmtText(buf[0], 300, T(TXT_CREDIT_DATA), {CREDIT_DATA, CREDIT_DATA_BY, CREDIT_LICENCE});
    fmtText(buf[1], 300, T(TXT_CREDIT_FONTS), {CREDIT_FONT1, CREDIT_FONT2});
    fmtText(buf[2], 300, T(TXT_CREDIT_ICON), {});
    return std::u16string(buf[0]) + u"\n" + buf[1] + u"\n" + buf[2];
}
