// A clean-up that comes round by itself: a saved search run daily, last run
// three days ago, finds its files while the program sits hidden in the
// notification area; the click on its notification opens the page with the
// search and its rows, and the user deletes two of them. A second start with
// /search hands its request to the running program.

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "framework/worker_messages.h"
#include "resources/resource.h"
#include "support/settings_bytes.h"
#include "support/shipped_program_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"
// After windows.h, which the harness brings.
#include <shellapi.h>

namespace {

std::string LocalText(std::time_t at) {
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::localtime(&at));
  return text;
}

}  // namespace

TEST(ShippedProgram, ADailySearchRunsByItselfAndItsNotificationOpensItsRows) {
  TempDir files;
  for (const char* name : {"a.tmp", "b.tmp", "c.tmp", "d.tmp", "keep.doc"})
    files.MakeFile(name, 10);
  TempDir install;
  using namespace settings_bytes;
  // Hidden in the notification area at its last exit.
  ASSERT_TRUE(WriteWholeFile(install / "settings.dat", kHeader + Int(20) + Int(20) + Int(650) +
                                                           Int(450) + Int(0) + Int(140) +
                                                           std::string(2, '\0') + Int(0)));
  const std::string lastRun = "LastRun=" + LocalText(std::time(nullptr) - 3 * 86400);
  ASSERT_TRUE(WriteWholeFile(install / "quillory.ini",
                             "[Search: Temp]\r\nFolder=" + files.Path() +
                                 "\r\nType=Specify type\r\nTypePattern=*.tmp\r\nSchedule=days\r\n"
                                 "EveryDays=1\r\nTime=00:00\r\n" +
                                 lastRun + "\r\n"));

  ShippedProgram program(install.Path());
  HWND main = nullptr;
  ASSERT_TRUE(program.Until("the hidden main window", [&] {
    return (main = ::FindWindowA("Quillory", "Quillory")) != nullptr;
  }));
  ASSERT_TRUE(program.Until("the run by itself", [&] {
    const std::string ini = ReadWholeFile(install / "quillory.ini");
    return ini.find("LastRun=") != std::string::npos && ini.find(lastRun) == std::string::npos;
  }));
  EXPECT_FALSE(::IsWindowVisible(main));

  // What the notification area sends when the user clicks the notification.
  ::PostMessageA(main, WM_TRAYNOTIFY, ID_TRAYICON, NIN_BALLOONUSERCLICK);
  ASSERT_TRUE(program.Until("the window shown", [&] { return ::IsWindowVisible(main); }));
  HWND list = FindDescendant(main, IDC_LIST_RESULTS);
  ASSERT_TRUE(program.Until("the search's rows", [&] { return ListRowCount(list) == 4; }));
  HWND saved = FindDescendant(main, IDC_SAVED_SEARCHES);
  EXPECT_EQ(SendBounded(saved, CB_GETCURSEL), 0);
  EXPECT_EQ(ReadText(FindDescendant(main, IDC_TYPE_PATTERN)), "*.tmp");

  // Two rows chosen by the user, and deleted: the rest stay.
  ASSERT_TRUE(program.ClickUntil(
      "the first row", [&] { return ListRowPoint(list, 0); },
      [&] { return ListSelectedRows(list).size() == 1; }));
  PressKey(VK_DOWN, {VK_SHIFT});
  ASSERT_TRUE(program.Until("two rows", [&] { return ListSelectedRows(list).size() == 2; }));
  ASSERT_TRUE(DeleteAnsweringYes(program, main, "Do you really want to delete selected file(s)?"));
  ASSERT_TRUE(program.Until("two rows left", [&] { return ListRowCount(list) == 2; }));
  int left = 0;
  for (const char* name : {"a.tmp", "b.tmp", "c.tmp", "d.tmp"}) left += FileExists(files / name);
  EXPECT_EQ(left, 2);

  // Another start asks the running program for the search: it runs again,
  // and finds the file made since.
  files.MakeFile("e.tmp", 10);
  {
    ShippedProgram second(install.Path(), ShippedProgram::Copy::kNo, "/search \"temp\"");
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(code));
    EXPECT_EQ(code, 0u);
  }
  ASSERT_TRUE(program.Until("the search run again", [&] { return ListRowCount(list) == 3; }));

  DWORD exitCode = 1;
  ASSERT_TRUE(ExitFromTrayMenu(program, main, exitCode));
  EXPECT_EQ(exitCode, 0u);
}
