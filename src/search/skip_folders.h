#pragma once
// The sub-folders a search leaves out, as the user lists them in "Skip
// folders:": names or wildcard patterns ("*" any run of characters, "?" one
// character) separated by ";", blanks around each part ignored. A folder is
// left out when its name matches a part, without regard to case, as the file
// system compares names. A part with a separator is a path: a full one
// ("C:\tree\build") leaves out that folder, another ("app\node_modules") that
// folder below each listed folder; compared whole, folded as names are.

#include <string>
#include <string_view>
#include <vector>

class CSkipFolders {
 public:
  CSkipFolders() = default;
  explicit CSkipFolders(std::string_view text);

  bool Empty() const { return m_arrPatterns.empty() && m_arrPaths.empty(); }
  // The paths to leave out below the listed folder `root`, folded, for
  // Matches; the walk takes them once per listed folder.
  std::vector<std::u32string> PathsUnder(std::string_view root) const;
  // Whether the sub-folder `name` in `location` (a path ending in its
  // separator) is left out. Costs a conversion of the name, and of the path
  // when `paths` has any, so the walk asks only for folders, and only when
  // there is a list.
  bool Matches(std::string_view name, std::string_view location = {},
               const std::vector<std::u32string>& paths = {}) const;

 private:
  std::vector<std::u32string> m_arrPatterns;  // each folded as names are compared
  struct Path {
    std::string text;  // with the system's separators, none at the end
    bool full;         // a full path, not one below a listed folder
  };
  std::vector<Path> m_arrPaths;
};

// Whether `name` matches `pattern`, both folded already.
bool MatchesWildcard(std::u32string_view pattern, std::u32string_view name);
