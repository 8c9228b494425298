// The program's pages opened in the browser from the tray, the settings and the About window.
#pragma once

// The feedback page with the version, build, language and Windows version filled in.
void openFeedback();
