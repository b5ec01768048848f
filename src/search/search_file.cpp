#include "search/search_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <utility>

#include "dialogs/show_message.h"
#include "platform/file_system.h"
#include "platform/settings_io.h"
#include "platform/text.h"

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr char kSearchPrefix[] = "Search:";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kAllFiles[] = "All files";
constexpr char kSpecifyType[] = "Specify type";

size_t g_nWriteCut = SIZE_MAX;

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

// A whole number of digits only, at most `largest`.
std::optional<uint64_t> Number(std::string_view text, uint64_t largest = UINT64_MAX) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > largest)
    return std::nullopt;
  return value;
}

template <size_t N>
std::optional<int32_t> IndexOf(std::string_view text, const char* const (&items)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (text == items[i]) return static_cast<int32_t>(i);
  return std::nullopt;
}

template <size_t N>
std::string ItemOf(int32_t index, const char* const (&items)[N]) {
  return index >= 0 && static_cast<size_t>(index) < N ? items[index] : items[0];
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// "2024-03-10": a day the date pickers can show.
bool ReadDate(std::string_view text, platform::LocalTime& date) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  const auto year = Number(text.substr(0, 4)), month = Number(text.substr(5, 2)),
             day = Number(text.substr(8, 2));
  if (!year || !month || !day || *year < 1601 || *month < 1 || *month > 12 || *day < 1)
    return false;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int last = kDays[*month - 1] + (*month == 2 && IsLeapYear(static_cast<int>(*year)));
  if (*day > static_cast<uint64_t>(last)) return false;
  date.year = static_cast<int>(*year);
  date.month = static_cast<int>(*month);
  date.day = static_cast<int>(*day);
  return true;
}

// "08:15:30".
bool ReadTime(std::string_view text, platform::LocalTime& time) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
  const auto hour = Number(text.substr(0, 2), 23), minute = Number(text.substr(3, 2), 59),
             second = Number(text.substr(6, 2), 59);
  if (!hour || !minute || !second) return false;
  time.hour = static_cast<int>(*hour);
  time.minute = static_cast<int>(*minute);
  time.second = static_cast<int>(*second);
  return true;
}

std::string DateText(const platform::LocalTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
  return text;
}

std::string TimeText(const platform::LocalTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return text;
}

// A value in the file's UTF-8; line breaks cannot stand in one.
std::string Utf8Value(std::string_view text) {
  std::string utf8;
  if (!platform::ToUtf8(text, utf8)) return {};
  std::erase_if(utf8, [](char c) { return c == '\r' || c == '\n'; });
  return utf8;
}

// One "key=value" line into its field; false when the value cannot be read.
bool ReadField(std::string_view key, std::string_view value, RememberedSearch& search) {
  SearchPageInputs& in = search.m_inputs;
  std::string text;
  if (key == "Folder") {
    // Only what "Add" could have listed: the walk and the shell read any
    // other form ("\\?\", "\\.\", wildcards) as another folder or file.
    if (!platform::FromUtf8(value, text) || !platform::IsPlainFolderPath(text)) return false;
    std::vector<std::string>& folders = search.m_arrFolders;
    // The page lists each exact path once.
    if (std::find(folders.begin(), folders.end(), text) == folders.end()) folders.push_back(text);
    return true;
  }
  if (key == "Type") {
    if (value != kAllFiles && value != kSpecifyType) return false;
    in.m_nSpecifyType = value == kSpecifyType;
    in.m_nAllFiles = !in.m_nSpecifyType;
    return true;
  }
  if (key == "TypePattern" || key == "SkipFolders") {
    if (!platform::FromUtf8(value, text)) return false;
    (key == "TypePattern" ? in.m_strTypePattern : in.m_strSkipFolders) = text;
    return true;
  }
  auto list = [&](int32_t& field, const auto& items) {
    const std::optional<int32_t> index = IndexOf(value, items);
    if (index) field = *index;
    return index.has_value();
  };
  if (key == "DateField") return list(in.m_nDateFieldSel, kDateFields);
  if (key == "DateCondition") return list(in.m_nDateConditionSel, kDateConditions);
  if (key == "SizeCondition") return list(in.m_nSizeConditionSel, kSizeConditions);
  if (key == "SizeUnit") return list(in.m_nSizeUnit, kSizeUnits);
  if (key == "DateMode") {
    int32_t mode = 0;
    if (!list(mode, kDateModes)) return false;
    in.m_bDateAndTime = mode;
    in.m_bDateOnly = !mode;
    return true;
  }
  if (key == "FromDate") return ReadDate(value, in.m_dtFromDate);
  if (key == "ToDate") return ReadDate(value, in.m_dtToDate);
  if (key == "FromTime") return ReadTime(value, in.m_dtFromTime);
  if (key == "ToTime") return ReadTime(value, in.m_dtToTime);
  auto number = [&](std::optional<uint64_t>& field, uint64_t largest) {
    const std::optional<uint64_t> read = Number(value, largest);
    if (read) field = read;
    return read.has_value();
  };
  if (key == "Days") return number(in.m_nDays, kMaxDays);
  if (key == "SizeFrom") return number(in.m_nSizeFromValue, UINT64_MAX);
  if (key == "SizeTo") return number(in.m_nSizeToValue, UINT64_MAX);
  if (key == "RecycleBin") {
    if (value != "0" && value != "1") return false;
    search.m_bRecycle = value == "1";
    return true;
  }
  return true;  // a key of another version: no field of ours
}

