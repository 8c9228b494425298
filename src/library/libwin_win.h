// The library window: categories on the left, the search box and result list in the middle,
// the shown entry on the right (picture, title, subtitle, rich-text body, table grid or picture
// preview, and its buttons). Created on first use and afterwards only hidden and shown; thrown
// away by libReset when the language or the data pack changes.
#pragma once
#include <windows.h>

extern int curCat;    // selected category row value
extern int curEntry;  // shown entry, -1 for none
extern int wide;      // expanded reading view

// Hides the window when it is in front; otherwise shows it (creating it the first time),
// brings it to the front and focuses the search box.
void toggleLibrary();
// Shows the window on entry index (its category row selected, its row selected and shown).
void libOpenEntry(int index);
// Selects the category row with that value as if the player had chosen it; an unknown value
// selects the first row and does nothing more.
void libSelectCat(int value);
// Opens the entry made from pack record rec, or the news row when it made none.
void libOpenPack(int rec);
// Builds what the window needs before it is first asked for (the database, fonts, the icon
// list, the rich-text library), so that F9 only has to make the window. Cheap when done.
void libWarmUp();
// Writes the window's normal placement to section "biblioteca".
void libSaveState();
// Forgets the window, the loaded table and the database (after a language change or a pack
// installation); a visible window is opened again, which builds the database anew.
void libReset();
// A picture download ended (WM_ZV_IMAGE): repaint what may show it.
void libImageArrived(int id, int ok);
// The start-up test words of "--prueba-biblioteca" that concern the library window.
void libTestOptions(const wchar_t* cmdLine);

// What other subsystems plug in when they exist; null hides the buttons that need them.
extern void (*libViewer)(int entry);        // image viewer on an entry's gallery
extern void (*libPlayer)(int entry);        // video player on an entry's videos
extern int (*libUseInDps)(const char* body);  // "Usar en la calculadora" on a weapon with figures
// The builds changed from outside the window (a code handed in by a later start): the
// selector, the list and the counts follow when the window exists.
void libBuildsChanged();

LRESULT CALLBACK LibProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
