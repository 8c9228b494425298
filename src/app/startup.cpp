#include "app/startup.h"

#include "base/state.h"
#include "checklist/persist.h"
#include "l10n/keys.h"
#include "l10n/ui.h"

void loadState(Store& st, unsigned sysLangId) {
    StoreBatch batch(st);  // the first start's keys go in one write
    loadSettings(st);
    keysParse();
    catLoad(st);
    uiLoadLang(st, sysLangId);
}
