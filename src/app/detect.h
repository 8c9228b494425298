// Which running process is the game, and how the overlay's visibility follows the game,
// the tray toggles and the hide key.
#pragma once

// 1 when an executable name is the game: equal to the configured name (any case), or
// containing "division2" / "division 2" without "launcher", "crash", "report", "setup" or
// "zenvoral" (launchers, crash reporters, installers and this program never count).
int isGameName(const char16_t* name, const char16_t* gameExe);

// What one visibility update decided, for the shell to carry out.
struct VisStep {
    int announce;     // the game just started: show the detection balloon
    int collapse;     // collapse the expanded overlay (editMode was cleared)
    int offerUpdate;  // the game just ended: offer a pending update
    int show;         // the overlay should be visible
};

// Applies the rules to the flags for one poll: running is whether the game runs now.
VisStep visDecide(int running, int* wasRunning, int* forceShow, int* userHidden, int* editMode);
