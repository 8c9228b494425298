#include "tools/feedback_win.h"

#include "base/base_win.h"
#include "base/endpoints.h"
#include "l10n/ui.h"

void openFeedback() {
    openUrl(W(feedbackUrl(LANG_CODE[lang], winMajor, winMinor, winBuild).c_str()));
}
