#pragma once
// The program's folder, where settings.dat lives, from the executable's own
// path: a command line cut by hand gives a wrong folder when the program is
// started from a prompt, by a shortcut without the trailing blank, or by Wine.

#include <string>

// Everything up to and including the last backslash. A bare name (no folder)
// gives ".\", the current folder, so the result always ends in a backslash.
std::string FolderOfModulePath(const std::string& modulePath);
