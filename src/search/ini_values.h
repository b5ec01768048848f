#pragma once
// How quillory.ini writes its values, and reads them back: one "key=value" a
// line, numbers in digits only, dates and times in a fixed form, text in
// UTF-8. A value that cannot be read leaves its field as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace ini {

// Without the blanks and tabs around it.
std::string_view Trim(std::string_view text);
// A whole number of digits only, at most `largest`.
std::optional<uint64_t> Number(std::string_view text, uint64_t largest = UINT64_MAX);
// "2024-03-10": a day the date pickers can show; only the date is set.
bool ReadDate(std::string_view text, platform::LocalTime& date);
// "08:15:30"; only the time of day is set.
bool ReadTime(std::string_view text, platform::LocalTime& time);
std::string DateText(const platform::LocalTime& t);
std::string TimeText(const platform::LocalTime& t);
// A value in the file's UTF-8; line breaks cannot stand in one.
std::string Utf8Value(std::string_view text);

// The position of `text` among `items`, and back (the first for one out of range).
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

}  // namespace ini
