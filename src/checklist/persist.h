// The checklist's state in the settings file: own tasks, hidden tasks and order (section
// "checklist"), completion flags with the period stamps and overlay position (section "estado").
#pragma once
#include "base/store.h"

// Loads the catalogue (built-in plus own tasks, hidden, order) and the completion flags.
void catLoad(Store& st);

// Completion flags, period stamps and overlay position into section "estado".
void saveState(Store& st);

// Rewrites section "checklist" from the catalogue (custom tasks, hidden tasks, order).
void checklistSave(Store& st);
