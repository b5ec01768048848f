#include "search/skip_folders.h"

#include "platform/text.h"

namespace {

constexpr std::string_view kBlanks = " \t";

}  // namespace

CSkipFolders::CSkipFolders(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find(';');
    std::string_view part = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t first = part.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) continue;  // "a;;b" and a final ";" are slips
    part = part.substr(first, part.find_last_not_of(kBlanks) + 1 - first);
    std::u32string folded;
    if (platform::FoldForNameCompare(part, folded)) m_arrPatterns.push_back(std::move(folded));
  }
}

bool CSkipFolders::Matches(std::string_view name) const {
  if (m_arrPatterns.empty()) return false;
  std::u32string folded;
  if (!platform::FoldForNameCompare(name, folded)) return false;
  for (const std::u32string& pattern : m_arrPatterns)
    if (MatchesWildcard(pattern, folded)) return true;
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
