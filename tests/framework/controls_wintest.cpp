#include <gtest/gtest.h>

#include <string>

#include "framework/controls_win.h"
#include "framework/data_exchange_win.h"

namespace {

enum : int { IDC_CHECK = 10, IDC_EDIT, IDC_LIST, IDC_DATE, IDC_REPORT, IDC_TREE };

// A window holding one control of each kind the pages use.
class ControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    m_parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_parent, nullptr);
    Child("BUTTON", BS_AUTOCHECKBOX, IDC_CHECK);
    Child("EDIT", ES_AUTOHSCROLL, IDC_EDIT);
    Child("COMBOBOX", CBS_DROPDOWNLIST, IDC_LIST, 200);
    Child(DATETIMEPICK_CLASSA, DTS_SHORTDATEFORMAT, IDC_DATE);
    Child(WC_LISTVIEWA, LVS_REPORT, IDC_REPORT, 200);
    Child(WC_TREEVIEWA, TVS_HASLINES, IDC_TREE, 200);
  }
  void TearDown() override { ::DestroyWindow(m_parent); }

  void Child(const char* className, DWORD style, int id, int height = 20) {
    ASSERT_NE(::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 30 * id, 300,
                                height, m_parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleA(nullptr), nullptr),
              nullptr)
        << className;
  }
  HWND Item(int id) const { return ::GetDlgItem(m_parent, id); }

  HWND m_parent = nullptr;
};

TEST_F(ControlsTest, WindowTextAndState) {
  fw::CWnd edit;
  ASSERT_TRUE(edit.AttachDlgItem(m_parent, IDC_EDIT));
  EXPECT_FALSE(fw::CWnd().AttachDlgItem(m_parent, 999));
  edit.SetText("*.doc");
  EXPECT_EQ(edit.GetText(), "*.doc");
  edit.SetText("");
  EXPECT_EQ(edit.GetText(), "");
  edit.Enable(false);
  EXPECT_FALSE(edit.IsEnabled());
  edit.Move(5, 6, 70, 21);
  RECT rect = edit.GetWindowRect();
  EXPECT_EQ(rect.right - rect.left, 70);
  EXPECT_EQ(rect.bottom - rect.top, 21);
}

TEST_F(ControlsTest, ButtonCheck) {
  fw::CButton check(Item(IDC_CHECK));
  EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
}

