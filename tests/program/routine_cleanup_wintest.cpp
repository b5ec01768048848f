// A routine clean-up with the shipped program, through its windows only: the
// .tmp files older than 30 days under a folder, node_modules left alone, to
// the Recycle Bin; the program ended and started again finds the page as it
// was, and the search and delete move exactly those files to the bin (under
// Wine the XDG trash, which CMake gives this run in the build folder). One of
// them changes after the search: by its question the files before it are in
// the bin already, and the page and the progress window speak of the bin.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/shipped_program_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

constexpr int kOlderThanIndex = 5;  // "is older than", after the design's five

bool Checked(HWND button) { return SendBounded(button, BM_GETCHECK) == BST_CHECKED; }
int Chosen(HWND list) { return static_cast<int>(SendBounded(list, CB_GETCURSEL)); }

// A user's choice in a drop-down list: a click opens it, the arrows move to
// the item, Enter settles on it.
bool ChooseInList(const ShippedProgram& program, HWND list, int index) {
  if (!program.ClickUntil(
          "the list open", [&] { return CentreOf(list); },
          [&] { return SendBounded(list, CB_GETDROPPEDSTATE) != 0; }))
    return false;
  for (int at = Chosen(list); at < index; ++at) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  return program.Until("the item chosen", [&] {
    return Chosen(list) == index && SendBounded(list, CB_GETDROPPEDSTATE) == 0;
  });
}

