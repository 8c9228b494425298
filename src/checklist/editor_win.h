// The checklist editor window: hide tasks by unticking them, add own tasks, delete them, move
// tasks within their group and restore the default list. Every change is saved at once and the
// overlay follows. One window at most (hChk).
#pragma once
#include <windows.h>

// Opens the editor, or shows and focuses it when it is open already.
void openChecklistEditor();
