// The data pack refresh: the download on a worker thread into "datos.txt.descarga", its result
// installed on the window thread through the usual rules, the balloons and log lines, and the
// data status line of the settings window.
#pragma once
#include <windows.h>

// Starts a check: manual 1 for the tray's "Buscar datos nuevos" and the settings window's
// "Comprobar ahora" (which first stores its address into dataUrl and "URLDatos"), 0 for the
// schedule. Only manual checks report "nothing new" and errors.
void pkCheck(int manual);

// WM_APP+7 on the overlay: ok and the job (owned from here on).
void pkOnResult(WPARAM ok, LPARAM job);

// The settings window's data status line (control 218), when that window is open.
void updDataStat();
