// A whole search and delete with the keyboard alone, as a user who does not
// use the mouse (or a screen reader's user) works: the page reached from the
// navigation tree by Tab, the type chosen by the arrows, the commands by
// their mnemonics, the delete question answered "No" by Enter first.

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <utility>

#include "resources/resource.h"
#include "support/shipped_program_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

HWND Focused(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// The name a screen reader reads: the control's accessible object's.
std::wstring AccessibleName(HWND control) {
  IAccessible* object = nullptr;
  BSTR name = nullptr;
  VARIANT self{};
  self.vt = VT_I4;  // CHILDID_SELF
  if (SUCCEEDED(::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))))
    object->get_accName(self, &name), object->Release();
  const std::wstring text = name ? name : L"";
  ::SysFreeString(name);
  return text;
}

}  // namespace

TEST(ShippedProgram, SearchesAndDeletesByKeyboardAlone) {
  TempDir files("C:\\");
  files.MakeFile("old.tmp", 10);
  files.MakeFile("keep.doc", 10);

  TempDir install;
  ShippedProgram program(install.Path());
  HWND main = program.WaitForMainWindow();
  ASSERT_TRUE(main);
  auto focusIs = [&](int id) { return [&, id] { return ::GetDlgCtrlID(Focused(main)) == id; }; };

  // The tree has the focus at the start. On the settings page Reset disables
  // itself, and the focus goes on round to the first control. F6 goes back
  // to the tree, where Down chooses "Delete Files".
  HWND tree = FindDescendant(main, IDC_NAVTREE);
  ASSERT_TRUE(program.Until("the tree's focus", [&] { return Focused(main) == tree; }));
  PressKey(VK_F6);
  PressKey('P', {VK_MENU});
  ASSERT_TRUE(program.Until("the focus on the box", focusIs(IDC_PROTECT_WITH_PASSWORD)));
  PressKey('R', {VK_MENU});
  ASSERT_TRUE(program.Until("the focus moved on", focusIs(IDC_START_WITH_WINDOWS)));
  PressKey(VK_F6);
  PressKey(VK_DOWN);
  HWND allFiles = FindDescendant(main, IDC_ALL_FILES);
  ASSERT_TRUE(
      program.Until("the search page", [&] { return ::IsWindowVisible(allFiles) != FALSE; }));
  // A screen reader's names: the label before each input, the lists' frames,
  // and the saved search's "Delete" unlike the results'.
  for (const auto& [id, name] : std::initializer_list<std::pair<int, const wchar_t*>>{
           {IDC_TYPE_PATTERN, L"File type"},
           {IDC_LIST_FOLDERS, L"Search Locations"},
           {IDC_LIST_RESULTS, L"Search Results"},
           {IDC_DELETE_SEARCH, L"Delete search"}})
    EXPECT_EQ(AccessibleName(FindDescendant(main, id)), name) << id;
  // Tab enters the page at its first control, the saved searches.
  PressKey(VK_TAB);
  ASSERT_TRUE(program.Until("the focus in the page", focusIs(IDC_SAVED_SEARCHES)));
  // Shift+Tab and F6 go back to the tree, Tab and F6 into the page again.
  for (const auto& [key, shift] : {std::pair{VK_TAB, true}, std::pair{VK_TAB, false},
                                   std::pair{VK_F6, false}, std::pair{VK_F6, false}}) {
    const bool toTree = ::GetDlgCtrlID(Focused(main)) == IDC_SAVED_SEARCHES;
    PressKey(static_cast<WORD>(key),
             shift ? std::initializer_list<WORD>{VK_SHIFT} : std::initializer_list<WORD>{});
    ASSERT_TRUE(program.Until(toTree ? "the focus in the tree" : "the focus in the page",
                              focusIs(toTree ? IDC_NAVTREE : IDC_SAVED_SEARCHES)));
  }
  // Past "Save…", Tab enters the type options at the checked one; Down
  // checks "Specify type".
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_TRUE(program.Until("the focus on \"All files\"", focusIs(IDC_ALL_FILES)));
  PressKey(VK_DOWN);
  ASSERT_TRUE(program.Until("the focus on \"Specify type\"", focusIs(IDC_SPECIFY_TYPE)));
  HWND type = FindDescendant(main, IDC_TYPE_PATTERN);
  ASSERT_TRUE(program.Until("the type box usable", [&] { return IsUsable(type); }));
  PressKey(VK_TAB);
  ASSERT_TRUE(program.Until("the focus in the type box", focusIs(IDC_TYPE_PATTERN)));
  TypeText("*.tmp");  // over the whole text, which Tab selected
  ASSERT_TRUE(program.Until("the typed type", [&] { return ReadText(type) == "*.tmp"; }));

  PressKey('A', {VK_MENU});
  ASSERT_TRUE(ChooseFolderInBrowser(program, files.Path()));
  HWND folders = FindDescendant(main, IDC_LIST_FOLDERS);
  ASSERT_TRUE(program.Until("the folder in the list", [&] { return ListRowCount(folders) == 1; }));

  PressKey('F', {VK_MENU});
  HWND list = FindDescendant(main, IDC_LIST_RESULTS);
  ASSERT_TRUE(program.Until("one row", [&] { return ListRowCount(list) == 1; }));
  ASSERT_TRUE(program.Until("the progress window to close",
                            [&] { return !program.FindWindow("Files Searching"); }));
  // Alt+F put the focus on Find, which keeps it; Tab goes on to the rows,
  // Down selects the first.
  EXPECT_TRUE(program.Until("the focus back on Find", focusIs(IDC_FIND)));
  PressKey(VK_TAB);
  ASSERT_TRUE(program.Until("the focus in the results", focusIs(IDC_LIST_RESULTS)));
  PressKey(VK_DOWN);
  ASSERT_TRUE(
      program.Until("the row selected", [&] { return ListSelectedRows(list) == std::vector{0}; }));

  // The question opens on "No": Enter keeps the file.
  PressKey('D', {VK_MENU});
  HWND question = program.WaitForWindow("Warning");
  ASSERT_TRUE(question);
  EXPECT_TRUE(program.Until("the focus on \"No\"",
                            [&] { return Focused(question) == ::GetDlgItem(question, IDCANCEL); }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(program.WaitUntilGone(question, "the question"));
  EXPECT_TRUE(FileExists(files / "old.tmp"));
  // Alt+D put the focus on Delete, and it is there again.
  EXPECT_TRUE(program.Until("the focus back on Delete", focusIs(IDC_DELETE)));

  // Asked again, Shift+Tab goes to "Yes" and Enter deletes.
  PressKey('D', {VK_MENU});
  question = program.WaitForWindow("Warning");
  ASSERT_TRUE(question);
  PressKey(VK_TAB, {VK_SHIFT});
  ASSERT_TRUE(program.Until("the focus on \"Yes\"",
                            [&] { return Focused(question) == ::GetDlgItem(question, IDOK); }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(program.Until("the row deleted", [&] { return ListRowCount(list) == 0; }));
  EXPECT_FALSE(FileExists(files / "old.tmp"));
  EXPECT_TRUE(FileExists(files / "keep.doc"));
  ASSERT_TRUE(program.Until("the progress window to close",
                            [&] { return !program.FindWindow("Deleting Files"); }));

  // Help from the toolbar takes the focus along from the hidden page.
  for (int key : {VK_F10, VK_RIGHT, VK_RETURN}) PressKey(static_cast<WORD>(key));
  ASSERT_TRUE(program.Until("the focus in the help page", focusIs(IDC_HELP_TITLE)));
  PressKey(VK_F6);
  // F10 from the tree puts the focus on the toolbar as on a menu bar; End, Enter: Exit.
  PressKey(VK_F10);
  HWND toolbar = FindDescendant(main, IDC_TOOLBAR);
  ASSERT_TRUE(program.Until("the toolbar's focus", [&] { return Focused(main) == toolbar; }));
  PressKey(VK_END);
  PressKey(VK_RETURN);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
}
