#include <strings.h>

#include <cctype>
#include <ctime>

#include "platform/text.h"

namespace platform {

int CompareNoCase(const char* a, const char* b) { return strcasecmp(a, b); }

void ToLower(std::string& text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Natively the text is UTF-8, whose continuation bytes are never a separator.
const LeadByteTable& ProcessLeadBytes() {
  static const LeadByteTable none = {};
  return none;
}

std::string ToLegacyCodePage(const std::string&) { return {}; }

bool FoldForNameCompare(std::string_view text, std::u32string& folded) {
  if (!DecodeUtf8(text, folded)) return false;
  for (char32_t& c : folded)
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  return true;
}

bool ToUtf8(std::string_view text, std::string& utf8) {
  std::u32string points;
  if (!DecodeUtf8(text, points)) return false;
  utf8.assign(text);
  return true;
}

bool FromUtf8(std::string_view utf8, std::string& text) { return ToUtf8(utf8, text); }

// From 1900 on, as the Windows build takes them.
int64_t MakeTime(const LocalTime& local) {
  struct tm fields = {};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  fields.tm_isdst = -1;
  if (local.year < 1900) return -1;
  return static_cast<int64_t>(mktime(&fields));
}

bool ToLocalTime(int64_t seconds, LocalTime& local) {
  const time_t value = static_cast<time_t>(seconds);
  struct tm fields;
  if (!localtime_r(&value, &fields)) return false;
  local = {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
           fields.tm_hour,        fields.tm_min,     fields.tm_sec};
  return true;
}

// What "%c" gives in the "C" locale of the Windows C library.
std::string FormatDateTime(int64_t seconds) {
  const time_t value = static_cast<time_t>(seconds);
  struct tm fields;
  if (!localtime_r(&value, &fields)) return {};
  char buffer[128];
  const size_t length = strftime(buffer, sizeof buffer, "%m/%d/%y %H:%M:%S", &fields);
  return std::string(buffer, length);
}

}  // namespace platform
