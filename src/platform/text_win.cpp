#include <mbstring.h>
#include <windows.h>

#include <cstdio>
#include <ctime>

#include "platform/file_system.h"
#include "platform/text.h"
#include "platform/wide_text_win.h"

namespace platform {

namespace {

bool IsUtf8() {
  static const bool utf8 = GetACP() == CP_UTF8;
  return utf8;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The C library refuses times before 1970; the system's own conversions,
// which follow the same zone, take them from 1601 on.
bool SystemLocalTime(int64_t seconds, SYSTEMTIME& local) {
  if (seconds + kSecondsFrom1601To1970 < 0) return false;
  const FileTicks ticks = SecondsToTicks(seconds);
  FILETIME utcFile = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc;
  return FileTimeToSystemTime(&utcFile, &utc) &&
         SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

int64_t SystemMakeTime(const LocalTime& local) {
  if (local.hour == 24) {  // the midnight that ends the day
    const int64_t last = SystemMakeTime({local.year, local.month, local.day, 23, 59, 59});
    return last == -1 ? -1 : last + 1;
  }
  if (local.year < 1601 || local.year > 30827) return -1;
  const SYSTEMTIME wall = {static_cast<WORD>(local.year),
                           static_cast<WORD>(local.month),
                           0,
                           static_cast<WORD>(local.day),
                           static_cast<WORD>(local.hour),
                           static_cast<WORD>(local.minute),
                           static_cast<WORD>(local.second),
                           0};
  SYSTEMTIME utc;
  FILETIME utcFile;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &wall, &utc) ||
      !SystemTimeToFileTime(&utc, &utcFile))
    return -1;
  return TicksToSeconds((static_cast<uint64_t>(utcFile.dwHighDateTime) << 32) |
                        utcFile.dwLowDateTime);
}

}  // namespace

int CompareNoCase(const char* a, const char* b) {
  if (!IsUtf8())
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a),
                    reinterpret_cast<const unsigned char*>(b));
  for (;; ++a, ++b) {
    const unsigned char ca = static_cast<unsigned char>(AsciiLower(*a));
    const unsigned char cb = static_cast<unsigned char>(AsciiLower(*b));
    if (ca != cb || ca == 0) return ca < cb ? -1 : ca > cb ? 1 : 0;
  }
}

void ToLower(std::string& text) {
  if (text.empty()) return;
  if (!IsUtf8()) {
    _mbslwr(reinterpret_cast<unsigned char*>(text.data()));
    return;
  }
  for (char& c : text) c = AsciiLower(c);
}

const LeadByteTable& ProcessLeadBytes() {
  static const LeadByteTable table = [] {
    LeadByteTable lead = {};
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2) {
      for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
        for (unsigned c = info.LeadByte[i]; c <= info.LeadByte[i + 1]; ++c) lead[c] = true;
    }
    return lead;
  }();
  return table;
}

std::string ToLegacyCodePage(const std::string& text) {
  if (!IsUtf8()) return {};
  wchar_t pageText[8] = {};
  if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, pageText, 8)) return {};
  const UINT page = static_cast<UINT>(_wtoi(pageText));
  if (page == 0 || page == CP_UTF8) return {};
  std::wstring wide;
  if (!WidenExact(text, wide)) return {};
  BOOL usedDefault = FALSE;
  const int wideLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                         nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return {};
  std::string legacy(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, legacy.data(), length,
                      nullptr, &usedDefault);
  return usedDefault ? std::string() : legacy;
}

bool FoldForNameCompare(std::string_view text, std::u32string& folded) {
  folded.clear();
  std::wstring wide;
  if (!WidenExact(text, wide)) return false;
  if (!wide.empty()) {
    // The invariant upper case: what the file system's own table gives,
    // whatever the user's language (no Turkish dotless i).
    const int length = static_cast<int>(wide.size());
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), length, wide.data(), length) !=
        length)
      return false;
  }
  for (size_t i = 0; i < wide.size(); ++i) {
    const char32_t unit = wide[i];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() &&
                      wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
    folded.push_back(pair ? 0x10000 + ((unit - 0xD800) << 10) + (wide[++i] - 0xDC00) : unit);
  }
  return true;
}

bool ToUtf8(std::string_view text, std::string& utf8) {
  utf8.clear();
  std::wstring wide;
  if (!WidenExact(text, wide)) return false;
  if (wide.empty()) return true;
  const int wideLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), wideLength,
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return false;
  utf8.resize(static_cast<size_t>(length));
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), wideLength, utf8.data(),
                             length, nullptr, nullptr) == length;
}

bool FromUtf8(std::string_view utf8, std::string& text) {
  text.clear();
  if (utf8.empty()) return true;
  // Strictly: the system's own decoder lets some forms through in older releases.
  std::u32string points;
  if (!DecodeUtf8(utf8, points)) return false;
  const int utf8Length = static_cast<int>(utf8.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Length, nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Length, wide.data(),
                          length) != length)
    return false;
  return NarrowExact(wide, text);
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
  const int64_t seconds = _mktime64(&fields);
  if (seconds != -1 || local.year < 1900) return seconds;
  return local.year <= 1970 ? SystemMakeTime(local) : -1;
}

bool ToLocalTime(int64_t seconds, LocalTime& local) {
  if (seconds < 0) {
    SYSTEMTIME wall;
    if (!SystemLocalTime(seconds, wall)) return false;
    local = {wall.wYear, wall.wMonth, wall.wDay, wall.wHour, wall.wMinute, wall.wSecond};
    return true;
  }
  const __time64_t value = seconds;
  struct tm fields;
  if (_localtime64_s(&fields, &value) != 0) return false;
  local = {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
           fields.tm_hour,        fields.tm_min,     fields.tm_sec};
  return true;
}

std::string FormatDateTime(int64_t seconds) {
  if (seconds < 0) {
    // The same "MM/dd/yy HH:mm:ss" the C library's "%c" gives from 1970 on.
    LocalTime local;
    if (!ToLocalTime(seconds, local)) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", local.month, local.day,
                  local.year % 100, local.hour, local.minute, local.second);
    return text;
  }
  const __time64_t value = seconds;
  struct tm fields;
  if (_localtime64_s(&fields, &value) != 0) return {};
  char buffer[128];
  const size_t length = strftime(buffer, sizeof buffer, "%c", &fields);
  return std::string(buffer, length);
}

}  // namespace platform
