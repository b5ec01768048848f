#pragma once
// Text and local-time helpers from the C library: 8-bit text in the system's
// code page, and times in the unchanged "C" locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The C library's multibyte case-insensitive comparison (code page aware on
// Windows): <0, 0, >0.
int CompareNoCase(const char* a, const char* b);
// Lower-cases in place with the C library's multibyte lower-casing.
void ToLower(std::string& text);

struct LocalTime {
  int year = 1970;  // full year
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;     // 0..24 (24 = the midnight that ends the day)
  int minute = 0;
  int second = 0;
};

// Local wall-clock time to seconds since 1970 UTC, daylight saving left to the
// library; -1 when it cannot be represented (the library's failure value).
int64_t MakeTime(const LocalTime& local);
// Seconds since 1970 UTC to local wall-clock time; false when not representable.
bool ToLocalTime(int64_t seconds, LocalTime& local);
// The "%c" text of the "C" locale, "MM/dd/yy HH:mm:ss"; empty when the time
// cannot be converted.
std::string FormatDateTime(int64_t seconds);

}  // namespace platform
