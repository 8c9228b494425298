// The settings window: language, the four keys, reset hour, opacity, reminder, game process,
// autostart, always showing the overlay, interface size and the data pack address, plus the
// buttons that open the other tools. Nothing is applied until "Guardar". While it is open the
// global keys are off so its key boxes can capture any key. One window at most (hSet).
#pragma once
#include <windows.h>

// Opens the window, or shows and focuses it when it is open already.
void openSettings();
