#include "search/skip_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "support/exact_files.h"

namespace {

struct Case {
  const char* list;
  const char* folder;
  bool skipped;
};

// As a user lists them: names and patterns, blanks and slips of the keyboard,
// letters in either case.
constexpr Case kCases[] = {
    {".git; node_modules", "node_modules", true},
    {".git; node_modules", ".git", true},
    {".git; node_modules", "node_modules2", false},
    {".git; node_modules", "git", false},
    {"  .git  ;;  node_modules ; ", "node_modules", true},
    {"Node_Modules", "NODE_MODULES", true},
    {"obj", "Obj", true},
    {"*.tmp", "build.tmp", true},
    {"*.tmp", "build.tmp.keep", false},
    {"b?n", "bin", true},
    {"b?n", "bn", false},
    {"b?n", "bean", false},
    {"a*b*c", "aXXbYYbZc", true},
    {"a*b*c", "aXXbYYcZ", false},
    {"*", "anything", true},
    {"**x", "x", true},
    {"cache*", "cache", true},
    {"", "anything", false},
    {" ; ", "anything", false},
};

}  // namespace

TEST(SkipFolders, NamesAndPatternsAsTheUserListsThem) {
  for (const Case& c : kCases) {
    const CSkipFolders skip(c.list);
    EXPECT_EQ(skip.Matches(c.folder), c.skipped) << '"' << c.list << "\" against " << c.folder;
  }
  EXPECT_TRUE(CSkipFolders("").Empty());
  EXPECT_TRUE(CSkipFolders(" ;\t; ").Empty());
  EXPECT_FALSE(CSkipFolders("x").Empty());
}

// Beyond ASCII the letters fold by the system's own table on Windows; the
// native build, in the "C" locale, folds ASCII alone.
TEST(SkipFolders, LettersBeyondAsciiFoldAsTheSystemComparesNames) {
  std::string lower, upper;
  ASSERT_TRUE(exact::ToProgramText("r\xC3\xA9sum\xC3\xA9", lower));
  ASSERT_TRUE(exact::ToProgramText("R\xC3\x89SUM\xC3\x89", upper));
  EXPECT_TRUE(CSkipFolders(lower).Matches(lower));
#if defined(_WIN32)
  EXPECT_TRUE(CSkipFolders(lower).Matches(upper));
#else
  EXPECT_FALSE(CSkipFolders(lower).Matches(upper));
#endif
}
