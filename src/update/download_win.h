// The installer download: fetched into the temporary folder on a worker thread with progress
// to the update window, its SHA-256 computed through CNG and compared with the manifest's, one
// WM_APP+10 at the end (1: verified and ready, 0: failed, nothing left behind).
#pragma once
#include <windows.h>

extern wchar_t updTmp[MAX_PATH];  // the downloaded installer

// SHA-256 of a file through BCrypt; 1 with the digest in out.
int shaFile(const wchar_t* path, unsigned char out[32]);

// Starts the download of the manifest's installer for version ver, reporting to wnd. Without a
// valid expected digest nothing starts (0): an unverified installer is never run. When the
// thread cannot start, wnd gets WM_APP+10 with 0.
int updDownloadStart(HWND wnd, const wchar_t* ver);

// The installer as the update runs it: "/S /ACTUALIZAR", verb "open", normal window; 1 when started.
int updRunInstaller();
