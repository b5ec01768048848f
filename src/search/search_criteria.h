#pragma once
// The three conditions a file must meet to be listed, how the search page's
// inputs become them, and what they mean for one file. All bounds are
// inclusive, as the user reads them.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "search/skip_folders.h"

enum DateField : int32_t { DATE_CREATED = 0, DATE_MODIFIED = 1, DATE_ACCESSED = 2 };
enum DateCondition : int32_t {
  DATE_ANY = 0,
  DATE_IS = 1,
  DATE_BEFORE = 2,
  DATE_AFTER = 3,
  DATE_BETWEEN = 4,
  // Ages from the moment "Find" is pressed, in whole days.
  DATE_OLDER = 5,
  DATE_WITHIN = 6
};
// The items of the page's drop-down lists, whose positions are the codes above.
inline constexpr const char* kDateFields[] = {"Created Date", "Modified Date", "Accessed Date"};
inline constexpr const char* kDateConditions[] = {
    "any", "is", "is before", "is after", "is between", "is older than", "is within the last"};
inline constexpr const char* kDateModes[] = {"Date", "Date and Time"};
inline constexpr const char* kSizeConditions[] = {"any", "is more than", "is less than",
                                                  "is between"};
inline constexpr const char* kSizeUnits[] = {"B", "KB", "MB", "GB"};

enum SizeCondition : int32_t { SIZE_ANY = 0, SIZE_MORE = 1, SIZE_LESS = 2, SIZE_BETWEEN = 3 };
enum SizeUnit : int32_t { UNIT_B = 0, UNIT_KB = 1, UNIT_MB = 2, UNIT_GB = 3 };

struct SearchCriteria {
  std::string m_strExtension;  // without the dot; empty or "*" = every file
  // Beside it: the extensions of a type text that lists several "*.ext"
  // patterns; when there are any, a file of any of them matches and
  // m_strExtension plays no part.
  std::vector<std::string> m_arrExtensions;
  int32_t m_nDateField = DATE_MODIFIED;
  int32_t m_nDateCondition = DATE_ANY;
  int64_t m_tDateFrom = 0;  // seconds since 1970-01-01 00:00:00 UTC
  int64_t m_tDateTo = 0;
  int32_t m_nSizeCondition = SIZE_ANY;
  // Byte counts. 64 bits wide so that "is more than 5 GB" means 5 GB, not the
  // low 32 bits of it.
  uint64_t m_dwSizeFrom = 0;
  uint64_t m_dwSizeTo = 0;
  // The sub-folders the walk does not enter.
  CSkipFolders m_skipFolders;
};

// The search page's members the criteria are built from, as a plain struct so
// that the build can be tested without a window.
struct SearchPageInputs {
  int32_t m_nAllFiles = 1;
  int32_t m_nSpecifyType = 0;
  std::string m_strTypePattern = "*.doc";
  int32_t m_bDateOnly = 1;
  int32_t m_bDateAndTime = 0;
  platform::LocalTime m_dtFromDate;  // only year, month, day count
  platform::LocalTime m_dtToDate;
  platform::LocalTime m_dtFromTime{1899, 12, 30, 0, 0, 0};  // only the time of day counts
  platform::LocalTime m_dtToTime{1899, 12, 30, 23, 59, 59};
  // The whole numbers typed into the size edits; nothing when a number has
  // more digits than any byte count holds, which Find then refuses.
  std::optional<uint64_t> m_nSizeFromValue = 0;
  std::optional<uint64_t> m_nSizeToValue = 10;
  int32_t m_nDateFieldSel = DATE_MODIFIED;
  int32_t m_nDateConditionSel = DATE_ANY;
  int32_t m_nSizeConditionSel = SIZE_ANY;
  int32_t m_nSizeUnit = UNIT_MB;
  // The days of "is older than" and "is within the last"; nothing when the
  // number is too long to hold.
  std::optional<uint64_t> m_nDays = 30;
  std::string m_strSkipFolders;  // the "Skip folders:" text as typed
};

inline constexpr uint64_t kMaxDays = 36500;

enum class CriteriaCheck { Ok, FileType, Days, DateRange, SizeTooLarge, SizeRange, NoFolder };

extern const char* const kMsgFileType;
extern const char* const kMsgDays;
extern const char* const kMsgDateRange;
extern const char* const kMsgSizeRange;
extern const char* const kMsgNoFolder;

// Says how large a size the unit takes, for a typed size beyond it.
std::string SizeTooLargeMessage(int32_t unit);

// Fills `criteria` from the inputs, running the checks in their order.
// On the first failed check shows its message through `warn` and returns it;
// the record keeps what was built up to that point. `now`, in seconds since
// 1970 UTC, is the moment the ages count back from.
CriteriaCheck BuildSearchCriteria(const SearchPageInputs& inputs, size_t folderCount,
                                  SearchCriteria& criteria,
                                  const std::function<void(const std::string&)>& warn,
                                  int64_t now = static_cast<int64_t>(std::time(nullptr)));

// The days box as typed: its whole text, blanks around it aside, must be a
// number; anything else ("", "abc", "-5", "3 0") is nothing, which Find
// refuses with the days message rather than reading it as 0 days.
std::optional<uint64_t> ReadDayCount(std::string_view text);

// The ages count whole days of 86400 seconds back from `now`, so that a
// change of daylight-saving time in between moves no bound.
int64_t AgeBound(int64_t now, uint64_t days);
inline bool IsAgeCondition(int32_t condition) {
  return condition == DATE_OLDER || condition == DATE_WITHIN;
}

// The extensions of a type text whose every ";"-separated part is a "*.ext"
// pattern, blanks around the parts and empty parts ignored ("*.tmp; *.log;"
// gives tmp and log). Empty for any other text, which keeps its
// one-extension meaning: "*.doc;txt" is the extension "doc;txt", a name a
// file can have.
std::vector<std::string> SplitTypePatterns(const std::string& text);

bool MatchesExtension(const SearchCriteria& criteria, const std::string& type);
bool MatchesSize(const SearchCriteria& criteria, uint64_t size);
// A file time of platform::kNoFileTime meets no date condition but "any".
bool MatchesDate(const SearchCriteria& criteria, int64_t fileTime);

// The To value "is between" starts from: From + 10, held at the largest
// number rather than wrapping round to a small one.
uint64_t SizeToForBetween(uint64_t sizeFrom);

// The extension of a file name: the text after its last ".", empty when none.
std::string ExtensionOf(const std::string& name);
