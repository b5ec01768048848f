#pragma once
// Input a user gives to a window of this or another process, posted so that
// the window's own loop takes it as typed: characters into an edit and a
// click on a button. Posting never waits for a box the click may open.

#include <windows.h>

#include <string>

// One WM_CHAR per character, as the keyboard delivers them.
void PostTyping(HWND edit, const std::string& text);
// Empties an edit the way select-all and Backspace would.
void PostClearing(HWND edit);
// A click on the dialog's button with this id.
void PostClick(HWND dialog, int id);
// The Enter key on the focused control of the dialog's thread.
void PostEnter(HWND dialog);

// The window text, read with a bound so a stuck window cannot hang a helper.
std::string ReadText(HWND window);
// The dialog's child with this id, by its text.
std::string ReadItemText(HWND dialog, int id);

// A visible top-level window of the given process with exactly this caption,
// and, when `accept` is given, one it accepts.
HWND FindProcessWindow(DWORD processId, const std::string& caption,
                       bool (*accept)(HWND window) = nullptr);
