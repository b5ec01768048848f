#include "search/skip_folders.h"

#include "platform/file_system.h"
#include "platform/text.h"

namespace {

constexpr std::string_view kBlanks = " \t";

bool IsFullPath(std::string_view path) {
  if (platform::kSeparator == '/') return path.front() == '/';
  return (path.size() >= 2 && path[1] == ':') || path.substr(0, 2) == "\\\\";
}

// `part` as a path with the system's separators and none at its end; empty
// when it has no separator, and so is a name.
std::string AsPath(std::string_view part) {
  std::string path(part);
  bool separated = false;
  platform::ForEachSeparator(part, [&](size_t i) {
    separated = true;
    path[i] = platform::kSeparator;
  });
  if (!separated) return {};
  while (path.size() > 1 && path.back() == platform::kSeparator) path.pop_back();
  return path;
}

}  // namespace

CSkipFolders::CSkipFolders(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find(';');
    std::string_view part = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t first = part.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) continue;  // "a;;b" and a final ";" are slips
    part = part.substr(first, part.find_last_not_of(kBlanks) + 1 - first);
    if (std::string path = AsPath(part); !path.empty()) {
      const bool full = IsFullPath(path);
      m_arrPaths.push_back({std::move(path), full});
      continue;
    }
    std::u32string folded;
    if (platform::FoldForNameCompare(part, folded)) m_arrPatterns.push_back(std::move(folded));
  }
}

std::vector<std::u32string> CSkipFolders::PathsUnder(std::string_view root) const {
  std::vector<std::u32string> paths;
  std::string below(root);
  if (!platform::EndsWithSeparator(below)) below += platform::kSeparator;
  for (const Path& path : m_arrPaths) {
    std::u32string folded;
    const size_t start = !path.full && path.text.front() == platform::kSeparator ? 1 : 0;
    if (platform::FoldForNameCompare(path.full ? path.text : below + path.text.substr(start),
                                     folded))
      paths.push_back(std::move(folded));
  }
  return paths;
}

bool CSkipFolders::Matches(std::string_view name, std::string_view location,
                           const std::vector<std::u32string>& paths) const {
  std::u32string folded;
  if (!m_arrPatterns.empty() && platform::FoldForNameCompare(name, folded)) {
    for (const std::u32string& pattern : m_arrPatterns)
      if (MatchesWildcard(pattern, folded)) return true;
  }
  if (paths.empty() || !platform::FoldForNameCompare(std::string(location).append(name), folded))
    return false;
  for (const std::u32string& path : paths)
    if (MatchesWildcard(path, folded)) return true;
  return false;
}

bool MatchesWildcard(std::u32string_view pattern, std::u32string_view name) {
  // Greedy, going back only to the last "*": a run of stars matches as one,
  // so the cost stays linear in the usual case and never exponential.
  size_t p = 0, n = 0;
  size_t starP = std::u32string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}
