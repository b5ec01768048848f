#include "results/compare_rows.h"

#include <limits>

#include "platform/text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Two digits at text[at], as the date text always has them.
bool TwoDigits(const char* text, int at, int& value) {
  if (!IsDigit(text[at]) || !IsDigit(text[at + 1])) return false;
  value = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<int64_t>(era) * 146097 + dayOfEra - 719468;
}

}  // namespace

int64_t ParseRowNumber(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  // Accumulated as a negative number so that the smallest value fits too.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  for (; IsDigit(*text); ++text) {
    const int digit = *text - '0';
    if (value < (kMin + digit) / 10) {
      value = kMin;
      while (IsDigit(*text)) ++text;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

bool ParseRowDate(const char* text, int64_t& wallClock) {
  // "MM/dd/yy HH:mm:ss", exactly as the "C" locale's "%c" writes it. Read
  // field by field rather than through the user's locale, which may take the
  // first field for the day.
  static constexpr char kShape[] = "00/00/00 00:00:00";
  for (int i = 0; i < 17; ++i) {
    if (text[i] == '\0') return false;
    if (kShape[i] != '0' && text[i] != kShape[i]) return false;
  }
  if (text[17] != '\0') return false;
  int month, day, year, hour, minute, second;
  if (!TwoDigits(text, 0, month) || !TwoDigits(text, 3, day) || !TwoDigits(text, 6, year) ||
      !TwoDigits(text, 9, hour) || !TwoDigits(text, 12, minute) || !TwoDigits(text, 15, second))
    return false;
  // Times before 1970 UTC are never formatted, so the earliest text is the
  // first of January 1970 UTC in local time, which west of Greenwich reads
  // 12/31/69. The century therefore runs from 1969 to 2068.
  year += year >= 69 ? 1900 : 2000;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour > 23 || minute > 59 || second > 60) return false;  // 60: a leap second
  // The text is local wall-clock time, so this orders by the instant shown;
  // only the hour repeated when the clocks go back is ambiguous, and the text
  // itself cannot tell its two halves apart.
  wallClock = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  return true;
}

int CompareRows(const char* textA, const char* textB, int32_t sortParam) {
  const int sign = sortParam < 0 ? -1 : 1;
  const int64_t kind = sortParam < 0 ? -static_cast<int64_t>(sortParam) : sortParam;
  switch (kind) {
    case SORT_NUMBER: {
      const int64_t a = ParseRowNumber(textA);
      const int64_t b = ParseRowNumber(textB);
      return sign * ((a > b) - (a < b));
    }
    case SORT_TEXT: {
      const int order = platform::CompareNoCase(textA, textB);
      return sign * ((order > 0) - (order < 0));
    }
    case SORT_DATE: {
      int64_t a, b;
      if (!ParseRowDate(textA, a) || !ParseRowDate(textB, b)) return 0;
      return sign * (a < b ? -1 : 1);
    }
    default: return 0;
  }
}

void CollectSelectedResults(std::span<const std::string> numberTexts,
                            std::vector<int32_t>& selectedResults,
                            std::vector<int32_t>& deleteMarks) {
  selectedResults.clear();
  for (int32_t& mark : deleteMarks) mark = 0;
  selectedResults.reserve(numberTexts.size());
  for (const std::string& text : numberTexts) {
    // The "N" text, not the row's position or item data: it survives any sort.
    const int64_t number = ParseRowNumber(text.c_str());
    if (number < 1 || number > static_cast<int64_t>(deleteMarks.size())) continue;
    selectedResults.push_back(static_cast<int32_t>(number - 1));
    deleteMarks[static_cast<size_t>(number - 1)] = 1;
  }
}
