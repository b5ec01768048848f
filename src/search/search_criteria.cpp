#include "search/search_criteria.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <string_view>

const char* const kMsgFileType = "Please enter the file type in the following format: *.doc";
const char* const kMsgDateRange =
    "Incorrect date range. The 'To' date should be after the 'From' date";
const char* const kMsgSizeRange =
    "Incorrect file size range. The 'To' value should be greater than the 'From' value";
const char* const kMsgNoFolder = "Please select any folder.";
const char* const kMsgDays = "Please enter a number of days from 0 to 36500.";

namespace {

int64_t DateAt(const platform::LocalTime& date, int hour, int minute, int second) {
  return platform::MakeTime({date.year, date.month, date.day, hour, minute, second});
}

constexpr const char* kUnitNames[] = {"B", "KB", "MB", "GB"};

int UnitShift(int32_t unit) {
  switch (unit) {
    case UNIT_KB: return 10;
    case UNIT_MB: return 20;
    case UNIT_GB: return 30;
    default: return 0;
  }
}

// A typed size in bytes; nothing when it does not fit in 64 bits, where the
// shift would quietly drop its high digits.
std::optional<uint64_t> Bytes(const std::optional<uint64_t>& value, int32_t unit) {
  const int shift = UnitShift(unit);
  if (!value || *value > (std::numeric_limits<uint64_t>::max() >> shift)) return std::nullopt;
  return *value << shift;
}

constexpr std::string_view kBlanks = " \t";

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

// "*." and "*.*" name no type: alone they mean every file, but in a list of
// types they would turn the list into every file too.
bool NamesEveryFile(const std::string& extension) { return extension.empty() || extension == "*"; }

}  // namespace

std::optional<uint64_t> ReadDayCount(std::string_view text) {
  text = TrimBlanks(text);
  uint64_t days = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), days);
  if (text.empty() || text.front() == '+' || error != std::errc() ||
      end != text.data() + text.size())
    return std::nullopt;
  return days;
}

int64_t AgeBound(int64_t now, uint64_t days) { return now - static_cast<int64_t>(days) * 86400; }

CriteriaCheck BuildSearchCriteria(const SearchPageInputs& in, size_t folderCount,
                                  SearchCriteria& criteria,
                                  const std::function<void(const std::string&)>& warn,
                                  int64_t now) {
  criteria.m_nDateField = in.m_nDateFieldSel;
  criteria.m_nDateCondition = in.m_nDateConditionSel;
  criteria.m_nSizeCondition = in.m_nSizeConditionSel;
  criteria.m_strExtension.clear();
  criteria.m_arrExtensions.clear();

  if (in.m_nSpecifyType == 1) {
    // A blank pasted after "*.doc" would make it a type no file has: no name
    // ends in a blank through the usual ways of naming files on Windows.
    const std::string pattern(TrimBlanks(in.m_strTypePattern));
    if (pattern.size() < 2 || pattern[0] != '*' || pattern[1] != '.') {
      warn(kMsgFileType);
      return CriteriaCheck::FileType;
    }
    criteria.m_strExtension = pattern.substr(2);
    criteria.m_arrExtensions = SplitTypePatterns(pattern);
    const auto& list = criteria.m_arrExtensions;
    if (list.size() > 1 && std::any_of(list.begin(), list.end(), NamesEveryFile)) {
      warn(kMsgFileType);
      return CriteriaCheck::FileType;
    }
  }

  if (in.m_bDateAndTime != 1) {
    criteria.m_tDateFrom = DateAt(in.m_dtFromDate, 0, 0, 0);
    criteria.m_tDateTo = in.m_nDateConditionSel == DATE_IS ? DateAt(in.m_dtFromDate, 24, 0, 0)
                                                           : DateAt(in.m_dtToDate, 23, 59, 59);
  } else {
    criteria.m_tDateFrom = DateAt(in.m_dtFromDate, in.m_dtFromTime.hour, in.m_dtFromTime.minute,
                                  in.m_dtFromTime.second);
    criteria.m_tDateTo =
        in.m_nDateConditionSel == DATE_IS
            ? criteria.m_tDateFrom
            : DateAt(in.m_dtToDate, in.m_dtToTime.hour, in.m_dtToTime.minute, in.m_dtToTime.second);
  }
  if (IsAgeCondition(in.m_nDateConditionSel)) {
    if (!in.m_nDays || *in.m_nDays > kMaxDays) {
      warn(kMsgDays);
      return CriteriaCheck::Days;
    }
    // "Within the last N days" ends at the moment of Find: a file dated
    // ahead of it is not within the last days.
    criteria.m_tDateFrom = criteria.m_tDateTo = AgeBound(now, *in.m_nDays);
    if (in.m_nDateConditionSel == DATE_WITHIN) criteria.m_tDateTo = now;
  }
  if (in.m_nDateConditionSel == DATE_BETWEEN && criteria.m_tDateTo < criteria.m_tDateFrom) {
    warn(kMsgDateRange);
    return CriteriaCheck::DateRange;
  }

  const std::optional<uint64_t> from = Bytes(in.m_nSizeFromValue, in.m_nSizeUnit);
  const std::optional<uint64_t> to = Bytes(in.m_nSizeToValue, in.m_nSizeUnit);
  constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
  criteria.m_dwSizeFrom = from.value_or(kLargest);
  criteria.m_dwSizeTo = to.value_or(kLargest);
  // Only the edits the condition reads: a number left in a hidden or
  // disabled edit plays no part.
  const bool fromUsed = in.m_nSizeConditionSel != SIZE_ANY;
  const bool toUsed = in.m_nSizeConditionSel == SIZE_BETWEEN;
  if ((fromUsed && !from) || (toUsed && !to)) {
    warn(SizeTooLargeMessage(in.m_nSizeUnit));
    return CriteriaCheck::SizeTooLarge;
  }
  if (in.m_nSizeConditionSel == SIZE_BETWEEN && criteria.m_dwSizeTo < criteria.m_dwSizeFrom) {
    warn(kMsgSizeRange);
    return CriteriaCheck::SizeRange;
  }

  if (folderCount == 0) {
    warn(kMsgNoFolder);
    return CriteriaCheck::NoFolder;
  }
  criteria.m_skipFolders = CSkipFolders(in.m_strSkipFolders);
  return CriteriaCheck::Ok;
}

