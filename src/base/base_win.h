// Shell-wide state of the window thread and the small services every window uses:
// the program folder, the log, whole-file reads, the open dialog, autostart, web pages and the
// tray balloon.
#pragma once
#include <windows.h>
#include <shellapi.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");
inline const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline const char16_t* U(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }

// Copies src into dst[cap] (terminator included), cut at a character boundary: never half a
// surrogate pair, as lstrcpynW would leave.
void wcopy(wchar_t* dst, const wchar_t* src, int cap);

extern double sc;  // pixel scale factor
// Every length in units becomes pixels through px: (int)(v x sc + 0.5).
inline int px(double v) { return (int)(v * sc + 0.5); }

extern HINSTANCE hInst;
extern HWND hwnd;               // the overlay
// Tool windows: one of each, null while closed.
extern HWND hSet, hChk, hLib, hUpd, hDps, hAbout, hWel, hVid, hView;
extern NOTIFYICONDATAW nid;     // the tray icon
extern int uiScale;             // setting Escala, percent
extern wchar_t progDir[MAX_PATH];
extern wchar_t iniPath[MAX_PATH];
extern wchar_t logPath[MAX_PATH];
extern DWORD winMajor, winMinor, winBuild;  // true Windows version

// Makes the program folder ("Zenvoral" under the roaming application data) and the paths.
void appPaths();

// Appends one time-stamped line to the log (printf-style wide format); any thread.
void logLine(const wchar_t* fmt, ...);
LONG WINAPI crashFilter(EXCEPTION_POINTERS* ep);

// Whole file into a NUL-terminated heap block (free with free); null when missing or > 8 MiB.
char* readFileA(const wchar_t* path, DWORD* length);

// The system's open dialog for an existing file (MAX_PATH characters); 1 when one was chosen.
int pickOpenFile(HWND owner, const wchar_t* filter, const wchar_t* title, wchar_t* file);

// Autostart value "Zenvoral" under the current user's Run key.
int autostartOn();
void setAutostart(int on);

// The modifier keys held now, as hotkey flags (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8).
unsigned curMods();

// Asks Windows to leave w out of screen captures and streams (on) or to show it in them again
// (off). 1 when the window now has what was asked, read back from the system; 0 where the system
// cannot do it (before Windows 10 2004, or under Wine).
int captureExclude(HWND w, int on);

// Opens a web address in the default browser.
void openUrl(const wchar_t* url);

// One procedure for every tray notice (also written to the log); kind says what a click on it does.
extern int balloonKind;
void balloon(const wchar_t* title, const wchar_t* text, int kind);

// Settings read at start-up that later subsystems use.
extern wchar_t dataUrl[1024];      // URLDatos: data pack address, empty = the pack's own
extern wchar_t updManifest[1024];  // update manifest address
extern wchar_t IMG_BASE[512];      // base address of remote pictures
extern wchar_t liveBase[512];      // live-status service + "/twitch/uptime/"; URLDirecto replaces it
extern int hideOld, compact, forceShow, editMode, userHidden, wvDisabled;
extern wchar_t pkPath[MAX_PATH];
