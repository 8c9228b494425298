// The clipboard side of sharing and importing builds. The library window calls buildShare and
// buildImport from its build menu and for WM_APP+51/52; the messages are dark dialogs it owns.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "builds/share.h"

constexpr int UI_CLIP_BUSY = 262;  // the share message could not be put on the clipboard

// Unicode text to and from the clipboard, opened for owner (a window: the clipboard needs one
// to own the data). Another program holding the clipboard is waited for up to half a second.
// 1 on success.
int clipSet(HWND owner, const std::u16string& text);
int clipGet(HWND owner, std::u16string& text);

// Puts the current build's share message on the clipboard; title gives an entry's title in the
// interface language. 1 when it is there.
int buildShareCopy(HWND owner, const std::function<std::u16string(int)>& title);
// Imports the first code on the clipboard as a new, current build (IMPORT_NONE when the
// clipboard holds no text or no valid code).
int buildImportClipboard(HWND owner, ImportResult& r);

// Share with its confirmation (or, when the clipboard stayed busy, a message saying so).
void buildShare(HWND owner, const std::function<std::u16string(int)>& title);
// Import with its message; refresh runs after a build was imported, before the message.
// Returns the outcome.
int buildImport(HWND owner, const std::function<void()>& refresh);