bool IsSection(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// The name of a saved search's title, in the program's text; false for any
// other title, or a name the program's text cannot hold.
bool SavedName(std::string_view title, std::string& name) {
  if (title.substr(0, std::size(kSearchPrefix) - 1) != kSearchPrefix) return false;
  const std::string_view utf8 = Trim(title.substr(std::size(kSearchPrefix) - 1));
  return !utf8.empty() && platform::FromUtf8(utf8, name);
}

bool SameName(const std::string& a, const std::string& b) {
  return platform::CompareNoCase(a.c_str(), b.c_str()) == 0;
}

}  // namespace

void SetSearchFileWriteCutForTest(size_t bytes) { g_nWriteCut = bytes; }

std::vector<std::string> SearchLines(const RememberedSearch& search) {
  const SearchPageInputs& in = search.m_inputs;
  std::vector<std::string> lines;
  for (const std::string& folder : search.m_arrFolders)
    lines.push_back("Folder=" + Utf8Value(folder));
  lines.push_back(std::string("Type=") + (in.m_nSpecifyType == 1 ? kSpecifyType : kAllFiles));
  lines.push_back("TypePattern=" + Utf8Value(in.m_strTypePattern));
  lines.push_back("DateField=" + ItemOf(in.m_nDateFieldSel, kDateFields));
  lines.push_back("DateCondition=" + ItemOf(in.m_nDateConditionSel, kDateConditions));
  lines.push_back("DateMode=" + ItemOf(in.m_bDateAndTime == 1, kDateModes));
  lines.push_back("FromDate=" + DateText(in.m_dtFromDate));
  lines.push_back("FromTime=" + TimeText(in.m_dtFromTime));
  lines.push_back("ToDate=" + DateText(in.m_dtToDate));
  lines.push_back("ToTime=" + TimeText(in.m_dtToTime));
  // A number too long to hold is not written: the next start shows the
  // initial one rather than a wrong one.
  if (in.m_nDays) lines.push_back("Days=" + std::to_string(*in.m_nDays));
  lines.push_back("SizeCondition=" + ItemOf(in.m_nSizeConditionSel, kSizeConditions));
  if (in.m_nSizeFromValue) lines.push_back("SizeFrom=" + std::to_string(*in.m_nSizeFromValue));
  if (in.m_nSizeToValue) lines.push_back("SizeTo=" + std::to_string(*in.m_nSizeToValue));
  lines.push_back("SizeUnit=" + ItemOf(in.m_nSizeUnit, kSizeUnits));
  lines.push_back("SkipFolders=" + Utf8Value(in.m_strSkipFolders));
  lines.push_back(std::string("RecycleBin=") + (search.m_bRecycle ? "1" : "0"));
  return lines;
}

bool ReadSearchLines(const std::vector<std::string>& lines, RememberedSearch& search) {
  bool whole = true;
  for (const std::string& line : lines) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;
    // A line break inside a line is none of ours: no value holds one.
    if (trimmed.find('\r') != std::string_view::npos) {
      whole = false;
      continue;
    }
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos ||
        !ReadField(Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1)), search))
      whole = false;
  }
  return whole;
}

IniText ParseIni(std::string_view bytes) {
  IniText text;
  if (bytes.substr(0, 3) == kByteOrderMark) bytes.remove_prefix(3);
  std::vector<std::string>* lines = &text.preamble;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (IsSection(line)) {
      const std::string_view trimmed = Trim(line);
      text.sections.push_back({std::string(Trim(trimmed.substr(1, trimmed.size() - 2))), {}});
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
  return bytes;
}

bool CSearchFile::Read(IniText& text) {
  text = {};
  std::string source = m_strPath;
  if (platform::GetAttributes(m_strPath) == platform::kInvalidAttributes) {
    // A save cut between its delete and its rename (FAT) leaves only the new
    // file: it is the file.
    const std::string newPath = m_strPath + ".new";
    if (platform::GetAttributes(newPath) == platform::kInvalidAttributes) return true;
    source =
        platform::MoveFileOver(newPath, m_strPath) == platform::kCauseNone ? m_strPath : newPath;
  }
  platform::ExclusiveFile file;
  if (const int cause = file.OpenForReading(source)) {
    ShowFileError("open", source, cause);
    return false;
  }
  std::string bytes;
  char buffer[16384];
  for (size_t got; (got = file.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
  file.Close();
  text = ParseIni(bytes);
  return true;
}

bool CSearchFile::Write(const IniText& text) {
  bool opened = false;
  if (const int cause = platform::WriteFileWhole(m_strPath, RenderIni(text), opened, g_nWriteCut)) {
    ShowFileError(opened ? "write" : "open", m_strPath, cause);
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

bool CSearchFile::Load(RememberedSearch& last, std::vector<std::string>& names) {
  IniText text;
  if (!Read(text)) {
    m_bLastSearchWhole = false;
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

bool CSearchFile::LoadSaved(const std::string& name, RememberedSearch& search) {
  IniText text;
  if (!Read(text)) return false;
  for (const IniText::Section& section : text.sections) {
    std::string saved;
    if (SavedName(section.title, saved) && SameName(saved, name)) {
      ReadSearchLines(section.lines, search);
      return true;
    }
  }
  return false;
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

bool CSearchFile::SaveLast(const RememberedSearch& search) {
  IniText text;
  if (!Read(text)) return false;
  Put(text, kLastSearchTitle, SearchLines(search));
  if (!Write(text)) return false;
  m_bLastSearchWhole = true;
  return true;
}

bool CSearchFile::SaveNamed(const std::string& name, const RememberedSearch& search) {
  IniText text;
  if (!Read(text)) return false;
  const std::string title = std::string(kSearchPrefix) + " " + Utf8Value(Trim(name));
  // The same name in another letter case is the same search: its section
  // takes the new spelling where it stood.
  for (IniText::Section& section : text.sections) {
    std::string saved;
    if (SavedName(section.title, saved) && SameName(saved, name)) section.title = title;
  }
  Put(text, title, SearchLines(search));
  return Write(text);
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
