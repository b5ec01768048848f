#pragma once
// Files named in UTF-8, whatever the program's code page: the tests make
// names the program may have no exact form for (other scripts, a final dot or
// blank, paths past 259 characters) and then check the disk by what is really
// there. On Windows every call is a wide one with the "\\?\" form of the path.

#include <map>
#include <string>

namespace exact {

bool MakeFolder(const std::string& utf8Path);
bool WriteFile(const std::string& utf8Path, const std::string& content);
bool SetReadOnly(const std::string& utf8Path);
bool RemoveFile(const std::string& utf8Path);
bool Rename(const std::string& utf8From, const std::string& utf8To);
// Every file below the folder, by its path relative to it ('/' between
// parts), with its bytes. Links are listed, never followed.
std::map<std::string, std::string> Snapshot(const std::string& utf8Folder);
// Removes the folder with everything in it, never following a link.
void RemoveTree(const std::string& utf8Folder);
// A UTF-8 text in the program's text, as the program would show it; false
// when it has no exact form there.
bool ToProgramText(const std::string& utf8, std::string& text);

}  // namespace exact