// Where this run's trash keeps a file moved under `name`.
std::string InTrash(const std::string& kind, const std::string& name) {
  std::string path =
      std::string("Z:") + std::getenv("XDG_DATA_HOME") + "/Trash/" + kind + "/" + name;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace

TEST(ShippedProgram, ARoutineCleanUpIsRememberedAndMovesOldFilesToTheBin) {
  ASSERT_NE(std::getenv("XDG_DATA_HOME"), nullptr);
  TempDir files("C:\\");
  // Names of this run only: the trash outlives it.
  const std::string tag = files.Path().substr(files.Path().find_last_of('\\') + 1);
  const std::vector<std::string> old = {"old " + tag + ".tmp", "sub\\older " + tag + ".tmp",
                                        "sub\\deep\\oldest " + tag + ".tmp"};
  const std::vector<std::string> kept = {"new.tmp", "old.doc", "node_modules\\lib\\old.tmp",
                                         "sub\\Node_Modules\\old.tmp"};
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  const int64_t sixtyDaysAgo = now - 60 * 86400;
  for (const std::vector<std::string>* names : {&old, &kept}) {
    for (const std::string& name : *names) {
      const int64_t modified = name == "new.tmp" ? now - 86400 : sixtyDaysAgo;
      ASSERT_TRUE(SetFileTimes(files.MakeFile(name, 100), modified, modified, modified)) << name;
    }
  }

  TempDir install;
  // A search saved by another hand under a name longer than the list shows.
  const std::string longName(600, 'n');
  ASSERT_TRUE(WriteWholeFile(install / "quillory.ini", "[Search: " + longName + "]\r\n"));
  {
    ShippedProgram program(install.Path());
    HWND main = program.WaitForMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(OpenPage(program, main, "Delete Files", IDC_ADD));
    // Chosen, it is listed cut; Save… offers it whole and refuses it, and
    // Delete takes it away.
    HWND saved = FindDescendant(main, IDC_SAVED_SEARCHES);
    ASSERT_TRUE(ChooseInList(program, saved, 0));
    EXPECT_EQ(SendBounded(saved, CB_GETLBTEXTLEN, 0), 255);
    ClickOn(FindDescendant(main, IDC_SAVE_SEARCH));
    HWND nameBox = program.WaitForWindow("Save search");
    ASSERT_TRUE(nameBox);
    EXPECT_EQ(ReadText(FindDescendant(nameBox, IDC_SEARCH_NAME)), longName);
    ASSERT_TRUE(program.Press(nameBox, IDOK, "the name refused",
                              [&] { return program.FindWindow("Warning") != nullptr; }));
    ASSERT_TRUE(program.Press(program.WaitForWindow("Warning"), IDOK, "the message closed"));
    ASSERT_TRUE(program.Press(nameBox, IDCANCEL, "the box closed"));
    ClickOn(FindDescendant(main, IDC_DELETE_SEARCH));
    ASSERT_TRUE(program.Press(program.WaitForWindow("Warning"), IDOK, "the search deleted"));
    ASSERT_TRUE(
        program.Until("no search saved", [&] { return SendBounded(saved, CB_GETCOUNT) == 0; }));
    ClickOn(FindDescendant(main, IDC_ADD));
    ASSERT_TRUE(ChooseFolderInBrowser(program, files.Path()));
    HWND folders = FindDescendant(main, IDC_LIST_FOLDERS);
    ASSERT_TRUE(program.Until("the folder listed", [&] { return ListRowCount(folders) == 1; }));

    ClickOn(FindDescendant(main, IDC_SPECIFY_TYPE));
    HWND type = FindDescendant(main, IDC_TYPE_PATTERN);
    ASSERT_TRUE(program.Until("the type box", [&] { return IsUsable(type); }));
    ASSERT_TRUE(program.TypeInto(type, "*.tmp"));
    ASSERT_TRUE(ChooseInList(program, FindDescendant(main, IDC_DATE_CONDITION), kOlderThanIndex));
    HWND days = FindDescendant(main, IDC_DAYS);
    ASSERT_TRUE(program.Until("the days in the pickers' place", [&] { return IsUsable(days); }));
    ASSERT_TRUE(program.TypeInto(days, "30"));
    ASSERT_TRUE(program.TypeInto(FindDescendant(main, IDC_SKIP_FOLDERS), "node_modules"));
    HWND recycle = FindDescendant(main, IDC_RECYCLE);
    ASSERT_TRUE(program.ClickUntil(
        "the Recycle Bin chosen", [&] { return CentreOf(recycle); },
        [&] { return Checked(recycle); }));

    DWORD exitCode = 1;
    ASSERT_TRUE(ExitFromTrayMenu(program, main, exitCode));
    EXPECT_EQ(exitCode, 0u);
  }

  ShippedProgram program(install.Path(), ShippedProgram::Copy::kNo);
  HWND main = program.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(OpenPage(program, main, "Delete Files", IDC_ADD));
  HWND folders = FindDescendant(main, IDC_LIST_FOLDERS);
  ASSERT_TRUE(program.Until("the folder back", [&] { return ListRowCount(folders) == 1; }));
  EXPECT_EQ(ListCell(folders, 0, 1), files.Path());
  EXPECT_EQ(ReadText(FindDescendant(main, IDC_TYPE_PATTERN)), "*.tmp");
  EXPECT_EQ(Chosen(FindDescendant(main, IDC_DATE_CONDITION)), kOlderThanIndex);
  EXPECT_EQ(ReadText(FindDescendant(main, IDC_SKIP_FOLDERS)), "node_modules");
  EXPECT_TRUE(Checked(FindDescendant(main, IDC_RECYCLE)));

  // An empty days box is no number of days: Find says so and lists nothing.
  HWND days = FindDescendant(main, IDC_DAYS);
  ASSERT_TRUE(program.TypeInto(days, ""));
  ClickOn(FindDescendant(main, IDC_FIND));
  HWND warning = program.WaitForWindow("Warning");
  ASSERT_TRUE(warning);
  EXPECT_EQ(ReadText(FindDescendant(warning, IDC_BOX_TEXT)),
            "Please enter a number of days from 0 to 36500.");
  ASSERT_TRUE(program.Press(warning, IDOK, "the message closed"));
  ASSERT_TRUE(program.TypeInto(days, "30"));

  ASSERT_TRUE(FindAndWait(program, main));
  HWND list = FindDescendant(main, IDC_LIST_RESULTS);
  ASSERT_TRUE(program.Until("three rows", [&] { return ListRowCount(list) == 3; }))
      << ListRowCount(list) << " rows";

  // The last row, in the order the files are taken, changes.
  const std::string changed = ListCell(list, 2, 3) + ListCell(list, 2, 1);
  std::ofstream(changed, std::ios::binary | std::ios::app) << "x";
  ASSERT_TRUE(SelectEveryRow(program, list));
  EXPECT_EQ(ListSelectedRows(list).size(), 3u);
  ASSERT_TRUE(DeleteAnsweringYes(
      program, main, "Do you really want to move selected file(s) to the Recycle Bin?"));
  HWND question = program.WaitForWindow("Warning");
  ASSERT_TRUE(question);
  EXPECT_EQ(ReadText(FindDescendant(question, IDC_BOX_TEXT)),
            "File \"" + changed +
                "\" has changed since the search and was not moved to the Recycle Bin.");
  for (const std::string& name : old) {
    EXPECT_TRUE(files / name == changed || !FileExists(files / name)) << name;
  }
  HWND progress = program.FindWindow("Moving Files to the Recycle Bin");
  EXPECT_EQ(ReadText(FindDescendant(progress, IDC_PROGRESS_SECOND_COUNT)),
            "Number of moved files: 2");
  const int held[] = {IDC_RECYCLE, IDC_SAVED_SEARCHES, IDC_SAVE_SEARCH, IDC_SKIP_FOLDERS};
  for (const int id : held) EXPECT_FALSE(::IsWindowEnabled(FindDescendant(main, id))) << id;
  ASSERT_TRUE(program.Press(question, IDC_BOX_NO, "Skip"));
  HWND selection = FindDescendant(main, IDC_SELECTION_LABEL);
  EXPECT_TRUE(program.Until("the report", [&] {
    return ReadText(selection) ==
           "Moved 2 of 3 files to the Recycle Bin; 1 had changed since the search";
  })) << ReadText(selection);
  EXPECT_EQ(ListRowCount(list), 1);
  for (const int id : held) EXPECT_TRUE(::IsWindowEnabled(FindDescendant(main, id))) << id;

  for (const std::string& name : old) {
    const std::string leaf = name.substr(name.find_last_of('\\') + 1);
    if (files / name == changed) {
      EXPECT_EQ(ReadWholeFile(changed).size(), 101u);
      continue;
    }
    EXPECT_FALSE(FileExists(files / name)) << name;
    EXPECT_EQ(ReadWholeFile(InTrash("files", leaf)).size(), 100u) << leaf;
    RemoveEntry(InTrash("files", leaf), false);
    RemoveEntry(InTrash("info", leaf + ".trashinfo"), false);
  }
  for (const std::string& name : kept) EXPECT_EQ(ReadWholeFile(files / name).size(), 100u) << name;

  DWORD exitCode = 1;
  ASSERT_TRUE(ExitFromTrayMenu(program, main, exitCode));
  EXPECT_EQ(exitCode, 0u);
}
