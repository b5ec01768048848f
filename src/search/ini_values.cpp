#include "search/ini_values.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace ini {

namespace {

constexpr std::string_view kBlanks = " \t";

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

std::optional<uint64_t> Number(std::string_view text, uint64_t largest) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > largest)
    return std::nullopt;
  return value;
}

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

}  // namespace ini
