#include "search/search_criteria.h"

#include <algorithm>
#include <limits>
#include <string_view>

const char* const kMsgFileType = "Please enter the file type in the following format: *.doc";
const char* const kMsgDateRange =
    "Incorrect date range. The 'To' date should be after the 'From' date";
const char* const kMsgSizeRange =
    "Incorrect file size range. The 'To' value should be greater than the 'From' value";
const char* const kMsgNoFolder = "Please select any folder.";

namespace {

int64_t DateAt(const platform::LocalTime& date, int hour, int minute, int second) {
  return platform::MakeTime({date.year, date.month, date.day, hour, minute, second});
}

// A negative typed size (only by pasting) counts as 0 rather than wrapping
// round to an enormous bound.
uint64_t Bytes(int32_t value, int32_t unit) {
  const uint64_t amount = value < 0 ? 0 : static_cast<uint64_t>(value);
  switch (unit) {
    case UNIT_KB: return amount << 10;
    case UNIT_MB: return amount << 20;
    case UNIT_GB: return amount << 30;
    default: return amount;
  }
}

}  // namespace

CriteriaCheck BuildSearchCriteria(const SearchPageInputs& in, size_t folderCount,
                                  SearchCriteria& criteria,
                                  const std::function<void(const std::string&)>& warn) {
  criteria.m_nDateField = in.m_nDateFieldSel;
  criteria.m_nDateCondition = in.m_nDateConditionSel;
  criteria.m_nSizeCondition = in.m_nSizeConditionSel;
  criteria.m_strExtension.clear();
  criteria.m_arrExtensions.clear();

  if (in.m_nSpecifyType == 1) {
    const std::string& pattern = in.m_strTypePattern;
    if (pattern.size() < 2 || pattern[0] != '*' || pattern[1] != '.') {
      warn(kMsgFileType);
      return CriteriaCheck::FileType;
    }
    criteria.m_strExtension = pattern.substr(2);
    criteria.m_arrExtensions = SplitTypePatterns(pattern);
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
  if (in.m_nDateConditionSel == DATE_BETWEEN && criteria.m_tDateTo < criteria.m_tDateFrom) {
    warn(kMsgDateRange);
    return CriteriaCheck::DateRange;
  }

  criteria.m_dwSizeFrom = Bytes(in.m_nSizeFromValue, in.m_nSizeUnit);
  criteria.m_dwSizeTo = Bytes(in.m_nSizeToValue, in.m_nSizeUnit);
  if (in.m_nSizeConditionSel == SIZE_BETWEEN && criteria.m_dwSizeTo < criteria.m_dwSizeFrom) {
    warn(kMsgSizeRange);
    return CriteriaCheck::SizeRange;
  }

  if (folderCount == 0) {
    warn(kMsgNoFolder);
    return CriteriaCheck::NoFolder;
  }
  return CriteriaCheck::Ok;
}

std::vector<std::string> SplitTypePatterns(const std::string& text) {
  std::vector<std::string> extensions;
  if (text.find(';') == std::string::npos) return extensions;
  std::string_view rest = text;
  for (;;) {
    const size_t end = rest.find(';');
    std::string_view part = rest.substr(0, end);
    const size_t first = part.find_first_not_of(" \t");
    part = first == std::string_view::npos ? std::string_view() : part.substr(first);
    part = part.substr(0, part.find_last_not_of(" \t") + 1);
    if (part.size() < 2 || part[0] != '*' || part[1] != '.') return {};
    extensions.emplace_back(part.substr(2));
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
  switch (criteria.m_nDateCondition) {
    case DATE_ANY: return true;
    case DATE_IS:
    case DATE_BETWEEN: return criteria.m_tDateFrom <= t && t <= criteria.m_tDateTo;
    case DATE_BEFORE: return t <= criteria.m_tDateFrom;
    case DATE_AFTER: return t >= criteria.m_tDateFrom;
    default: return false;
  }
}

std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

int32_t SizeToForBetween(int32_t sizeFrom) {
  constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
  return sizeFrom > kLargest - 10 ? kLargest : sizeFrom + 10;
}
