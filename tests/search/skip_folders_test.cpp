#include "search/skip_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "support/exact_files.h"

// As a user lists them: names and patterns, blanks, slips of the keyboard and
// letters in either case; beyond ASCII the letters fold by the system's own
// table on Windows, and natively (the "C" locale) not at all.
TEST(SkipFolders, NamesAndPatternsAsTheUserListsThem) {
  struct Case {
    const char* list;
    const char* folder;
    bool skipped;
  };
  constexpr Case kCases[] = {
      {" .git ;; node_modules ; ", "node_modules", true},
      {".git; node_modules", ".git", true},
      {".git; node_modules", "node_modules2", false},
      {"Node_Modules", "NODE_MODULES", true},
      {"*.tmp", "build.tmp", true},
      {"*.tmp", "build.tmp.keep", false},
      {"b?n", "bin", true},
      {"b?n", "bean", false},
      {"a*b*c", "aXXbYYbZc", true},
      {"a*b*c", "aXXbYYcZ", false},
      {"**x", "x", true},
      {" ; ", "anything", false},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(CSkipFolders(c.list).Matches(c.folder), c.skipped) << c.list << " / " << c.folder;
  EXPECT_TRUE(CSkipFolders(" ;\t; ").Empty());

  std::string lower, upper;
  ASSERT_TRUE(exact::ToProgramText("r\xC3\xA9sum\xC3\xA9", lower));
  ASSERT_TRUE(exact::ToProgramText("R\xC3\x89SUM\xC3\x89", upper));
  EXPECT_EQ(CSkipFolders(lower).Matches(upper), platform::kSeparator == '\\');
}
