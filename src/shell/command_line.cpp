#include "shell/command_line.h"

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view SkipBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

bool IsSearchOption(std::string_view word) {
  if (word.size() != 7 || (word[0] != '/' && word[0] != '-')) return false;
  constexpr std::string_view kSearch = "search";
  for (size_t i = 0; i < kSearch.size(); ++i)
    if ((word[i + 1] | 0x20) != kSearch[i]) return false;
  return true;
}

}  // namespace

std::optional<std::string> SearchOption(std::string_view line) {
  // The program's path, quoted as the shell writes it or up to a blank.
  line = SkipBlanks(line);
  const size_t pathEnd = line.starts_with('"') ? line.find('"', 1) : line.find_first_of(kBlanks);
  if (pathEnd == std::string_view::npos) return std::nullopt;
  line = SkipBlanks(line.substr(pathEnd + (line.front() == '"' ? 1 : 0)));
  const size_t wordEnd = line.find_first_of(kBlanks);
  if (!IsSearchOption(line.substr(0, wordEnd))) return std::nullopt;
  line = SkipBlanks(wordEnd == std::string_view::npos ? std::string_view() : line.substr(wordEnd));
  if (line.starts_with('"')) return std::string(line.substr(1, line.find('"', 1) - 1));
  return std::string(line.substr(0, line.find_last_not_of(kBlanks) + 1));
}
