// A search that finds more than the list may hold: 100001 files, the
// warning, and the first 100000 of them as rows.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "support/shipped_program_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

constexpr int kFiles = 100001;
constexpr int kPerFolder = 1000;

// 100001 empty files in 101 folders. The tree is only read, so it is kept in
// the prefix for the next run; a marker beside it says it is whole.
std::string GeneratedTree() {
  const std::string root = "C:\\quillory-tree-100001";
  const std::string marker = root + ".complete";
  if (::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return root;
  ::CreateDirectoryA(root.c_str(), nullptr);
  std::string folder;
  for (int i = 0; i < kFiles; ++i) {
    if (i % kPerFolder == 0) {
      char name[32];
      std::snprintf(name, sizeof name, "\\d%03d", i / kPerFolder);
      folder = root + name;
      ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string path = folder + "\\f" + std::to_string(i) + ".tmp";
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "cannot make " << path;
      return {};
    }
    ::CloseHandle(file);
  }
  ::CloseHandle(
      ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return root;
}

}  // namespace

TEST(ShippedProgram, WarnsAtTheLimitAndLists100000Rows) {
  const std::string tree = GeneratedTree();
  ASSERT_FALSE(tree.empty());

  TempDir install;
  ShippedProgram program(install.Path());
  HWND main = program.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(OpenPage(program, main, "Delete Files", IDC_ADD));
  ASSERT_TRUE(AddFolder(program, main, tree));
  ClickOn(FindDescendant(main, IDC_FIND));

  HWND warning = program.WaitForWindow("Warning");
  ASSERT_TRUE(warning);
  EXPECT_EQ(ReadText(FindDescendant(warning, IDC_BOX_TEXT)),
            "The number of found files exceeds the 100000 limit.\r\nTo ensure normal viewing, the "
            "results will be truncated.\r\nIf necessary, please set new search criteria.");
  ASSERT_TRUE(program.Press(warning, IDOK, "the warning closed"));
  HWND list = FindDescendant(main, IDC_LIST_RESULTS);
  ASSERT_TRUE(program.Until(
      "100000 rows", [&] { return ListRowCount(list) == 100000; }, 60s));
  EXPECT_EQ(ReadText(FindDescendant(main, IDC_TOTAL_LABEL)), "Total number of found files: 100000");
  EXPECT_EQ(ListCell(list, 99999, 0), "100000");
  EXPECT_EQ(ListCell(list, 99999, 2), "tmp");

  DWORD exitCode = 1;
  ASSERT_TRUE(ExitFromTrayMenu(program, main, exitCode));
  EXPECT_EQ(exitCode, 0u);
}
