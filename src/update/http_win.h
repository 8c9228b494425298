// The program's one HTTP GET, for worker threads only: WinINet with the system proxy, no cache,
// 20-second connect and receive timeouts and the program's user agent. The body rules are
// update/http.h.
#pragma once
#include <windows.h>

#include <cstddef>

// Fetches url. outBuf (with outLen) keeps the body in a malloc'd block followed by a zero byte;
// destPath streams it to that file (created or truncated, deleted on any failure); progressWnd
// receives WM_APP+9 with each new whole percentage. 1 on success, 0 on failure (logged).
int httpGet(const wchar_t* url, char** outBuf, size_t* outLen, const wchar_t* destPath, HWND progressWnd);

// The same with other timeouts, for tests.
int httpGetTimed(const wchar_t* url, char** outBuf, size_t* outLen, const wchar_t* destPath, HWND progressWnd,
                 DWORD timeoutMs);
