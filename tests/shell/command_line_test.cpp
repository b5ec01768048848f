#include "shell/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, TheSavedSearchToRunAfterTheProgramsPath) {
  struct Case {
    const char* line;
    std::optional<std::string> name;
  };
  const Case cases[] = {
      {"\"C:\\Tools\\quillory.exe\" ", std::nullopt},
      {"\"C:\\Tools\\quillory.exe\"", std::nullopt},
      {"C:\\Tools\\quillory.exe", std::nullopt},
      {"\"C:\\My Tools\\quillory.exe\" /search \"Temp files\"", "Temp files"},
      {"\"C:\\My Tools\\quillory.exe\"  -SEARCH   Temp files  ", "Temp files"},
      {"quillory.exe /Search \"Logs \"old\"\"", "Logs "},
      {"quillory.exe /search \"unclosed", "unclosed"},
      {"quillory.exe /search", ""},
      {"quillory.exe /searching Temp", std::nullopt},
      {"quillory.exe Temp /search x", std::nullopt},
      {"\"C:\\a /search b\\quillory.exe\"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(SearchOption(c.line), c.name) << c.line;
}
