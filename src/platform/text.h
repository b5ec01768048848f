#pragma once
// Text and local-time helpers: 8-bit text in the process's code page (UTF-8
// where Windows allows it), and times in the unchanged "C" locale.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Case-insensitive comparison: <0, 0, >0. In a legacy code page the C
// library's multibyte comparison; in UTF-8, which the C library does not know,
// only ASCII letters fold and every other byte compares exactly.
int CompareNoCase(const char* a, const char* b);
// Lower-cases in place, by the same rule.
void ToLower(std::string& text);

// The code points of a name, each as the file system compares names without
// regard to case (on Windows the invariant upper case; natively, in the
// unchanged "C" locale, only ASCII letters fold). False when the bytes are
// no valid text.
bool FoldForNameCompare(std::string_view text, std::u32string& folded);

// The program's text as UTF-8 and back, exactly: false when a character has
// no form on the other side or the bytes are no valid text. Natively the
// program's text is UTF-8 already.
bool ToUtf8(std::string_view text, std::string& utf8);
bool FromUtf8(std::string_view utf8, std::string& text);
// The code points of UTF-8 bytes; false for bytes that are no valid UTF-8
// (overlong forms and surrogates included).
bool DecodeUtf8(std::string_view utf8, std::u32string& points);

// The bytes that begin a two-byte character in the process's code page. Only
// the double-byte pages (932, 936, 949, 950) have any; there the second byte
// of a character can be 0x5C, the backslash, so paths are read by character.
using LeadByteTable = std::array<bool, 256>;
const LeadByteTable& ProcessLeadBytes();
// Whether the last character of `path` is a separator ('\\' or '/').
bool EndsWithSeparator(std::string_view path, const LeadByteTable& lead = ProcessLeadBytes());
// The byte offsets of the separators in `path`, by character.
template <typename Visit>
void ForEachSeparator(std::string_view path, Visit visit,
                      const LeadByteTable& lead = ProcessLeadBytes()) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (lead[static_cast<unsigned char>(path[i])] && i + 1 < path.size()) {
      ++i;  // the second byte belongs to this character, whatever its value
      continue;
    }
    if (path[i] == '\\' || path[i] == '/') visit(i);
  }
}

// The text in the system's legacy code page (what the program's text was
// before it became UTF-8), for checking a password hashed from those bytes;
// empty when the process already uses the legacy page or the text has no
// exact form there.
std::string ToLegacyCodePage(const std::string& text);

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
// Times from 1900 on are represented, those before 1970 too.
int64_t MakeTime(const LocalTime& local);
// Seconds since 1970 UTC to local wall-clock time; false when not representable.
bool ToLocalTime(int64_t seconds, LocalTime& local);
// The "%c" text of the "C" locale, "MM/dd/yy HH:mm:ss"; empty when the time
// cannot be converted.
std::string FormatDateTime(int64_t seconds);

}  // namespace platform
