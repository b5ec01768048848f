#include "platform/text.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

bool ProgramTextIsUtf8() {
#if defined(_WIN32)
  return GetACP() == CP_UTF8;
#else
  return true;
#endif
}

}  // namespace

// In code page 932 the second byte of a character can be 0x5C, the
// backslash: "\x95\x5C" is one character, not a letter and a separator.
TEST(Text, PathsAreReadByCharacterInADoubleByteCodePage) {
  platform::LeadByteTable shiftJis = {};
  for (unsigned c = 0x81; c <= 0x9F; ++c) shiftJis[c] = true;
  for (unsigned c = 0xE0; c <= 0xFC; ++c) shiftJis[c] = true;
  const std::string folder = "C:\\\x95\x5C";  // C:\ and one two-byte character
  EXPECT_FALSE(platform::EndsWithSeparator(folder, shiftJis));
  EXPECT_TRUE(platform::EndsWithSeparator(folder + "\\", shiftJis));
  std::vector<size_t> separators;
  platform::ForEachSeparator(
      folder + "\\a\x95\x5C\\", [&](size_t i) { separators.push_back(i); }, shiftJis);
  EXPECT_EQ(separators, (std::vector<size_t>{2, 5, 9}));
  // Read byte by byte, as a single-byte page reads it, the same path ends in one.
  EXPECT_TRUE(platform::EndsWithSeparator(folder, platform::LeadByteTable{}));
}

TEST(Text, CaseIsIgnoredForAsciiAndUtf8StaysExact) {
  EXPECT_EQ(platform::CompareNoCase("DOC", "doc"), 0);
  EXPECT_NE(platform::CompareNoCase("doc", "docx"), 0);
  if (!ProgramTextIsUtf8()) return;
  // "\xC3\x89" is E with an acute accent: its bytes are not letters to fold.
  std::string type =
      "\xC3\x89"
      "COLE";
  platform::ToLower(type);
  EXPECT_EQ(type,
            "\xC3\x89"
            "cole");
  EXPECT_NE(platform::CompareNoCase("\xC3\x89", "\xC3\xA9"), 0);
}

// The C library refuses local times before 1970; files and pickers from 1900
// on still have their dates, the same both ways.
TEST(Text, DatesBefore1970AreShownAndCompared) {
  UseTestTimeZone();
  for (const platform::LocalTime& local :
       {platform::LocalTime{1950, 6, 15, 12, 30, 0}, platform::LocalTime{1969, 12, 31, 23, 59, 58},
        platform::LocalTime{1901, 1, 2, 3, 4, 5}}) {
    const int64_t seconds = platform::MakeTime(local);
    ASSERT_NE(seconds, -1) << local.year;
    EXPECT_LT(seconds, platform::MakeTime({1970, 1, 2, 0, 0, 0}));
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", local.month, local.day,
                  local.year % 100, local.hour, local.minute, local.second);
    EXPECT_EQ(platform::FormatDateTime(seconds), text);
  }
  EXPECT_LT(platform::MakeTime({1950, 6, 15, 0, 0, 0}),
            platform::MakeTime({1950, 6, 15, 24, 0, 0}));
  EXPECT_EQ(platform::MakeTime({1950, 6, 15, 24, 0, 0}),
            platform::MakeTime({1950, 6, 16, 0, 0, 0}));
}
