// The checklist editor's operations on the catalogue, without the window: add an own task
// after the selected one, delete an own task, move a task within its group, restore the
// default catalogue. Each leaves ord a permutation of 0..NT-1; the shell saves and redraws.
#pragma once

// Adds an own task named name (cut to 79 units at a character boundary) to the group of task
// sel, right after it in the order; sel < 0 adds a daily task at the end. Returns its index,
// or -1 when the catalogue holds 48 tasks.
int chkAddAfter(int sel, const char16_t* name);

// Deletes own task i (i >= 13): later tasks move down one index with their text, kind, hidden
// and completion flags, and ord drops i and renumbers. Returns 1, or 0 for a built-in task or
// an index out of range.
int chkDeleteTask(int i);

// Moves task i one place up (dir -1) or down (+1) among the tasks of its own group, jumping
// over tasks of other groups; stops at the edge of its group. Returns 1 when it moved.
int chkMoveTask(int i, int dir);

// Back to the 13 built-in tasks, all shown, in the natural order; completion flags stay.
void chkRestoreAll();
