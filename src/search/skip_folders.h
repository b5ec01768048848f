#pragma once
// The sub-folders a search leaves out, as the user lists them in "Skip
// folders:": names or wildcard patterns ("*" any run of characters, "?" one
// character) separated by ";", blanks around each part ignored. A folder is
// left out when its name matches a part, without regard to case, as the file
// system compares names.

#include <string>
#include <string_view>
#include <vector>

class CSkipFolders {
 public:
  CSkipFolders() = default;
  explicit CSkipFolders(std::string_view text);

  bool Empty() const { return m_arrPatterns.empty(); }
  // Whether a sub-folder of this name is left out. Costs a conversion of the
  // name, so the walk asks only for folders, and only when there is a list.
  bool Matches(std::string_view name) const;

 private:
  std::vector<std::u32string> m_arrPatterns;  // each folded as names are compared
};

// Whether `name` matches `pattern`, both folded already.
bool MatchesWildcard(std::u32string_view pattern, std::u32string_view name);
