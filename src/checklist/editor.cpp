#include "checklist/editor.h"

#include "checklist/catalogue.h"

int chkAddAfter(int sel, const char16_t* name) {
    if (sel >= NT) sel = -1;
    int kind = sel >= 0 ? tasks[sel].kind : 0;
    int i = catAdd(kind, name);
    if (i < 0) return -1;
    int at = NT - 1;  // the new index goes last unless a selected task is found
    if (sel >= 0)
        for (int p = 0; p < NT - 1; p++)
            if (ord[p] == sel) {
                at = p + 1;
                break;
            }
    for (int p = NT - 1; p > at; p--) ord[p] = ord[p - 1];
    ord[at] = i;
    return i;
}

int chkDeleteTask(int i) {
    if (i < BUILTIN_TASKS || i >= NT) return 0;
    for (int k = i; k < NT - 1; k++) {
        tasks[k] = tasks[k + 1];
        for (int c = 0; c < CUSTOM_TEXT; c++) tCustom[k][c] = tCustom[k + 1][c];
        tHidden[k] = tHidden[k + 1];
        checked[k] = checked[k + 1];
    }
    NT--;
    tasks[NT] = Task{u"", u"", 0};
    tCustom[NT][0] = 0;
    tHidden[NT] = checked[NT] = 0;
    int m = 0;
    for (int p = 0; p <= NT; p++) {
        if (ord[p] == i) continue;
        ord[m++] = ord[p] > i ? ord[p] - 1 : ord[p];
    }
    for (int p = NT; p < MAX_TASKS; p++) ord[p] = p;
    return 1;
}

int chkMoveTask(int i, int dir) {
    if (i < 0 || i >= NT || (dir != 1 && dir != -1)) return 0;
    int p = 0;
    while (p < NT && ord[p] != i) p++;
    if (p == NT) return 0;
    for (int q = p + dir; q >= 0 && q < NT; q += dir)
        if (tasks[ord[q]].kind == tasks[i].kind) {
            ord[p] = ord[q];
            ord[q] = i;
            return 1;
        }
    return 0;
}

void chkRestoreAll() {
    NT = BUILTIN_TASKS;
    for (int i = 0; i < MAX_TASKS; i++) {
        tHidden[i] = 0;
        ord[i] = i;
        if (i >= BUILTIN_TASKS) {
            tasks[i] = Task{u"", u"", 0};
            tCustom[i][0] = 0;
            checked[i] = 0;
        }
    }
}
