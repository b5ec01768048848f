// A new user's first search and delete with the shipped program, through its
// windows only: the folder chosen in the system's folder browser, a type, the
// rows sorted, typed to and selected, two files deleted, the list saved and
// the program ended from its notification icon.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"
#include "support/settings_bytes.h"
#include "support/shipped_program_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

using Rows = std::vector<std::string>;

// The Name column of every row, in the list's order.
Rows Names(HWND list) {
  Rows names;
  for (int row = 0, count = ListRowCount(list); row < count; ++row)
    names.push_back(ListCell(list, row, 1));
  return names;
}

}  // namespace

TEST(ShippedProgram, FindsSortsSelectsDeletesAndSavesTheList) {
  // The folder the user searches: six .tmp files (one in a sub-folder) among
  // others, each of its own size.
  TempDir files("C:\\");
  const std::map<std::string, uint64_t> docs = {{"alpha.tmp", 100},   {"bravo.tmp", 300},
                                                {"charlie.tmp", 200}, {"delta.tmp", 50},
                                                {"echo.tmp", 400},    {"sub\\foxtrot.tmp", 250}};
  for (const auto& [name, size] : docs) files.MakeFile(name, size);
  files.MakeFile("keep.doc", 10);
  files.MakeFile("sub\\notes.txt", 20);

  TempDir install;
  ShippedProgram program(install.Path());
  HWND main = program.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(OpenPage(program, main, "Delete Files", IDC_ADD));

  ASSERT_TRUE(AddFolder(program, main, files.Path()));

  ClickOn(FindDescendant(main, IDC_SPECIFY_TYPE));
  HWND type = FindDescendant(main, IDC_TYPE_PATTERN);
  ASSERT_TRUE(program.Until("the type box", [&] { return IsUsable(type); }));
  // The box holds "*.doc": the user types over it.
  ASSERT_TRUE(program.TypeInto(type, "*.tmp"));

  ASSERT_TRUE(FindAndWait(program, main));
  HWND list = FindDescendant(main, IDC_LIST_RESULTS);
  ASSERT_TRUE(program.Until("six rows", [&] { return ListRowCount(list) == 6; }))
      << ListRowCount(list) << " rows";
  HWND total = FindDescendant(main, IDC_TOTAL_LABEL);
  EXPECT_EQ(ReadText(total), "Total number of found files: 6");

  // A click on "Size" sorts by size, smallest first.
  ClickAt(HeaderItemPoint(list, 4));
  const Rows bySize = {"delta.tmp",   "alpha.tmp", "charlie.tmp",
                       "foxtrot.tmp", "bravo.tmp", "echo.tmp"};
  ASSERT_TRUE(program.Until("the rows by size", [&] { return Names(list) == bySize; }));
  EXPECT_EQ(ListCell(list, 0, 4), "50");

  // A click on the first row, then "e" typed: the row of echo.tmp.
  ASSERT_TRUE(program.ClickUntil(
      "the first row selected", [&] { return ListRowPoint(list, 0); },
      [&] { return ListSelectedRows(list) == std::vector{0}; }));
  TypeText("e");
  ASSERT_TRUE(
      program.Until("echo.tmp's row", [&] { return ListSelectedRows(list) == std::vector{5}; }));
  // Shift+Up takes bravo.tmp's in too.
  PressKey(VK_UP, {VK_SHIFT});
  ASSERT_TRUE(program.Until("two rows selected", [&] {
    return ListSelectedRows(list) == std::vector{4, 5};
  }));
  HWND selection = FindDescendant(main, IDC_SELECTION_LABEL);
  EXPECT_TRUE(program.Until("the selection's totals", [&] {
    return ReadText(selection) == "Selected: 2 files, 700 B";
  })) << ReadText(selection);

  ASSERT_TRUE(DeleteAnsweringYes(program, main, "Do you really want to delete selected file(s)?"));
  ASSERT_TRUE(program.Until("four rows", [&] { return ListRowCount(list) == 4; }));
  // The keys below go to the list only once the progress window has gone.
  ASSERT_TRUE(program.Until("the progress window to close",
                            [&] { return !program.FindWindow("Deleting Files"); }));
  EXPECT_FALSE(FileExists(files / "bravo.tmp"));
  EXPECT_FALSE(FileExists(files / "echo.tmp"));
  for (const char* kept : {"alpha.tmp", "charlie.tmp", "delta.tmp", "sub\\foxtrot.tmp", "keep.doc",
                           "sub\\notes.txt"}) {
    EXPECT_TRUE(FileExists(files / kept)) << kept;
  }
  EXPECT_EQ(ReadWholeFile(files / "charlie.tmp").size(), 200u);
  EXPECT_TRUE(program.Until("the delete's report", [&] {
    return ReadText(selection) == "Deleted 2 of 2 files";
  })) << ReadText(selection);
  // The total is what the search found; the list shows what is left.
  EXPECT_EQ(ReadText(total), "Total number of found files: 6");

  // Ctrl+A, Ctrl+S on the list: every row, in the list's order.
  ASSERT_TRUE(SelectEveryRow(program, list));
  EXPECT_EQ(ListSelectedRows(list).size(), 4u);
  PressKey('S', {VK_CONTROL});
  TempDir saved;
  const std::string csv = saved / "list.csv";
  ASSERT_TRUE(SaveAs(program, csv));
  ASSERT_TRUE(program.Until("the saved list", [&] { return FileExists(csv); }));
  std::string expected = "\xEF\xBB\xBFLocation,Name,Type,Size,Modified Date\r\n";
  for (int row = 0; row < 4; ++row) {
    expected +=
        ListCell(list, row, 3) + "," + ListCell(list, row, 1) + ",tmp," +
        std::to_string(docs.at((ListCell(list, row, 3) == files.Path() + "\\" ? "" : "sub\\") +
                               ListCell(list, row, 1))) +
        ",";
  }
  const std::string text = ReadWholeFile(csv);
  // Each line up to its date, which the file's own time gives.
  std::string undated;
  for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::string line = text.substr(at, end - at);
    undated += at == 0 ? line + "\r\n" : line.substr(0, line.rfind(',') + 1);
  }
  EXPECT_EQ(undated, expected);

  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ::GetWindowPlacement(main, &placement);
  DWORD exitCode = 1;
  ASSERT_TRUE(ExitFromTrayMenu(program, main, exitCode));
  EXPECT_EQ(exitCode, 0u);
  const std::string settings = ReadWholeFile(install / "settings.dat");
  ASSERT_EQ(settings.size(), settings_bytes::kSizeWithoutHash);
  EXPECT_EQ(settings.substr(0, 27), settings_bytes::kHeader);
  using settings_bytes::Field;
  const RECT& normal = placement.rcNormalPosition;
  EXPECT_EQ(settings_bytes::ReadInt(settings, settings_bytes::OffsetOf(Field::kLeft)), normal.left);
  EXPECT_EQ(settings_bytes::ReadInt(settings, settings_bytes::OffsetOf(Field::kWidth)),
            normal.right - normal.left);
  EXPECT_EQ(settings_bytes::ReadInt(settings, settings_bytes::OffsetOf(Field::kShowCommand)),
            SW_SHOWNORMAL);
  EXPECT_EQ(settings[settings_bytes::kProtectFlagAt], 0);
}
