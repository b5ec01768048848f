#include "search/search_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <utility>

#include "dialogs/show_message.h"
#include "platform/file_system.h"
#include "platform/settings_io.h"
#include "platform/text.h"
#include "search/ini_values.h"

namespace {

constexpr char kSearchPrefix[] = "Search:";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// The last line of every file the program writes: a file without it was cut
// short (a save's new file that a power cut left half written).
constexpr std::string_view kEndLine = "; end of quillory.ini";
// More than any search file needs; a larger one is not the program's.
constexpr size_t kMaxFileSize = 4 << 20;

size_t g_nWriteCut = SIZE_MAX;

bool IsSection(std::string_view line) {
  const std::string_view trimmed = ini::Trim(line);
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// The name of a saved search's title, in the program's text; false for any
// other title, or a name the program's text cannot hold.
bool SavedName(std::string_view title, std::string& name) {
  if (title.substr(0, std::size(kSearchPrefix) - 1) != kSearchPrefix) return false;
  const std::string_view utf8 = ini::Trim(title.substr(std::size(kSearchPrefix) - 1));
  return !utf8.empty() && platform::FromUtf8(utf8, name);
}

bool SameName(const std::string& a, const std::string& b) {
  return platform::CompareNoCase(a.c_str(), b.c_str()) == 0;
}

}  // namespace

void SetSearchFileWriteCutForTest(size_t bytes) { g_nWriteCut = bytes; }

IniText ParseIni(std::string_view bytes) {
  IniText text;
  if (bytes.substr(0, 3) == kByteOrderMark) bytes.remove_prefix(3);
  std::vector<std::string>* lines = &text.preamble;
  while (!bytes.empty()) {
    // CR LF, LF or CR alone: whatever an editor saved.
    const size_t end = bytes.find_first_of("\r\n");
    const std::string_view line = bytes.substr(0, end);
    const size_t next = end == std::string_view::npos        ? bytes.size()
                        : bytes.compare(end, 2, "\r\n") == 0 ? end + 2
                                                             : end + 1;
    bytes.remove_prefix(next);
    // The writer's, written again at the end.
    text.whole = ini::Trim(line) == kEndLine;
    if (text.whole) continue;
    if (IsSection(line)) {
      const std::string_view trimmed = ini::Trim(line);
      text.sections.push_back({std::string(ini::Trim(trimmed.substr(1, trimmed.size() - 2))), {}});
      lines = &text.sections.back().lines;
    } else {
      lines->emplace_back(line);
    }
  }
  return text;
}

std::string RenderIni(const IniText& text) {
  std::string bytes;
  // A first line that itself begins with the byte-order mark keeps it behind
  // one the reader takes away.
  if (!text.preamble.empty() && text.preamble.front().rfind(kByteOrderMark, 0) == 0)
    bytes = kByteOrderMark;
  for (const std::string& line : text.preamble) bytes.append(line).append("\r\n");
  for (const IniText::Section& section : text.sections) {
    bytes.append("[").append(section.title).append("]\r\n");
    for (const std::string& line : section.lines) bytes.append(line).append("\r\n");
  }
  return bytes.append(kEndLine).append("\r\n");
}

IniBytes ReadIniBytes(std::string& bytes) {
  if (bytes.size() > kMaxFileSize) return IniBytes::kTooLarge;
  const bool little = bytes.rfind("\xFF\xFE", 0) == 0, big = bytes.rfind("\xFE\xFF", 0) == 0;
  if (!little && !big)
    return bytes.find('\0') == std::string::npos ? IniBytes::kText : IniBytes::kNotText;
  // UTF-16, as Windows editors save "Unicode": made UTF-8, which the file
  // becomes at the next write.
  if (bytes.size() % 2 != 0) return IniBytes::kNotText;
  std::string utf8;
  for (size_t i = 2; i < bytes.size(); i += 2) {
    auto unit = [&](size_t at) {
      const auto a = static_cast<uint8_t>(bytes[at]), b = static_cast<uint8_t>(bytes[at + 1]);
      return static_cast<uint32_t>(little ? a | b << 8 : b | a << 8);
    };
    uint32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return IniBytes::kNotText;
    if (c >= 0xD800 && c <= 0xDBFF) {
      const uint32_t low = i + 2 < bytes.size() ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return IniBytes::kNotText;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    if (c == 0) return IniBytes::kNotText;
    const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    utf8 += static_cast<char>(extra == 0 ? c : (0xF00 >> extra) | (c >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k) utf8 += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  bytes = std::move(utf8);
  return IniBytes::kText;
}

bool CSearchFile::Read(IniText& text, bool quiet) {
  text = {};
  std::string source = m_strPath;
  if (platform::GetAttributes(m_strPath) == platform::kInvalidAttributes) {
    // A save cut between its delete and its rename (FAT) leaves only the new
    // file: it is the file, once it proves whole. A new file cut short is
    // left as it is, for the next write to replace.
    const std::string newPath = m_strPath + ".new";
    std::string bytes;
    if (ReadWhole(newPath, bytes) != platform::kCauseNone ||
        ReadIniBytes(bytes) != IniBytes::kText || !ParseIni(bytes).whole)
      return true;
    source =
        platform::MoveFileOver(newPath, m_strPath) == platform::kCauseNone ? m_strPath : newPath;
  }
  std::string bytes;
  if (const int cause = ReadWhole(source, bytes)) {
    if (!quiet) ShowFileError("open", source, cause);
    return false;
  }
  if (const IniBytes kind = ReadIniBytes(bytes); kind != IniBytes::kText) {
    if (!quiet)
      ShowError(
          "The file \"" + source + "\" " +
          (kind == IniBytes::kTooLarge ? "is larger than 4 MB" : "is not UTF-8 or UTF-16 text") +
          ", so the program does not read it, nor write over it. Searches are not kept "
          "until it is moved away.");
    return false;
  }
  text = ParseIni(bytes);
  return true;
}

int CSearchFile::ReadWhole(const std::string& path, std::string& bytes) {
  platform::ExclusiveFile file;
  if (const int cause = file.OpenForReading(path)) return cause;
  bytes.clear();
  char buffer[16384];
  // One byte beyond the largest file tells a larger one.
  for (size_t got; bytes.size() <= kMaxFileSize && (got = file.Read(buffer, sizeof buffer)) > 0;)
    bytes.append(buffer, got);
  file.Close();
  return platform::kCauseNone;
}

bool CSearchFile::Write(const IniText& text, bool quiet) {
  bool opened = false;
  if (const int cause = platform::WriteFileWhole(m_strPath, RenderIni(text), opened, g_nWriteCut)) {
    if (!quiet) ShowFileError(opened ? "write" : "open", m_strPath, cause);
    return false;
  }
  return true;
}

void CSearchFile::Put(IniText& text, const std::string& title, std::vector<std::string> lines) {
  auto it = std::find_if(text.sections.begin(), text.sections.end(),
                         [&](const IniText::Section& section) { return section.title == title; });
  if (it == text.sections.end()) {
    text.sections.push_back({title, std::move(lines)});
    return;
  }
  it->lines = std::move(lines);
  // A second section of the title (a hand's copy) was never read: only the
  // first counts, and the one written stands alone.
  text.sections.erase(std::remove_if(std::next(it), text.sections.end(),
                                     [&](const IniText::Section& s) { return s.title == title; }),
                      text.sections.end());
}

namespace {

// The first section of a search saved under this name, if any.
template <class Text>
auto SectionOf(Text& text, const std::string& name) -> decltype(&text.sections.front()) {
  for (auto& section : text.sections) {
    std::string saved;
    if (SavedName(section.title, saved) && SameName(saved, name)) return &section;
  }
  return nullptr;
}

// The saved names of the text, once each, in its order.
std::vector<std::string> NamesOf(const IniText& text) {
  std::vector<std::string> names;
  for (const IniText::Section& section : text.sections) {
    std::string name;
    if (SavedName(section.title, name) &&
        std::none_of(names.begin(), names.end(),
                     [&](const std::string& n) { return SameName(n, name); }))
      names.push_back(name);
  }
  return names;
}

}  // namespace

bool CSearchFile::Load(SearchDefinition& last, std::vector<std::string>& names) {
  IniText text;
  if (!Read(text)) {
    m_bLastSearchWhole = false;
    m_bLastSearchFailed = true;
    return false;
  }
  m_bLastSearchWhole = true;
  // Only the first: a second (a hand's copy) is never read.
  const auto first = std::find_if(
      text.sections.begin(), text.sections.end(),
      [](const IniText::Section& section) { return section.title == kLastSearchTitle; });
  if (first != text.sections.end() && !ReadSearchLines(first->lines, last))
    m_bLastSearchWhole = false;
  names = NamesOf(text);
  return true;
}

bool CSearchFile::SavedNames(std::vector<std::string>& names) {
  IniText text;
  if (!Read(text)) return false;
  names = NamesOf(text);
  return true;
}

CSearchFile::Saved CSearchFile::LoadSaved(const std::string& name, SearchDefinition& search,
                                          SearchSchedule* schedule) {
  IniText text;
  if (!Read(text)) return Saved::kUnreadable;
  const IniText::Section* section = SectionOf(text, name);
  if (!section) return Saved::kNo;
  ReadSearchLines(section->lines, search);
  if (schedule) ReadScheduleLines(section->lines, *schedule);
  return Saved::kYes;
}

CSearchFile::Saved CSearchFile::IsSaved(const std::string& name, std::string* saved) {
  IniText text;
  if (!Read(text)) return Saved::kUnreadable;
  for (const IniText::Section& section : text.sections) {
    std::string found;
    if (SavedName(section.title, found) && SameName(found, name)) {
      if (saved) *saved = found;
      return Saved::kYes;
    }
  }
  return Saved::kNo;
}

bool CSearchFile::SaveLast(const SearchDefinition& search) {
  // Every Find writes it: a file that cannot be read or written says so once
  // a run, not at each search.
  IniText text;
  const bool quiet = m_bLastSearchFailed;
  m_bLastSearchFailed = true;
  if (!Read(text, quiet)) return false;
  Put(text, kLastSearchTitle, SearchLines(search));
  if (!Write(text, quiet)) return false;
  m_bLastSearchFailed = false;
  m_bLastSearchWhole = true;
  return true;
}

bool CSearchFile::SaveNamed(const std::string& name, const SearchDefinition& search,
                            const SearchSchedule& schedule) {
  IniText text;
  if (!Read(text)) return false;
  const std::string title = std::string(kSearchPrefix) + " " + ini::Utf8Value(ini::Trim(name));
  // The same name in another letter case is the same search: its section
  // takes the new spelling where it stood.
  for (IniText::Section& section : text.sections) {
    std::string saved;
    if (SavedName(section.title, saved) && SameName(saved, name)) section.title = title;
  }
  // The end of its last run belongs to the search, whatever the box gave.
  SearchSchedule kept = schedule;
  SearchSchedule before;
  if (const IniText::Section* section = SectionOf(text, name);
      section && ReadScheduleLines(section->lines, before))
    kept.m_tLastRun = before.m_tLastRun;
  std::vector<std::string> lines = SearchLines(search);
  for (std::string& line : ScheduleLines(kept)) lines.push_back(std::move(line));
  Put(text, title, std::move(lines));
  return Write(text);
}

bool CSearchFile::ReadSchedules(std::vector<Scheduled>& scheduled) {
  IniText text;
  if (!Read(text, true)) return false;
  scheduled.clear();
  for (const std::string& name : NamesOf(text)) {
    SearchSchedule schedule;
    if (const IniText::Section* section = SectionOf(text, name);
        section && ReadScheduleLines(section->lines, schedule) &&
        schedule.m_nKind != ScheduleKind::kNever)
      scheduled.push_back({name, schedule});
  }
  return true;
}

bool CSearchFile::WriteLastRun(const std::string& name, int64_t time) {
  IniText text;
  if (!Read(text, true)) return false;
  IniText::Section* section = SectionOf(text, name);
  if (!section) return false;  // deleted meanwhile: nothing to write
  std::vector<std::string>& lines = section->lines;
  std::erase_if(lines,
                [](const std::string& line) { return ini::Trim(line).substr(0, 7) == "LastRun"; });
  lines.push_back(LastRunLine(time));
  return Write(text, true);
}

bool CSearchFile::Forget(const std::string& name) {
  IniText text;
  if (!Read(text)) return false;
  std::erase_if(text.sections, [&](const IniText::Section& section) {
    std::string saved;
    return SavedName(section.title, saved) && SameName(saved, name);
  });
  return Write(text);
}
