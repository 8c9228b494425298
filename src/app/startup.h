// Loading everything the settings file holds, in the order start-up needs it.
#pragma once
#include "base/store.h"

// Loads settings, keys, the checklist and the language; creates the file with its first keys
// when it does not exist. sysLangId is the system's UI language id, used when no valid language
// is stored.
void loadState(Store& st, unsigned sysLangId);
