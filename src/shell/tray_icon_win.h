#pragma once
// The notification icon's choices that depend on the system, apart from the
// window so that they can be checked for systems we do not run on.

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <string>

// Icon 68 (256 colours) from Windows XP (NT 5.1) on; icon 203 (16 colours)
// for older systems, whose notification area shows no more.
int TrayIconIdFor(DWORD platformId, DWORD majorVersion, DWORD minorVersion);

// How the icon's menu opens at the cursor: NT 4 and Windows 9x put its
// bottom-right corner there, later systems its bottom-left corner with the
// opening animation. The menu follows the left button only.
UINT TrayMenuFlagsFor(DWORD majorVersion);

// The system's version, from the extended record if the system gives it.
OSVERSIONINFOEXA ReadSystemVersion();

// "Quillory \n": the title, one blank and a line feed.
std::string TrayTipFor(const std::string& title);

// The command "Open" and a double-click show the window with: the stored
// state when the window is shown and not minimised, or under protection;
// otherwise normal. Never one that hides the window or minimises one that
// is not minimised yet.
int ShowCommandFor(int storedCommand, bool visible, bool minimised, bool protection);

// Sent to every top-level window when the taskbar is made anew (Explorer
// restarted): every icon must be added again.
UINT TaskbarCreatedMessage();
