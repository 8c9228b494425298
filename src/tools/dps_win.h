// The DPS calculator window (hDps): opened from the tray, the settings window and a library
// weapon's "Usar en la calculadora" action.
#pragma once
#include <windows.h>

#include "tools/dps.h"

// Opens the calculator with its default figures, or brings the open one to the front.
void openDps();
// Opens it (or brings it forward) and puts the figures that p has into their boxes.
void openDpsWith(const DpsPrefill& p);
// The library weapon action: the figures of an entry's body (Spanish), the weapon's figures it
// does not state at their defaults, the bonuses as they were; 0 when it has none (the calculator
// is not opened then).
int dpsUseEntry(const char* body);
// Reads the nine boxes, recomputes the results and repaints the results panel.
void dpsCalc(HWND h);