std::string SizeTooLargeMessage(int32_t unit) {
  const bool known = unit >= 0 && unit < static_cast<int32_t>(std::size(kUnitNames));
  const int32_t shown = known ? unit : UNIT_B;
  return "The file size is too large. The largest size in " + std::string(kUnitNames[shown]) +
         " is " + std::to_string(std::numeric_limits<uint64_t>::max() >> UnitShift(shown)) + ".";
}

std::vector<std::string> SplitTypePatterns(const std::string& text) {
  std::vector<std::string> extensions;
  if (text.find(';') == std::string::npos) return extensions;
  std::string_view rest = text;
  for (;;) {
    const size_t end = rest.find(';');
    // A trailing ";" or a doubled one is a slip of the keyboard, not a type.
    const std::string_view part = TrimBlanks(rest.substr(0, end));
    if (!part.empty()) {
      if (part.size() < 2 || part[0] != '*' || part[1] != '.') return {};
      extensions.emplace_back(part.substr(2));
    }
    if (end == std::string_view::npos) return extensions;
    rest.remove_prefix(end + 1);
  }
}

bool MatchesExtension(const SearchCriteria& criteria, const std::string& type) {
  // Without regard to case, as the file system names files.
  auto matches = [&](const std::string& wanted) {
    return wanted.empty() || wanted == "*" ||
           platform::CompareNoCase(wanted.c_str(), type.c_str()) == 0;
  };
  if (!criteria.m_arrExtensions.empty())
    return std::any_of(criteria.m_arrExtensions.begin(), criteria.m_arrExtensions.end(), matches);
  return matches(criteria.m_strExtension);
}

bool MatchesSize(const SearchCriteria& criteria, uint64_t size) {
  switch (criteria.m_nSizeCondition) {
    case SIZE_ANY: return true;
    case SIZE_MORE: return size >= criteria.m_dwSizeFrom;
    case SIZE_LESS: return size <= criteria.m_dwSizeFrom;
    case SIZE_BETWEEN: return criteria.m_dwSizeFrom <= size && size <= criteria.m_dwSizeTo;
    default: return false;
  }
}

bool MatchesDate(const SearchCriteria& criteria, int64_t t) {
  if (t == platform::kNoFileTime) return criteria.m_nDateCondition == DATE_ANY;
  switch (criteria.m_nDateCondition) {
    case DATE_ANY: return true;
    case DATE_IS:
    case DATE_BETWEEN: return criteria.m_tDateFrom <= t && t <= criteria.m_tDateTo;
    case DATE_BEFORE: return t <= criteria.m_tDateFrom;
    case DATE_AFTER: return t >= criteria.m_tDateFrom;
    case DATE_OLDER: return t < criteria.m_tDateFrom;
    case DATE_WITHIN: return criteria.m_tDateFrom <= t && t <= criteria.m_tDateTo;
    default: return false;
  }
}

std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

uint64_t SizeToForBetween(uint64_t sizeFrom) {
  constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
  return sizeFrom > kLargest - 10 ? kLargest : sizeFrom + 10;
}
