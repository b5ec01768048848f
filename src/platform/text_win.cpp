#include <mbstring.h>
#include <windows.h>

#include <ctime>

#include "platform/text.h"

namespace platform {

int CompareNoCase(const char* a, const char* b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a),
                  reinterpret_cast<const unsigned char*>(b));
}

void ToLower(std::string& text) {
  if (!text.empty()) _mbslwr(reinterpret_cast<unsigned char*>(text.data()));
}

int64_t MakeTime(const LocalTime& local) {
  struct tm fields = {};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  fields.tm_isdst = -1;
  return _mktime64(&fields);
}

bool ToLocalTime(int64_t seconds, LocalTime& local) {
  if (seconds < 0) return false;
  const __time64_t value = seconds;
  struct tm fields;
  if (_localtime64_s(&fields, &value) != 0) return false;
  local = {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
           fields.tm_hour,        fields.tm_min,     fields.tm_sec};
  return true;
}

std::string FormatDateTime(int64_t seconds) {
  if (seconds < 0) return {};
  const __time64_t value = seconds;
  struct tm fields;
  if (_localtime64_s(&fields, &value) != 0) return {};
  char buffer[128];
  const size_t length = strftime(buffer, sizeof buffer, "%c", &fields);
  return std::string(buffer, length);
}

}  // namespace platform