TEST_F(ControlsTest, ComboBoxItems) {
  fw::CComboBox list(Item(IDC_LIST));
  for (const char* text : {"Created", "Modified", "Accessed"}) list.AddString(text);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetCurSel(), CB_ERR);
  list.SetCurSel(1);
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.GetLBText(1), "Modified");
  EXPECT_EQ(list.GetLBText(7), "");
  EXPECT_EQ(list.FindStringExact("Accessed"), 2);
  EXPECT_EQ(list.FindStringExact("Access"), CB_ERR);  // whole texts only
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ControlsTest, ListViewRowsAndCells) {
  fw::CListView report(Item(IDC_REPORT));
  EXPECT_EQ(report.InsertColumn(0, "Name", 100), 0);
  EXPECT_EQ(report.InsertColumn(1, "Location", 100), 1);
  EXPECT_EQ(report.InsertItem(0, "a.doc", 10), 0);
  EXPECT_EQ(report.InsertItem(1, "b.doc", 20), 1);
  EXPECT_TRUE(report.SetItemText(1, 1, "C:\\Data\\"));
  const std::string longName(700, 'x');  // longer than a first guess of buffer
  EXPECT_TRUE(report.SetItemText(0, 1, longName));
  EXPECT_EQ(report.GetItemCount(), 2);
  EXPECT_EQ(report.GetItemText(1, 0), "b.doc");
  EXPECT_EQ(report.GetItemText(1, 1), "C:\\Data\\");
  EXPECT_EQ(report.GetItemText(0, 1), longName);
  EXPECT_EQ(report.GetItemData(1), 20);
  EXPECT_TRUE(report.SetItemData(1, 30));
  EXPECT_EQ(report.GetItemData(1), 30);
  EXPECT_NE(report.GetHeader(), nullptr);

  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  report.Send(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(report.GetSelectedCount(), 1);
  EXPECT_EQ(report.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(report.GetNextItem(1, LVNI_SELECTED), -1);

  // Descending by item data.
  auto descending = [](LPARAM a, LPARAM b, LPARAM) -> int { return static_cast<int>(b - a); };
  EXPECT_TRUE(report.SortItems(descending, 0));
  EXPECT_EQ(report.GetItemText(0, 0), "b.doc");
  EXPECT_TRUE(report.DeleteItem(0));
  EXPECT_EQ(report.GetItemCount(), 1);
  EXPECT_TRUE(report.DeleteAllItems());
  EXPECT_EQ(report.GetItemCount(), 0);
}

TEST_F(ControlsTest, TreeViewItems) {
  fw::CTreeView tree(Item(IDC_TREE));
  HTREEITEM settings = tree.InsertItem("Settings", 354);
  HTREEITEM files = tree.InsertItem("Delete Files", 398);
  ASSERT_NE(settings, nullptr);
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(tree.GetCount(), 2);
  EXPECT_EQ(tree.GetItemData(files), 398);
  EXPECT_TRUE(tree.SelectItem(files));
  tree.EnsureVisible(files);
  EXPECT_EQ(tree.GetSelection(), files);
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetCount(), 0);
}

TEST_F(ControlsTest, DateTimePicker) {
  fw::CDateTimePicker picker(Item(IDC_DATE));
  SYSTEMTIME in{2021, 3, 0, 14, 0, 0, 0, 0};
  EXPECT_TRUE(picker.SetTime(in));
  SYSTEMTIME out{};
  EXPECT_TRUE(picker.GetTime(out));
  EXPECT_EQ(out.wYear, 2021);
  EXPECT_EQ(out.wMonth, 3);
  EXPECT_EQ(out.wDay, 14);
  EXPECT_TRUE(picker.SetFormat("HH:mm"));
}

// Reads every control into members and writes them back, with one list of bindings.
struct Members {
  int32_t check = 0;
  std::string text;
  std::string listText;
  SYSTEMTIME date{};

  void Exchange(fw::CDataExchange& dx) {
    dx.Check(IDC_CHECK, check);
    dx.Text(IDC_EDIT, text);
    dx.ListText(IDC_LIST, listText);
    dx.DateTime(IDC_DATE, date);
  }
};

TEST_F(ControlsTest, ExchangeReadsAllControls) {
  fw::CComboBox list(Item(IDC_LIST));
  for (const char* text : {"is", "is before", "is after"}) list.AddString(text);
  list.SetCurSel(2);
  fw::CButton(Item(IDC_CHECK)).SetCheck(BST_CHECKED);
  fw::CWnd(Item(IDC_EDIT)).SetText("*.txt");
  SYSTEMTIME day{2020, 2, 0, 29, 0, 0, 0, 0};
  fw::CDateTimePicker(Item(IDC_DATE)).SetTime(day);

  Members members;
  fw::CDataExchange read(m_parent, true);
  EXPECT_TRUE(read.IsSaving());
  members.Exchange(read);
  EXPECT_EQ(members.check, 1);
  EXPECT_EQ(members.text, "*.txt");
  EXPECT_EQ(members.listText, "is after");
  EXPECT_EQ(members.date.wYear, 2020);
  EXPECT_EQ(members.date.wDay, 29);
}

TEST_F(ControlsTest, ExchangeWritesAllMembersBack) {
  fw::CComboBox list(Item(IDC_LIST));
  for (const char* text : {"B", "KB", "MB", "GB"}) list.AddString(text);
  Members members;
  members.check = 1;
  members.text = "*.doc";
  members.listText = "MB";
  members.date = SYSTEMTIME{1999, 12, 0, 31, 0, 0, 0, 0};
  fw::CDataExchange write(m_parent, false);
  members.Exchange(write);
  EXPECT_EQ(fw::CButton(Item(IDC_CHECK)).GetCheck(), BST_CHECKED);
  EXPECT_EQ(fw::CWnd(Item(IDC_EDIT)).GetText(), "*.doc");
  EXPECT_EQ(list.GetCurSel(), 2);
  SYSTEMTIME shown{};
  fw::CDateTimePicker(Item(IDC_DATE)).GetTime(shown);
  EXPECT_EQ(shown.wYear, 1999);

  // A text the list does not hold clears the selection; an unchecked flag unchecks.
  members.listText = "TB";
  members.check = 0;
  members.Exchange(write);
  EXPECT_EQ(list.GetCurSel(), CB_ERR);
  EXPECT_EQ(fw::CButton(Item(IDC_CHECK)).GetCheck(), BST_UNCHECKED);
  fw::CDataExchange read(m_parent, true);
  members.Exchange(read);
  EXPECT_EQ(members.listText, "");
}

}  // namespace
