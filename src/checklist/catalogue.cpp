#include "checklist/catalogue.h"

#include "base/utf.h"
#include "l10n/ui.h"

Task tasks[MAX_TASKS];
int NT = BUILTIN_TASKS;
int checked[MAX_TASKS];
int tHidden[MAX_TASKS];
char16_t tCustom[MAX_TASKS][CUSTOM_TEXT];
int ord[MAX_TASKS];

namespace {
const Task BUILTIN[BUILTIN_TASKS] = {
    {u"Proyectos diarios", u"Tablón de la Casa Blanca", 0},
    {u"Cuenta atrás ×1–2", u"Mejor botín por minuto", 0},
    {u"Botín objetivo del día", u"Heroico o puntos de control", 0},
    {u"Invertir en pericia", u"Gasta los materiales", 0},
    {u"La Cumbre", u"Farmea la pieza de tu build", 1},
    {u"Descenso", u"Progreso y exóticos", 1},
    {u"Temporada", u"Cacería y pase de temporada", 1},
    {u"Zona Oscura", u"Exóticos y material", 1},
    {u"Proyectos semanales", u"", 2},
    {u"Revisar vendedores", u"Rotan cada martes", 2},
    {u"Biblioteca de Kenly", u"Retos semanales", 2},
    {u"Incursión o raid", u"Con grupo o emparejamiento", 2},
    {u"Misiones legendarias", u"Para exóticos concretos", 2},
};
}  // namespace

void catReset() {
    NT = BUILTIN_TASKS;
    for (int i = 0; i < MAX_TASKS; i++) {
        tasks[i] = i < BUILTIN_TASKS ? BUILTIN[i] : Task{u"", u"", 0};
        checked[i] = 0;
        tHidden[i] = 0;
        tCustom[i][0] = 0;
        ord[i] = i;
    }
}

int catAdd(int kind, const char16_t* text) {
    if (NT >= MAX_TASKS) return -1;
    int i = NT++;
    tasks[i] = Task{u"", u"", (kind >= 0 && kind <= 2) ? kind : 0};
    copyCut(tCustom[i], CUSTOM_TEXT, text ? std::u16string_view(text) : std::u16string_view());
    checked[i] = 0;
    tHidden[i] = 0;
    return i;
}

void coreCount(int* done, int* total, int* optDone) {
    *done = *total = *optDone = 0;
    for (int i = 0; i < NT; i++) {
        if (tHidden[i]) continue;
        if (tasks[i].kind == 0) {
            (*total)++;
            *done += checked[i] ? 1 : 0;
        } else if (tasks[i].kind == 1) {
            *optDone += checked[i] ? 1 : 0;
        }
    }
}

int dailyComplete() {
    int d, t, o;
    coreCount(&d, &t, &o);
    return t > 0 && d >= t;
}

const char16_t* taskName(int i) { return i < BUILTIN_TASKS ? T(2 * i) : tCustom[i]; }
const char16_t* taskNote(int i) { return i < BUILTIN_TASKS ? T(2 * i + 1) : u""; }
