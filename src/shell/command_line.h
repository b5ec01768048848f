#pragma once
// The program's one option: quillory.exe /search "<name>" opens the window on
// the "Delete Files" page with that saved search and runs it, so that Task
// Scheduler or a shortcut can start a clean-up.

#include <optional>
#include <string>
#include <string_view>

// The name after /search (or -search, in any letter case) that follows the
// program's own path: quoted, or the rest of the line without the blanks
// around it. None without the option.
std::optional<std::string> SearchOption(std::string_view commandLine);
