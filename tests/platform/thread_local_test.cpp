// No thread_local object with a destructor may enter the program: with this
// toolchain it crashes the program as a thread ends (see thread_local_slot.h).

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/thread_local_slot.h"

namespace {

template <class T>
concept Slottable = requires {
  typename platform::ThreadLocalSlot<T>;
};
static_assert(Slottable<int> && Slottable<char*>);
static_assert(!Slottable<std::string> && !Slottable<std::vector<char>>);

// The text with its comments and string and character literals blanked out,
// lines kept.
std::string CodeOnly(const std::string& text) {
  std::string code = text;
  for (size_t i = 0; i < code.size(); ++i) {
    auto blankUntil = [&](const std::string& end, size_t from) {
      const size_t stop = code.find(end, from);
      const size_t last = stop == std::string::npos ? code.size() : stop + end.size();
      for (size_t j = i; j < last; ++j)
        if (code[j] != '\n') code[j] = ' ';
      i = last - 1;
    };
    if (code.compare(i, 2, "//") == 0) {
      blankUntil("\n", i);
    } else if (code.compare(i, 2, "/*") == 0) {
      blankUntil("*/", i + 2);
    } else if (code[i] == '"' || code[i] == '\'') {
      size_t j = i + 1;
      while (j < code.size() && code[j] != code[i] && code[j] != '\n') j += code[j] == '\\' ? 2 : 1;
      blankUntil(std::string(1, code[i]), std::min(j, code.size()));
    }
  }
  return code;
}

// The lines (from 1) of each thread_local whose type is not a ThreadLocalSlot.
std::vector<int> BareThreadLocals(const std::string& text) {
  const std::string code = CodeOnly(text);
  std::vector<int> lines;
  const std::string keyword = "thread_local";
  for (size_t at = code.find(keyword); at != std::string::npos;
       at = code.find(keyword, at + keyword.size())) {
    const auto isWord = [&](size_t i) {
      return i < code.size() &&
             (std::isalnum(static_cast<unsigned char>(code[i])) || code[i] == '_');
    };
    if ((at > 0 && isWord(at - 1)) || isWord(at + keyword.size())) continue;
    std::istringstream rest(code.substr(at + keyword.size(), 200));
    std::string word;
    while (rest >> word && (word == "static" || word == "constinit" || word == "const")) {
    }
    if (word.rfind("ThreadLocalSlot<", 0) != 0 && word.rfind("platform::ThreadLocalSlot<", 0) != 0)
      lines.push_back(1 + static_cast<int>(std::count(code.begin(), code.begin() + at, '\n')));
  }
  return lines;
}

}  // namespace

TEST(ThreadLocal, TheCheckFindsEveryBareOneAndNothingElse) {
  const struct {
    const char* text;
    std::vector<int> lines;
  } cases[] = {
      {"thread_local std::unique_ptr<char[]> batch;", {1}},
      {"int a;\nstatic thread_local std::string name;", {2}},
      {"thread_local int counter = 0;", {1}},
      {"thread_local platform::ThreadLocalSlot<char*> batch{};", {}},
      {"static constinit thread_local ThreadLocalSlot<int> n{};", {}},
      {"// a thread_local std::string would crash\nint a;", {}},
      {"/* thread_local\n std::string */ const char* s = \"thread_local x\";", {}},
      {"int my_thread_local_count; int thread_locality;", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(BareThreadLocals(c.text), c.lines) << c.text;
}

TEST(ThreadLocal, TheProgramHasNoneButSlots) {
  const std::filesystem::path src = std::filesystem::path(QUILLORY_SOURCE_DIR) / "src";
  int files = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(src)) {
    const std::string extension = item.path().extension().string();
    if (extension != ".cpp" && extension != ".h") continue;
    std::ifstream in(item.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ++files;
    for (int line : BareThreadLocals(text.str()))
      ADD_FAILURE() << item.path().string() << ":" << line
                    << ": a thread_local object; keep a platform::ThreadLocalSlot instead";
  }
  EXPECT_GT(files, 50);  // the sources were found at all
}
