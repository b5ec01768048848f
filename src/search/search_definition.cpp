#include "search/search_definition.h"

#include <algorithm>

#include "platform/file_system.h"
#include "search/ini_values.h"

namespace {

constexpr char kAllFiles[] = "All files";
constexpr char kSpecifyType[] = "Specify type";

// One "key=value" line into its field; false when the value cannot be read.
bool ReadField(std::string_view key, std::string_view value, SearchDefinition& search) {
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
    const std::optional<int32_t> index = ini::IndexOf(value, items);
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
  if (key == "FromDate") return ini::ReadDate(value, in.m_dtFromDate);
  if (key == "ToDate") return ini::ReadDate(value, in.m_dtToDate);
  if (key == "FromTime") return ini::ReadTime(value, in.m_dtFromTime);
  if (key == "ToTime") return ini::ReadTime(value, in.m_dtToTime);
  auto number = [&](std::optional<uint64_t>& field, uint64_t largest) {
    const std::optional<uint64_t> read = ini::Number(value, largest);
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

}  // namespace

std::vector<std::string> SearchLines(const SearchDefinition& search) {
  const SearchPageInputs& in = search.m_inputs;
  std::vector<std::string> lines;
  for (const std::string& folder : search.m_arrFolders)
    lines.push_back("Folder=" + ini::Utf8Value(folder));
  lines.push_back(std::string("Type=") + (in.m_nSpecifyType == 1 ? kSpecifyType : kAllFiles));
  lines.push_back("TypePattern=" + ini::Utf8Value(in.m_strTypePattern));
  lines.push_back("DateField=" + ini::ItemOf(in.m_nDateFieldSel, kDateFields));
  lines.push_back("DateCondition=" + ini::ItemOf(in.m_nDateConditionSel, kDateConditions));
  lines.push_back("DateMode=" + ini::ItemOf(in.m_bDateAndTime == 1, kDateModes));
  lines.push_back("FromDate=" + ini::DateText(in.m_dtFromDate));
  lines.push_back("FromTime=" + ini::TimeText(in.m_dtFromTime));
  lines.push_back("ToDate=" + ini::DateText(in.m_dtToDate));
  lines.push_back("ToTime=" + ini::TimeText(in.m_dtToTime));
  // A number too long to hold is not written: the next start shows the
  // initial one rather than a wrong one.
  if (in.m_nDays) lines.push_back("Days=" + std::to_string(*in.m_nDays));
  lines.push_back("SizeCondition=" + ini::ItemOf(in.m_nSizeConditionSel, kSizeConditions));
  if (in.m_nSizeFromValue) lines.push_back("SizeFrom=" + std::to_string(*in.m_nSizeFromValue));
  if (in.m_nSizeToValue) lines.push_back("SizeTo=" + std::to_string(*in.m_nSizeToValue));
  lines.push_back("SizeUnit=" + ini::ItemOf(in.m_nSizeUnit, kSizeUnits));
  lines.push_back("SkipFolders=" + ini::Utf8Value(in.m_strSkipFolders));
  lines.push_back(std::string("RecycleBin=") + (search.m_bRecycle ? "1" : "0"));
  return lines;
}

bool ReadSearchLines(const std::vector<std::string>& lines, SearchDefinition& search) {
  bool whole = true;
  for (const std::string& line : lines) {
    const std::string_view trimmed = ini::Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;
    // A line break inside a line is none of ours: no value holds one.
    if (trimmed.find('\r') != std::string_view::npos) {
      whole = false;
      continue;
    }
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos ||
        !ReadField(ini::Trim(trimmed.substr(0, equals)), ini::Trim(trimmed.substr(equals + 1)),
                   search))
      whole = false;
  }
  return whole;
}
