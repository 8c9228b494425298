// The routine catalogue: 13 built-in tasks of the game in three groups plus up to 35 of the
// player's own, with hidden flags, a display order and one completion flag per task.
#pragma once

constexpr int MAX_TASKS = 48;
constexpr int BUILTIN_TASKS = 13;
constexpr int CUSTOM_TEXT = 80;  // characters of a custom task's text, terminator included

struct Task {
    const char16_t* label;  // Spanish name of a built-in task, "" for a custom task
    const char16_t* note;   // Spanish second line, "" for a custom task
    int kind;               // 0 daily, 1 daily if there is time, 2 weekly
};

extern Task tasks[MAX_TASKS];
extern int NT;
extern int checked[MAX_TASKS];
extern int tHidden[MAX_TASKS];
extern char16_t tCustom[MAX_TASKS][CUSTOM_TEXT];
extern int ord[MAX_TASKS];

// A fresh catalogue: the built-in tasks, nothing hidden, natural order, nothing checked.
void catReset();

// Appends a custom task; returns its index or -1 when the catalogue is full.
int catAdd(int kind, const char16_t* text);

// Visible kind-0 tasks: total and done; checked visible kind-1 tasks: optDone.
void coreCount(int* done, int* total, int* optDone);

// The daily routine is complete: at least one visible daily task and all of them checked.
int dailyComplete();

// Display name and second line of a task in the current language (second line may be "").
const char16_t* taskName(int i);
const char16_t* taskNote(int i);
