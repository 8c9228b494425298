// Every custom window message and timer id of the program, defined once.
#pragma once
#include <windows.h>

constexpr UINT WM_ZV_TRAY = WM_APP + 1;      // tray icon notifications
constexpr UINT WM_ZV_PACK = WM_APP + 7;      // data pack download finished
constexpr UINT WM_ZV_UPDCHECK = WM_APP + 8;  // update manifest fetched
constexpr UINT WM_ZV_DLPROG = WM_APP + 9;    // installer download progress (update window)
constexpr UINT WM_ZV_DLDONE = WM_APP + 10;   // installer download outcome (update window)
constexpr UINT WM_ZV_IMAGE = WM_APP + 11;    // a picture was downloaded
constexpr UINT WM_ZV_LIVE = WM_APP + 12;     // live status of creators
constexpr UINT WM_ZV_WVREADY = WM_APP + 20;  // embedded browser ready or failed (player window)
// What the overlay shows changed (pack, checklist, a setting): lay it out again and repaint.
// wParam RELAYOUT_PACK: a new data pack is in force, so the library is thrown away first.
constexpr UINT WM_ZV_RELAYOUT = WM_APP + 30;
constexpr WPARAM RELAYOUT_PACK = 1;
// Tool windows ask the overlay to act for them (the overlay owns start-up and the global keys):
constexpr UINT WM_ZV_RESTART = WM_APP + 31;   // start a new copy and close this one
constexpr UINT WM_ZV_LANGUAGE = WM_APP + 32;  // wParam: switch the program to language 0..5
constexpr UINT WM_ZV_KEYS = WM_APP + 33;      // wParam 0: global keys off; 1: on again with the stored keys
constexpr UINT WM_ZV_SETTINGS = WM_APP + 34;  // settings saved: style, visibility, capture exclusion
// Asks whether the game runs; answers 1 and copies its executable name into the MAX_PATH
// buffer at lParam when it does, else 0.
constexpr UINT WM_ZV_GAME = WM_APP + 35;
constexpr UINT WM_ZV_BUILDCODE = WM_APP + 45;  // hidden code window: import the text in lParam (a heap std::wstring)
constexpr UINT WM_ZV_TESTDLG = WM_APP + 50;  // library: sample question dialog (test option)
constexpr UINT WM_ZV_TESTSHARE = WM_APP + 51;
constexpr UINT WM_ZV_TESTIMPORT = WM_APP + 52;

constexpr UINT_PTR TIMER_TICK = 1;    // every 2 s: resets, news, reminders, visibility
constexpr UINT_PTR TIMER_CHECKS = 2;  // 20 s, then every 10 min: pack and update checks
constexpr UINT_PTR TIMER_LIVE = 77;   // library: live status every 5 min
