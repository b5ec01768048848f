#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/message_box_win.h"
#include "platform/wide_text_win.h"
#include "resources/resource.h"
#include "search/search_page_layout.h"
#include "search/search_page_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/box_series_ui_win.h"
#include "support/page_host_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

using Texts = std::vector<std::string>;

// One column of a list, top to bottom.
std::vector<std::string> ColumnTexts(const fw::CListView& list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.GetItemCount(); ++row)
    texts.push_back(list.GetItemText(row, column));
  return texts;
}

class SearchPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallDialogKit();
    // A folder left from an earlier run of the program: the page starts empty.
    m_data.m_arrFolders = {"C:\\left over"};
    ASSERT_TRUE(m_host.Hwnd());
    m_page.m_fnChooseFolder = [this](std::string& path) {
      ++m_nChooserCalls;
      if (m_queChosen.empty()) return false;
      path = m_queChosen.front();
      m_queChosen.pop_front();
      return true;
    };
    ASSERT_TRUE(m_page.Create(m_host.Hwnd()));
    m_page.Show(SW_SHOWNA);
  }

  void TearDown() override {
    if (m_page.m_wndProgress.m_hWnd) ::DestroyWindow(m_page.m_wndProgress.m_hWnd);
    PumpUntil([&] { return WorkersDone(); }, 30s);
    m_page.DestroyWindow();
  }

  bool WorkersDone() const { return !m_page.m_wndProgress.GetUnfinishedWorker(); }
  // Until the progress window has closed and its worker has ended.
  bool RunToTheEnd() {
    return PumpUntil([&] { return !m_page.m_wndProgress.m_hWnd && WorkersDone(); }, 30s);
  }

  HWND Item(int id) const { return ::GetDlgItem(m_page.m_hWnd, id); }
  bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
  // Shown by its own style: the host itself is hidden.
  bool Shown(int id) const { return (::GetWindowLongPtrA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  std::string Text(int id) const { return ReadItemText(m_page.m_hWnd, id); }
  std::string ListSelection(int id) const {
    fw::CComboBox list(Item(id));
    return list.GetLBText(list.GetCurSel());
  }
  SYSTEMTIME PickerTime(int id) const {
    SYSTEMTIME time{};
    ::SendMessageA(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
  }
  void SetPickerTime(int id, const SYSTEMTIME& time) {
    ::SendMessageA(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
  }

  // What a user can do: only to enabled controls.
  bool Click(int id) {
    if (!Enabled(id)) return false;
    ::SendMessageA(Item(id), BM_CLICK, 0, 0);
    return true;
  }
  // Settles a drop-down list on the item with this text, as a user's choice ends.
  bool Choose(int id, const std::string& text) {
    if (!Enabled(id)) return false;
    fw::CComboBox list(Item(id));
    const int index = list.FindStringExact(text);
    if (index < 0) return false;
    list.SetCurSel(index);
    ::SendMessageA(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                   reinterpret_cast<LPARAM>(list.m_hWnd));
    return true;
  }
  void SetText(int id, const std::string& text) { ::SetWindowTextA(Item(id), text.c_str()); }

  bool AddFolder(const std::string& path) {
    m_queChosen.push_back(path);
    return Click(IDC_ADD);
  }
  const fw::CListView& Folders() const { return m_page.m_view.m_listFolders; }
  const fw::CListView& Results() const { return m_page.m_view.m_listResults; }
  void SelectRow(const fw::CListView& list, int row, bool selected = true) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  }

  // Presses "Find" with an answerer for the one warning it should show.
  std::string FindExpectingWarning() {
    BoxSeries answer("Warning", {IDOK});
    EXPECT_TRUE(Click(IDC_FIND));
    EXPECT_TRUE(answer.Join());
    return answer.Texts().empty() ? std::string() : answer.Texts()[0];
  }

  CAppData m_data;
  CWindowWiperEntries m_page{&m_data};
  PageHost m_host{"Search host"};
  std::deque<std::string> m_queChosen;
  int m_nChooserCalls = 0;
};

// ---- start

TEST_F(SearchPageTest, StartsEmptyWithFindAndDeleteDisabledAndTodayInThePickers) {
  EXPECT_TRUE(m_data.m_arrFolders.empty());
  EXPECT_EQ(Folders().GetItemCount(), 0);
  EXPECT_EQ(Results().GetItemCount(), 0);
  EXPECT_FALSE(Enabled(IDC_FIND));
  EXPECT_FALSE(Enabled(IDC_DELETE));
  EXPECT_TRUE(Enabled(IDC_ADD));
  EXPECT_FALSE(Enabled(IDC_REMOVE));
  EXPECT_FALSE(Enabled(IDC_EMPTY_LIST));
  EXPECT_FALSE(Shown(IDC_TOTAL_LABEL));

  SYSTEMTIME today{};
  ::GetLocalTime(&today);
  for (int id : {IDC_FROM_DATE, IDC_TO_DATE}) {
    const SYSTEMTIME shown = PickerTime(id);
    EXPECT_EQ(shown.wYear, today.wYear) << id;
    EXPECT_EQ(shown.wMonth, today.wMonth) << id;
    EXPECT_EQ(shown.wDay, today.wDay) << id;
  }
  for (int id : {IDC_FROM_DATE, IDC_TO_DATE, IDC_FROM_TIME, IDC_TO_TIME}) {
    EXPECT_TRUE(Shown(id)) << id;
    EXPECT_FALSE(Enabled(id)) << id;
  }
  const SYSTEMTIME from = PickerTime(IDC_FROM_TIME);
  const SYSTEMTIME to = PickerTime(IDC_TO_TIME);
  EXPECT_EQ((std::vector<int>{from.wHour, from.wMinute, from.wSecond}),
            (std::vector<int>{0, 0, 0}));
  EXPECT_EQ((std::vector<int>{to.wHour, to.wMinute, to.wSecond}), (std::vector<int>{23, 59, 59}));

  EXPECT_EQ(Text(IDC_SIZE_FROM), "0");
  EXPECT_TRUE(Shown(IDC_SIZE_FROM));
  EXPECT_FALSE(Enabled(IDC_SIZE_FROM));
  EXPECT_FALSE(Shown(IDC_SIZE_TO));
  EXPECT_FALSE(Enabled(IDC_SIZE_UNIT));
  EXPECT_FALSE(Enabled(IDC_DATE_MODE));
  for (int id : {IDC_DATE_FROM_LABEL, IDC_DATE_TO_LABEL, IDC_SIZE_FROM_LABEL, IDC_SIZE_TO_LABEL}) {
    EXPECT_FALSE(Shown(id)) << id;
  }

  EXPECT_EQ(ListSelection(IDC_DATE_FIELD), "Modified Date");
  EXPECT_EQ(ListSelection(IDC_DATE_CONDITION), "any");
  EXPECT_EQ(ListSelection(IDC_DATE_MODE), "Date");
  EXPECT_EQ(ListSelection(IDC_SIZE_UNIT), "MB");
  EXPECT_EQ(ListSelection(IDC_SIZE_CONDITION), "any");
  EXPECT_EQ(::SendMessageA(Item(IDC_ALL_FILES), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Text(IDC_TYPE_PATTERN), "*.doc");
  EXPECT_FALSE(Enabled(IDC_TYPE_PATTERN));
}

namespace {

// A text with a letter beyond ASCII, in the process code page.
std::string NarrowName(const std::wstring& wide) {
  char narrow[64] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

}  // namespace

TEST_F(SearchPageTest, TheKeyboardReachesEveryControlInOrderAndEachHasAName) {
  // The two type options are one group, which the arrows go round.
  EXPECT_EQ(::GetNextDlgGroupItem(m_page.m_hWnd, Item(IDC_ALL_FILES), FALSE),
            Item(IDC_SPECIFY_TYPE));
  EXPECT_EQ(::GetNextDlgGroupItem(m_page.m_hWnd, Item(IDC_SPECIFY_TYPE), FALSE),
            Item(IDC_ALL_FILES));
  ASSERT_TRUE(Click(IDC_SPECIFY_TYPE));
  ASSERT_TRUE(AddFolder("C:\\one"));
  // Tab enters the group at the checked option; what is off or hidden is
  // passed over.
  EXPECT_EQ(TabOrder(m_page.m_hWnd),
            (std::vector<int>{IDC_SAVED_SEARCHES, IDC_SAVE_SEARCH, IDC_SPECIFY_TYPE,
                              IDC_TYPE_PATTERN, IDC_DATE_FIELD, IDC_DATE_CONDITION,
                              IDC_SIZE_CONDITION, IDC_LIST_FOLDERS, IDC_SKIP_FOLDERS, IDC_ADD,
                              IDC_EMPTY_LIST, IDC_FIND, IDC_LIST_RESULTS, IDC_RECYCLE}));
  const struct {
    int id;
    const char* label;
  } names[] = {
      {IDC_DATE_FIELD, "Date of"},
      {IDC_FROM_DATE, "From"},
      {IDC_FROM_TIME, "From time"},
      {IDC_DATE_CONDITION, "Date condition"},
      {IDC_TO_DATE, "To"},
      {IDC_TO_TIME, "To time"},
      {IDC_DATE_MODE, "Date with or without time"},
      {IDC_SIZE_CONDITION, "Size condition"},
      {IDC_SIZE_UNIT, "Size unit"},
      {IDC_SIZE_FROM, "From"},
      {IDC_SIZE_TO, "To"},
      {IDC_DAYS, "Age in days"},
      {IDC_SKIP_FOLDERS, "S&kip folders:"},
      {IDC_SAVED_SEARCHES, "Sa&ved searches:"},
  };
  for (const auto& name : names) EXPECT_EQ(LabelBefore(Item(name.id)), name.label) << name.id;
  // The mnemonics, one letter each.
  const struct {
    int id;
    const char* text;
  } mnemonics[] = {
      {IDC_ALL_FILES, "A&ll files"}, {IDC_SPECIFY_TYPE, "Specify &type"},       {IDC_ADD, "&Add"},
      {IDC_REMOVE, "&Remove"},       {IDC_EMPTY_LIST, "&Empty list"},           {IDC_FIND, "&Find"},
      {IDC_DELETE, "&Delete"},       {IDC_RECYCLE, "Move to the Recycle &Bin"},
  };
  for (const auto& mnemonic : mnemonics) EXPECT_EQ(Text(mnemonic.id), mnemonic.text);
  EXPECT_EQ(Text(IDC_SAVE_SEARCH), NarrowName(L"&Save\u2026"));
}

// ---- the folder list

TEST_F(SearchPageTest, AFirstFolderEnablesFindAndEmptyListAndRemoveWaitsForASelection) {
  ASSERT_TRUE(AddFolder("C:\\windows"));
  EXPECT_EQ(m_data.m_arrFolders, (std::vector<std::string>{"C:\\windows"}));
  EXPECT_EQ(ColumnTexts(Folders(), 0), (std::vector<std::string>{"1"}));
  EXPECT_EQ(ColumnTexts(Folders(), 1), (std::vector<std::string>{"C:\\windows"}));
  EXPECT_TRUE(Enabled(IDC_FIND));
  EXPECT_TRUE(Enabled(IDC_EMPTY_LIST));
  EXPECT_FALSE(Enabled(IDC_REMOVE));

  SelectRow(Folders(), 0);
  EXPECT_TRUE(Enabled(IDC_REMOVE));
  EXPECT_EQ(m_page.m_arrSelectedFolders, (std::vector<int32_t>{0}));
  SelectRow(Folders(), 0, false);
  EXPECT_FALSE(Enabled(IDC_REMOVE));
}

TEST_F(SearchPageTest, ACancelledBrowserChangesNothing) {
  ASSERT_TRUE(Click(IDC_ADD));  // nothing queued: the chooser answers "cancelled"
  EXPECT_EQ(m_nChooserCalls, 1);
  EXPECT_TRUE(m_data.m_arrFolders.empty());
  EXPECT_FALSE(Enabled(IDC_FIND));
  EXPECT_FALSE(Enabled(IDC_EMPTY_LIST));
}

TEST_F(SearchPageTest, TheSameFolderTwiceWarnsOnceAndAnotherLetterCaseIsAnotherRow) {
  ASSERT_TRUE(AddFolder("C:\\Data\\Reports"));
  BoxSeries boxes("Warning", BoxSeries::kEveryBox, IDOK);
  ASSERT_TRUE(AddFolder("C:\\Data\\Reports"));
  ASSERT_TRUE(AddFolder("C:\\data\\reports"));
  boxes.Stop();

  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"This folder is already in list"}));
  EXPECT_EQ(ColumnTexts(Folders(), 1),
            (std::vector<std::string>{"C:\\Data\\Reports", "C:\\data\\reports"}));
  EXPECT_EQ(m_data.m_arrFolders.size(), 2u);
}

TEST_F(SearchPageTest, RemovingRowsTwoAndFourOfFiveLeavesTheRestRenumbered) {
  for (const char* folder : {"C:\\f1", "C:\\f2", "C:\\f3", "C:\\f4", "C:\\f5"}) {
    ASSERT_TRUE(AddFolder(folder));
  }
  SelectRow(Folders(), 1);
  SelectRow(Folders(), 3);
  EXPECT_EQ(m_page.m_arrSelectedFolders, (std::vector<int32_t>{1, 3}));

  {  // No keeps every folder.
    BoxSeries no("Warning", {IDCANCEL});
    ASSERT_TRUE(Click(IDC_REMOVE));
    ASSERT_TRUE(no.Join());
    EXPECT_EQ(no.Texts(), Texts{"Do you want to remove 2 item(s) from list?"});
    EXPECT_EQ(m_data.m_arrFolders.size(), 5u);
  }

  BoxAnswerer yes("Warning", [](HWND box) { ClickButton(box, IDOK); });
  ASSERT_TRUE(Click(IDC_REMOVE));
  ASSERT_TRUE(yes.Answered());
  EXPECT_EQ(m_data.m_arrFolders, (std::vector<std::string>{"C:\\f1", "C:\\f3", "C:\\f5"}));
  EXPECT_EQ(ColumnTexts(Folders(), 0), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(ColumnTexts(Folders(), 1), (std::vector<std::string>{"C:\\f1", "C:\\f3", "C:\\f5"}));
  EXPECT_FALSE(Enabled(IDC_REMOVE));  // the refill left no row selected
  EXPECT_TRUE(Enabled(IDC_EMPTY_LIST));
}

TEST_F(SearchPageTest, EmptyListAsksFirstAndEmptiesOnlyOnYes) {
  ASSERT_TRUE(AddFolder("C:\\one"));
  ASSERT_TRUE(AddFolder("C:\\two"));
  SelectRow(Folders(), 0);
  {
    BoxSeries no("Warning", {IDCANCEL});
    ASSERT_TRUE(Click(IDC_EMPTY_LIST));
    ASSERT_TRUE(no.Join());
    EXPECT_EQ(no.Texts(), Texts{"Do you want to empty list?"});
  }
  EXPECT_EQ(Folders().GetItemCount(), 2);

  BoxAnswerer yes("Warning", [](HWND box) { ClickButton(box, IDOK); });
  ASSERT_TRUE(Click(IDC_EMPTY_LIST));
  ASSERT_TRUE(yes.Answered());
  EXPECT_TRUE(m_data.m_arrFolders.empty());
  EXPECT_EQ(Folders().GetItemCount(), 0);
  EXPECT_FALSE(Enabled(IDC_EMPTY_LIST));
  EXPECT_FALSE(Enabled(IDC_REMOVE));
  EXPECT_TRUE(Enabled(IDC_ADD));
}

// ---- the conditions

TEST_F(SearchPageTest, SpecifyTypeEnablesTheEditAndAllFilesPutsTheDefaultBack) {
  ASSERT_TRUE(Click(IDC_SPECIFY_TYPE));
  EXPECT_TRUE(Enabled(IDC_TYPE_PATTERN));
  EXPECT_EQ(::SendMessageA(Item(IDC_SPECIFY_TYPE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageA(Item(IDC_ALL_FILES), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SetText(IDC_TYPE_PATTERN, "*.txt");

  ASSERT_TRUE(Click(IDC_ALL_FILES));
  EXPECT_FALSE(Enabled(IDC_TYPE_PATTERN));
  EXPECT_EQ(Text(IDC_TYPE_PATTERN), "*.doc");
  EXPECT_EQ(::SendMessageA(Item(IDC_SPECIFY_TYPE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageA(Item(IDC_ALL_FILES), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(SearchPageTest, SizeIsBetweenWithFrom25ShowsTo35AndBothLabels) {
  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "is more than"));
  EXPECT_TRUE(Enabled(IDC_SIZE_FROM));
  EXPECT_TRUE(Enabled(IDC_SIZE_UNIT));
  EXPECT_FALSE(Shown(IDC_SIZE_TO));
  SetText(IDC_SIZE_FROM, "25");

  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "is between"));
  EXPECT_EQ(Text(IDC_SIZE_TO), "35");
  EXPECT_EQ(Text(IDC_SIZE_FROM), "25");
  for (int id : {IDC_SIZE_TO, IDC_SIZE_FROM_LABEL, IDC_SIZE_TO_LABEL}) {
    EXPECT_TRUE(Shown(id)) << id;
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_EQ(m_page.m_nSizeConditionSel, SIZE_BETWEEN);

  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "any"));
  EXPECT_FALSE(Enabled(IDC_SIZE_FROM));
  EXPECT_TRUE(Shown(IDC_SIZE_FROM));
  EXPECT_FALSE(Enabled(IDC_SIZE_UNIT));
  for (int id : {IDC_SIZE_TO, IDC_SIZE_FROM_LABEL, IDC_SIZE_TO_LABEL}) {
    EXPECT_FALSE(Shown(id)) << id;
  }
}

TEST_F(SearchPageTest, DateIsEnablesOnlyTheFromPickersAndTheModeListAndModesResetTheTimes) {
  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is"));
  EXPECT_TRUE(Enabled(IDC_FROM_DATE));
  EXPECT_FALSE(Enabled(IDC_FROM_TIME));  // mode "Date"
  EXPECT_FALSE(Enabled(IDC_TO_DATE));
  EXPECT_FALSE(Enabled(IDC_TO_TIME));
  EXPECT_TRUE(Enabled(IDC_DATE_MODE));
  EXPECT_FALSE(Shown(IDC_DATE_FROM_LABEL));
  EXPECT_FALSE(Shown(IDC_DATE_TO_LABEL));

  SYSTEMTIME time = PickerTime(IDC_FROM_TIME);
  time.wHour = 10, time.wMinute = 11, time.wSecond = 12;
  SetPickerTime(IDC_FROM_TIME, time);
  SetPickerTime(IDC_TO_TIME, time);

  ASSERT_TRUE(Choose(IDC_DATE_MODE, "Date and Time"));
  EXPECT_TRUE(Enabled(IDC_FROM_DATE));
  EXPECT_TRUE(Enabled(IDC_FROM_TIME));
  EXPECT_FALSE(Enabled(IDC_TO_DATE));
  EXPECT_FALSE(Enabled(IDC_TO_TIME));
  EXPECT_EQ(m_page.m_bDateAndTime, 1);
  EXPECT_EQ(PickerTime(IDC_FROM_TIME).wHour, 0);
  EXPECT_EQ(PickerTime(IDC_TO_TIME).wHour, 23);
  EXPECT_EQ(PickerTime(IDC_TO_TIME).wSecond, 59);

  SetPickerTime(IDC_FROM_TIME, time);
  ASSERT_TRUE(Choose(IDC_DATE_MODE, "Date"));
  EXPECT_FALSE(Enabled(IDC_FROM_TIME));
  EXPECT_TRUE(Enabled(IDC_FROM_DATE));
  EXPECT_EQ(m_page.m_bDateOnly, 1);
  EXPECT_EQ(PickerTime(IDC_FROM_TIME).wHour, 0);
  EXPECT_EQ(PickerTime(IDC_FROM_TIME).wMinute, 0);
}

TEST_F(SearchPageTest, IsBetweenShowsBothLabelsAndAnyDisablesTheModeList) {
  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is between"));
  for (int id :
       {IDC_FROM_DATE, IDC_TO_DATE, IDC_DATE_MODE, IDC_DATE_FROM_LABEL, IDC_DATE_TO_LABEL}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Shown(IDC_DATE_FROM_LABEL));
  EXPECT_TRUE(Shown(IDC_DATE_TO_LABEL));
  EXPECT_FALSE(Enabled(IDC_FROM_TIME));
  ASSERT_TRUE(Choose(IDC_DATE_MODE, "Date and Time"));
  EXPECT_TRUE(Enabled(IDC_FROM_TIME));
  EXPECT_TRUE(Enabled(IDC_TO_TIME));

  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "any"));
  EXPECT_FALSE(Enabled(IDC_DATE_MODE));
  for (int id : {IDC_FROM_DATE, IDC_TO_DATE, IDC_FROM_TIME, IDC_TO_TIME}) {
    EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Shown(id)) << id;
  }
  EXPECT_FALSE(Shown(IDC_DATE_FROM_LABEL));
  EXPECT_FALSE(Shown(IDC_DATE_TO_LABEL));
}

TEST_F(SearchPageTest, ASizeEditThatIsNoNumberReadsAsZeroAndShowsIt) {
  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "is more than"));
  SetText(IDC_SIZE_FROM, "17");
  ASSERT_TRUE(Choose(IDC_SIZE_UNIT, "KB"));
  EXPECT_EQ(m_page.m_nSizeFromValue, 17u);
  EXPECT_EQ(m_page.m_nSizeUnit, UNIT_KB);

  SetText(IDC_SIZE_FROM, "");
  ASSERT_TRUE(Choose(IDC_SIZE_UNIT, "B"));
  EXPECT_EQ(m_page.m_nSizeFromValue, 0u);
  EXPECT_EQ(Text(IDC_SIZE_FROM), "0");

  // Pasted: the edit takes only digits when typed.
  for (const char* pasted : {"abc", "-7"}) {
    SetText(IDC_SIZE_FROM, pasted);
    ASSERT_TRUE(Choose(IDC_SIZE_UNIT, "GB"));
    EXPECT_EQ(m_page.m_nSizeFromValue, 0u) << pasted;
    EXPECT_EQ(Text(IDC_SIZE_FROM), "0") << pasted;
  }
}

// ---- layout

TEST_F(SearchPageTest, At800By600TheResultsListAndDeleteFollowTheSizeInThePagesUnits) {
  ::MoveWindow(m_page.m_hWnd, 0, 0, 800, 600, TRUE);
  ASSERT_EQ(m_page.GetClientRect().right, 800);
  ASSERT_EQ(m_page.GetClientRect().bottom, 600);
  auto placed = [&](int id) {
    RECT rect{};
    ::GetWindowRect(Item(id), &rect);
    ::MapWindowPoints(nullptr, m_page.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return LayoutRect{rect.left, rect.top, rect.right, rect.bottom};
  };
  // Whatever font this system gives the page, its units decide.
  RECT units{0, 0, 4, 8};
  ::MapDialogRect(m_page.m_hWnd, &units);
  const SearchPagePlaces places = LayOutSearchPage(800, 600, {units.right, units.bottom});
  EXPECT_EQ(placed(IDC_DELETE), places.deleteButton);
  EXPECT_EQ(placed(IDC_LIST_RESULTS), places.resultsList);
  EXPECT_EQ(placed(IDC_RESULTS_GROUP), places.resultsGroup);
  EXPECT_EQ(placed(IDC_TOTAL_LABEL), places.totalLabel);
  // The frame starts below the template's last button, "Find".
  EXPECT_GT(places.resultsGroup.top, placed(IDC_FIND).bottom);
}

// ---- Find: the checks

TEST_F(SearchPageTest, FindWithoutAFolderSaysSoAndLeavesNoTask) {
  // "Find" is disabled until a folder is added; emptying the list leaves it on.
  ASSERT_TRUE(AddFolder("C:\\one"));
  {
    BoxAnswerer yes("Warning", [](HWND box) { ClickButton(box, IDOK); });
    ASSERT_TRUE(Click(IDC_EMPTY_LIST));
    ASSERT_TRUE(yes.Answered());
  }
  EXPECT_EQ(FindExpectingWarning(), "Please select any folder.");
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
  EXPECT_EQ(m_page.m_wndProgress.m_hWnd, nullptr);
  EXPECT_EQ(Text(IDC_TOTAL_LABEL), "Total number of found files: 0");
  EXPECT_TRUE(Shown(IDC_TOTAL_LABEL));
  EXPECT_TRUE(Enabled(IDC_FIND));
  EXPECT_TRUE(Enabled(IDC_DELETE));
}

TEST_F(SearchPageTest, FindWithABadTypeSaysTheFormatAndClearsTheOldResults) {
  m_data.AddResult("old.txt", "C:\\", "txt", 1, "01/01/24 00:00:00");
  m_data.m_nFoundCount = 1;
  ASSERT_TRUE(AddFolder("C:\\one"));
  ASSERT_TRUE(Click(IDC_SPECIFY_TYPE));
  SetText(IDC_TYPE_PATTERN, "doc");
  EXPECT_EQ(FindExpectingWarning(), "Please enter the file type in the following format: *.doc");
  EXPECT_EQ(m_data.GetResultCount(), 0u);
  EXPECT_EQ(Results().GetItemCount(), 0);
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
  EXPECT_EQ(m_page.m_wndProgress.m_hWnd, nullptr);
  // What the user typed stays: a failed check writes nothing back.
  EXPECT_EQ(Text(IDC_TYPE_PATTERN), "doc");
}

TEST_F(SearchPageTest, FindWithTheToDateBeforeTheFromDateSaysTheDateRange) {
  ASSERT_TRUE(AddFolder("C:\\one"));
  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is between"));
  SYSTEMTIME from{};
  from.wYear = 2024, from.wMonth = 3, from.wDay = 10;
  SYSTEMTIME to = from;
  to.wDay = 9;
  SetPickerTime(IDC_FROM_DATE, from);
  SetPickerTime(IDC_TO_DATE, to);
  EXPECT_EQ(FindExpectingWarning(),
            "Incorrect date range. The 'To' date should be after the 'From' date");
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
}

TEST_F(SearchPageTest, FindWithTheToSizeBelowTheFromSizeSaysTheSizeRange) {
  ASSERT_TRUE(AddFolder("C:\\one"));
  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "is more than"));
  SetText(IDC_SIZE_FROM, "20");
  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "is between"));
  SetText(IDC_SIZE_TO, "5");
  EXPECT_EQ(FindExpectingWarning(),
            "Incorrect file size range. The 'To' value should be greater than the 'From' value");
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
}

// What a user typed, beyond 31 bits too, where the edit once read 0 and "is
// more than" listed every file; a number too long for its unit is refused
// and stays as typed.
TEST_F(SearchPageTest, TypedSizesMeanWhatTheySayAndTooLongOnesAreRefused) {
  TempDir dir;
  dir.MakeFile("empty.txt", 0);
  dir.MakeFile("small.txt", 100);
  ASSERT_TRUE(AddFolder(dir.Path()));
  for (const auto& [condition, found] : {std::pair{"is more than", 0}, {"is less than", 2}}) {
    ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, condition));
    SetText(IDC_SIZE_FROM, "3000000000");
    ASSERT_TRUE(Choose(IDC_SIZE_UNIT, "B"));
    ASSERT_TRUE(Click(IDC_FIND));
    ASSERT_TRUE(RunToTheEnd());
    EXPECT_EQ(Results().GetItemCount(), found) << condition;
    EXPECT_EQ(Text(IDC_SIZE_FROM), "3000000000");
  }
  SetText(IDC_SIZE_FROM, "17179869184");  // one more than 64 bits hold in GB
  ASSERT_TRUE(Choose(IDC_SIZE_UNIT, "GB"));
  EXPECT_EQ(FindExpectingWarning(),
            "The file size is too large. The largest size in GB is 17179869183.");
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
  EXPECT_EQ(Text(IDC_SIZE_FROM), "17179869184");
}

// ---- Find and Delete on real files

TEST_F(SearchPageTest, FindListsWhatTheTreeHoldsAndDeleteRemovesExactlyTheChosenFiles) {
  TempDir dir;
  const std::string a = dir.MakeFile("a.txt", 100);
  dir.MakeFile("b.doc", 2000);
  const std::string c = dir.MakeFile("sub\\c.txt", 5000);
  dir.MakeFile("sub\\d.txt", 10);  // too small
  const std::string e = dir.MakeFile("sub\\deeper\\e.TXT", 3000);
  dir.MakeFile("sub\\deeper\\f.txt.bak", 3000);

  ASSERT_TRUE(AddFolder(dir.Path()));
  ASSERT_TRUE(Click(IDC_SPECIFY_TYPE));
  SetText(IDC_TYPE_PATTERN, "*.txt");
  ASSERT_TRUE(Choose(IDC_SIZE_CONDITION, "is more than"));
  SetText(IDC_SIZE_FROM, "50");
  ASSERT_TRUE(Choose(IDC_SIZE_UNIT, "B"));
  ASSERT_TRUE(Click(IDC_FIND));
  EXPECT_EQ(m_data.m_nTask + m_data.m_nRunningTask > 0, true);
  ASSERT_TRUE(RunToTheEnd());

  struct Row {
    std::string name, location, size;
    bool operator<(const Row& o) const { return name < o.name; }
    bool operator==(const Row& o) const = default;
  };
  auto rows = [&] {
    std::vector<Row> found;
    for (int row = 0; row < Results().GetItemCount(); ++row) {
      found.push_back({Results().GetItemText(row, 1), Results().GetItemText(row, 3),
                       Results().GetItemText(row, 4)});
    }
    std::sort(found.begin(), found.end());
    return found;
  };
  const std::string root = dir.Path() + "\\";
  EXPECT_EQ(rows(), (std::vector<Row>{{"a.txt", root, "100"},
                                      {"c.txt", root + "sub\\", "5000"},
                                      {"e.TXT", root + "sub\\deeper\\", "3000"}}));
  EXPECT_EQ(Text(IDC_TOTAL_LABEL), "Total number of found files: 3");
  EXPECT_TRUE(Enabled(IDC_FIND));
  EXPECT_TRUE(Enabled(IDC_DELETE));
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);

  // Delete a.txt and e.TXT, wherever the walk put them.
  for (int row = 0; row < Results().GetItemCount(); ++row) {
    const std::string name = Results().GetItemText(row, 1);
    if (name == "a.txt" || name == "e.TXT") SelectRow(Results(), row);
  }
  BoxSeries yes("Warning", {IDOK});
  ASSERT_TRUE(Click(IDC_DELETE));
  ASSERT_TRUE(yes.Join());
  EXPECT_EQ(yes.Texts(), Texts{"Do you really want to delete selected file(s)?"});
  EXPECT_FALSE(Enabled(IDC_FIND));
  EXPECT_FALSE(Enabled(IDC_DELETE));
  ASSERT_TRUE(RunToTheEnd());

  EXPECT_FALSE(FileExists(a));
  EXPECT_FALSE(FileExists(e));
  EXPECT_TRUE(FileExists(c));
  EXPECT_TRUE(FileExists(dir / "b.doc"));
  EXPECT_TRUE(FileExists(dir / "sub\\d.txt"));
  EXPECT_TRUE(FileExists(dir / "sub\\deeper\\f.txt.bak"));
  EXPECT_EQ(rows(), (std::vector<Row>{{"c.txt", root + "sub\\", "5000"}}));
  EXPECT_EQ(ColumnTexts(Results(), 0), (std::vector<std::string>{"1"}));
  // The search's count stays; the list shows what is left.
  EXPECT_EQ(Text(IDC_TOTAL_LABEL), "Total number of found files: 3");
  EXPECT_TRUE(Enabled(IDC_FIND));
  EXPECT_TRUE(Enabled(IDC_DELETE));
}

TEST_F(SearchPageTest, DeleteWithoutASelectedRowAsksForOne) {
  TempDir dir;
  const std::string a = dir.MakeFile("a.txt", 1);
  ASSERT_TRUE(AddFolder(dir.Path()));
  ASSERT_TRUE(Click(IDC_FIND));
  ASSERT_TRUE(RunToTheEnd());
  ASSERT_EQ(Results().GetItemCount(), 1);

  BoxSeries ok("Warning", {IDOK});
  ASSERT_TRUE(Click(IDC_DELETE));
  ASSERT_TRUE(ok.Join());
  EXPECT_EQ(ok.Texts(), Texts{"Please select any file."});
  EXPECT_EQ(m_page.m_wndProgress.m_hWnd, nullptr);
  EXPECT_TRUE(FileExists(a));

  // Asked and answered No: nothing goes either.
  SelectRow(Results(), 0);
  BoxAnswerer no("Warning", [](HWND box) { ClickButton(box, IDCANCEL); });
  ASSERT_TRUE(Click(IDC_DELETE));
  ASSERT_TRUE(no.Answered());
  EXPECT_EQ(m_page.m_wndProgress.m_hWnd, nullptr);
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
  EXPECT_TRUE(FileExists(a));
}

TEST_F(SearchPageTest, AMissingFolderIsAskedAboutAfterTheWalk) {
  TempDir dir;
  dir.MakeFile("one.txt", 1);
  dir.MakeFile("two.txt", 1);
  const std::string missing = dir / "gone";
  // Listed first, asked about only once the other folder has been walked.
  ASSERT_TRUE(AddFolder(missing));
  ASSERT_TRUE(AddFolder(dir.Path()));
  std::string asked, foundAtQuestion;
  BoxAnswerer skip("Warning", [&](HWND box) {
    asked = ReadItemText(box, IDC_BOX_TEXT);
    foundAtQuestion =
        ReadItemText(m_page.m_wndProgress.GetProgressWindow(), IDC_PROGRESS_SECOND_COUNT);
    ClickButton(box, IDC_BOX_NO);  // "Skip"
  });
  ASSERT_TRUE(Click(IDC_FIND));
  ASSERT_TRUE(RunToTheEnd());
  ASSERT_TRUE(skip.Answered());
  EXPECT_EQ(asked, " \"" + missing + "\" not found.");
  EXPECT_EQ(foundAtQuestion, "Found 2 files");
  EXPECT_EQ(Results().GetItemCount(), 2);
}

// ---- the folder list during a search

TEST_F(SearchPageTest, TheFolderButtonsStayDisabledWhileASearchRunsAndComeBackAfter) {
  TempDir dir;
  for (const char* name : {"1.txt", "2.txt", "3.txt"}) dir.MakeFile(name, 1);
  ASSERT_TRUE(AddFolder(dir.Path()));
  ASSERT_TRUE(AddFolder(dir.MakeFolder("empty")));  // a second row to select
  // The worker waits for this thread at its first report: until the test
  // pumps messages, the search is running.
  m_page.m_wndProgress.m_nProgressSendInterval = 0;
  ASSERT_TRUE(Click(IDC_FIND));
  ASSERT_NE(m_page.m_wndProgress.m_hWnd, nullptr);
  EXPECT_EQ(m_data.m_nTask, TASK_SEARCH);
  for (int id : {IDC_ADD, IDC_REMOVE, IDC_EMPTY_LIST, IDC_FIND, IDC_DELETE}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  // A selection made meanwhile does not bring "Remove" back.
  SelectRow(Folders(), 1);
  EXPECT_FALSE(Enabled(IDC_REMOVE));
  EXPECT_FALSE(Enabled(IDC_EMPTY_LIST));
  // Even a command that reaches the page is refused.
  const int calls = m_nChooserCalls;
  m_queChosen.push_back("C:\\late");
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ADD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_ADD)));
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_REMOVE)));
  EXPECT_EQ(m_nChooserCalls, calls);
  EXPECT_EQ(m_data.m_arrFolders.size(), 2u);

  ASSERT_TRUE(RunToTheEnd());
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
  EXPECT_TRUE(Enabled(IDC_ADD));
  EXPECT_TRUE(Enabled(IDC_REMOVE));  // row 2 is still selected
  EXPECT_TRUE(Enabled(IDC_EMPTY_LIST));
  EXPECT_TRUE(Enabled(IDC_FIND));
  EXPECT_TRUE(Enabled(IDC_DELETE));
  EXPECT_EQ(Results().GetItemCount(), 3);
}

// ---- the shell's folder browser

struct BrowserSeen {
  HWND box = nullptr;
  bool titled = false;  // the page's title is in it
};

BOOL CALLBACK FindTitle(HWND child, LPARAM data) {
  char text[128] = {};
  ::GetWindowTextA(child, text, sizeof text);
  if (std::string(text) == "Please, choose the folder...") {
    reinterpret_cast<BrowserSeen*>(data)->titled = true;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindBrowser(HWND window, LPARAM data) {
  char className[16] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || !::IsWindowVisible(window)) return TRUE;
  auto* seen = reinterpret_cast<BrowserSeen*>(data);
  seen->box = window;
  ::EnumChildWindows(window, FindTitle, data);
  return FALSE;
}

// The real browser, as "Add" opens it: its OK takes the folder it starts on.
// (With "browse for computers" among the flags OK stays grey for every
// folder, and a user could never add one.)
TEST(FolderBrowser, OpensWithThePageTitleAndItsOkGivesAFolder) {
  const DWORD thread = ::GetCurrentThreadId();
  BrowserSeen seen;
  bool okEnabled = false;
  std::thread user([&] {
    WaitUntil([&] {
      ::EnumThreadWindows(thread, FindBrowser, reinterpret_cast<LPARAM>(&seen));
      return seen.box != nullptr;
    });
    if (!seen.box) return;
    // A user picks the folders below the desktop one after another until OK
    // lights up.
    HWND ok = ::GetDlgItem(seen.box, IDOK);
    HWND tree = ::FindWindowExA(seen.box, nullptr, WC_TREEVIEWA, nullptr);
    auto next = [&](HTREEITEM item, UINT how) {
      return reinterpret_cast<HTREEITEM>(
          ::SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    HTREEITEM root = tree ? next(nullptr, TVGN_ROOT) : nullptr;
    if (root) ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    for (HTREEITEM item = root ? next(root, TVGN_CHILD) : nullptr; item && !okEnabled;
         item = next(item, TVGN_NEXT)) {
      ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      okEnabled = WaitUntil([&] { return ::IsWindowEnabled(ok) != FALSE; }, 500ms);
    }
    ClickButton(seen.box, okEnabled ? IDOK : IDCANCEL);
  });
  std::string path;
  const bool chosen = BrowseForFolder(path, nullptr);
  user.join();

  ASSERT_NE(seen.box, nullptr);
  EXPECT_TRUE(seen.titled);
  EXPECT_TRUE(okEnabled);
  EXPECT_TRUE(chosen);
  EXPECT_FALSE(path.empty());
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      << path;
}

TEST(FolderBrowser, CancelGivesNothing) {
  const DWORD thread = ::GetCurrentThreadId();
  BrowserSeen seen;
  std::thread user([&] {
    WaitUntil([&] {
      ::EnumThreadWindows(thread, FindBrowser, reinterpret_cast<LPARAM>(&seen));
      return seen.box != nullptr;
    });
    if (seen.box) ClickButton(seen.box, IDCANCEL);
  });
  std::string path = "untouched";
  const bool chosen = BrowseForFolder(path, nullptr);
  user.join();
  ASSERT_NE(seen.box, nullptr);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(path, "untouched");
}

TEST_F(SearchPageTest, AFolderChosenWhileASearchStartedMeanwhileIsNotAdded) {
  TempDir dir;
  dir.MakeFile("a.txt", 1);
  ASSERT_TRUE(AddFolder(dir.Path()));
  m_page.m_wndProgress.m_nProgressSendInterval = 0;
  // The user presses "Find" while the browser (which has no owner) is open.
  m_page.m_fnChooseFolder = [this](std::string& path) {
    ::SendMessageA(Item(IDC_FIND), BM_CLICK, 0, 0);
    path = "C:\\chosen later";
    return true;
  };
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ADD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_ADD)));
  EXPECT_EQ(m_data.m_nTask, TASK_SEARCH);
  EXPECT_EQ(m_data.m_arrFolders, (std::vector<std::string>{dir.Path()}));
  ASSERT_TRUE(RunToTheEnd());
  EXPECT_EQ(Folders().GetItemCount(), 1);
  EXPECT_EQ(Results().GetItemCount(), 1);
}

// ---- the results list's habits

// Rows straight into the store, as a search leaves them, and the refill.
void ShowRows(CAppData& data, CWindowWiperEntries& page,
              std::initializer_list<std::pair<const char*, const char*>> rows) {
  for (const auto& [location, name] : rows) data.AddResult(name, location, "txt", 1, "");
  data.m_nFoundCount = static_cast<int64_t>(data.GetResultCount());
  page.RefillResults();
}

// A key on the results list, with Ctrl held or not, as the keyboard sends it.
void PressKey(const fw::CListView& list, WPARAM key, bool control = false) {
  BYTE saved[256] = {};
  ::GetKeyboardState(saved);
  BYTE held[256];
  std::copy(std::begin(saved), std::end(saved), std::begin(held));
  held[VK_CONTROL] = control ? 0x80 : 0;
  ::SetKeyboardState(held);
  list.Send(WM_KEYDOWN, key, 1);
  list.Send(WM_KEYUP, key, 0xC0000001);
  ::SetKeyboardState(saved);
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void SetClipboardEmpty() {
  if (!::OpenClipboard(nullptr)) return;
  ::EmptyClipboard();
  ::CloseClipboard();
}

// The list rows that are selected, top to bottom.
std::vector<int> SelectedRows(const fw::CListView& list) {
  std::vector<int> rows;
  for (int row = -1; (row = list.GetNextItem(row, LVNI_SELECTED)) != -1;) rows.push_back(row);
  return rows;
}

// Five files sorted by Name descending (echo, delta, charlie, bravo, alpha),
// rows 3 and 4 selected and the focus on row 4, as a click leaves them; then
// keys typed on the list, as the keyboard delivers them.
std::vector<int> SelectionAfterTyping(CAppData& data, CWindowWiperEntries& page,
                                      const std::string& typed) {
  ShowRows(data, page,
           {{"C:\\a\\", "alpha.doc"},
            {"C:\\a\\", "bravo.doc"},
            {"C:\\a\\", "charlie.doc"},
            {"C:\\a\\", "Delta.doc"},
            {"C:\\a\\", "echo.doc"}});
  page.m_view.SortResults(1);
  page.m_view.SortResults(1);
  const fw::CListView& list = page.m_view.m_listResults;
  EXPECT_EQ(list.GetItemText(1, 1), "Delta.doc");
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  list.Send(LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  list.Send(LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&state));
  ::SetFocus(list.m_hWnd);
  PostTyping(list.m_hWnd, typed);
  DrainMessages(kProgramKeys);
  return SelectedRows(list);
}

// Text no name begins with leaves the selection as it was: a Delete then
// deletes what the user chose, never the top row.
TEST_F(SearchPageTest, TypingTextNoNameBeginsWithLeavesTheSelection) {
  EXPECT_EQ(SelectionAfterTyping(m_data, m_page, "z"), (std::vector<int>{2, 3}));
  // The folder list keeps its own rows and searches them itself.
  ASSERT_TRUE(AddFolder("C:\\zeta"));
  ASSERT_TRUE(AddFolder("C:\\alpha"));
  SelectRow(Folders(), 1);
  PostTyping(Folders().m_hWnd, "z");
  DrainMessages(kProgramKeys);
  EXPECT_EQ(SelectedRows(Folders()), (std::vector<int>{1}));
}

TEST_F(SearchPageTest, TypingGoesToTheNextNameItBeginsAndWrapsRound) {
  EXPECT_EQ(SelectionAfterTyping(m_data, m_page, "d"), (std::vector<int>{1}));
  EXPECT_EQ(Results().GetNextItem(-1, LVNI_FOCUSED), 1);
  m_page.m_view.CollectSelectedResults();
  EXPECT_EQ(m_page.m_view.m_arrSelectedResults, (std::vector<int32_t>{3}));  // Delta.doc
}

// The narrow form, as Windows sends it to a page that asks for narrow
// notifications, and a search that does not wrap.
TEST_F(SearchPageTest, TheNarrowFindRequestIsAnsweredToo) {
  ShowRows(m_data, m_page, {{"C:\\a\\", "alpha.doc"}, {"C:\\a\\", "beta.doc"}});
  NMLVFINDITEMA find{};
  find.hdr.hwndFrom = Results().m_hWnd;
  find.hdr.idFrom = IDC_LIST_RESULTS;
  find.hdr.code = LVN_ODFINDITEMA;
  find.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP;
  find.lvfi.psz = "AL";
  find.iStart = 1;
  auto ask = [&] {
    return ::SendMessageA(m_page.m_hWnd, WM_NOTIFY, IDC_LIST_RESULTS,
                          reinterpret_cast<LPARAM>(&find));
  };
  EXPECT_EQ(ask(), 0);
  find.lvfi.flags = LVFI_PARTIAL;
  EXPECT_EQ(ask(), -1);
  find.lvfi.psz = "z";
  find.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP;
  EXPECT_EQ(ask(), -1);
}

TEST_F(SearchPageTest, CtrlASelectsEveryRow) {
  ShowRows(m_data, m_page, {{"C:\\a\\", "one.txt"}, {"C:\\a\\", "two.txt"}, {"C:\\b\\", "3.txt"}});
  PressKey(Results(), 'A');
  EXPECT_EQ(Results().GetSelectedCount(), 0);
  PressKey(Results(), 'A', true);
  EXPECT_EQ(Results().GetSelectedCount(), 3);
}

TEST_F(SearchPageTest, CtrlCCopiesTheSelectedPathsAsUnicodeLines) {
  const std::wstring cafe = L"caf\u00e9.txt";
  const std::string name = NarrowName(cafe);
  ShowRows(m_data, m_page, {{"C:\\b\\", "b.txt"}, {"C:\\a\\", name.c_str()}, {"C:\\c\\", "c.txt"}});
  SetClipboardEmpty();
  // Sorted by "Location": the selection is copied top to bottom as shown.
  m_page.m_view.SortResults(3);
  SelectRow(Results(), 0);
  SelectRow(Results(), 1);
  PressKey(Results(), 'C', true);
  EXPECT_EQ(ClipboardText(), L"C:\\a\\" + cafe + L"\r\nC:\\b\\b.txt");
}

TEST_F(SearchPageTest, DoubleClickAndEnterOpenTheFolderWithTheFileSelected) {
  ShowRows(m_data, m_page, {{"C:\\b\\", "b.txt"}, {"D:\\my files\\", "a, too.txt"}});
  std::vector<std::wstring> commands;
  m_page.m_view.m_fnRunShell = [&](const ShellCommand& command) {
    commands.push_back(command.m_strFile + L" " + command.m_strParameters);
  };
  m_page.m_view.SortResults(1);  // "Name": a, too.txt on top
  RECT row{};
  row.left = LVIR_LABEL;
  Results().Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  Results().Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 2, row.top + 2));
  EXPECT_EQ(commands,
            (std::vector<std::wstring>{L"explorer.exe /select,\"D:\\my files\\a, too.txt\""}));

  // Enter comes to the page as its default command; it opens only when the
  // results list has the focus.
  SelectRow(Results(), 0, false);
  SelectRow(Results(), 1);
  ::SetFocus(Item(IDC_FIND));
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(commands.size(), 1u);
  ::SetFocus(Results().m_hWnd);
  ASSERT_EQ(::GetFocus(), Results().m_hWnd);
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1], L"explorer.exe /select,\"C:\\b\\b.txt\"");
}

TEST_F(SearchPageTest, DeleteKeyAsksAsTheButtonDoesAndNothingWhileATaskRuns) {
  ShowRows(m_data, m_page, {{"C:\\a\\", "one.txt"}, {"C:\\a\\", "two.txt"}});
  BoxSeries no("Warning", BoxSeries::kEveryBox, IDCANCEL);
  SelectRow(Results(), 1);
  PressKey(Results(), VK_DELETE);
  EXPECT_EQ(no.Texts(),
            (std::vector<std::string>{"Do you really want to delete selected file(s)?"}));
  EXPECT_EQ(m_data.m_arrDeleteMarks, (std::vector<int32_t>{0, 1}));

  // The key, the menu's "Delete" and the page's own "Find" and "Delete"
  // commands (posted, say, while the buttons were still enabled) while a
  // search or a delete runs: no question, no marks, the store left to the
  // worker and no second worker.
  for (auto* task : {&m_data.m_nTask, &m_data.m_nRunningTask}) {
    m_data.m_arrDeleteMarks = {0, 0};
    *task = 2;
    PressKey(Results(), VK_DELETE);
    ::SendMessageA(m_page.m_hWnd, WM_COMMAND, ID_RESULTS_DELETE, 0);
    ::SendMessageA(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
    ::SendMessageA(m_page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_FIND, BN_CLICKED), 0);
    *task = 0;
    EXPECT_EQ(m_data.m_arrDeleteMarks, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(m_data.GetResultCount(), 2u);
    EXPECT_EQ(m_page.m_wndProgress.m_hWnd, nullptr);
  }
  no.Stop();
  EXPECT_EQ(no.Texts().size(), 1u);
}

TEST_F(SearchPageTest, TheRowsMenuOffersItsChoicesAndCopyPathCopies) {
  ShowRows(m_data, m_page, {{"C:\\a\\", "one.txt"}, {"C:\\b\\", "two.txt"}});
  SetClipboardEmpty();
  SelectRow(Results(), 1);
  std::vector<std::string> items;
  MenuAnswerer menu([&](HWND window) {
    HMENU shown = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(shown); ++i) {
      char text[64] = {};
      if (::GetMenuStringA(shown, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) > 0)
        items.push_back(text);
    }
    // The second entry: "Copy path".
    ::PostMessageA(window, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageA(window, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageA(window, WM_KEYDOWN, VK_RETURN, 1);
  });
  // As the menu key or Shift+F10 asks for it.
  Results().Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Results().m_hWnd), MAKELPARAM(-1, -1));
  ASSERT_TRUE(menu.Answered());
  EXPECT_EQ(items, (std::vector<std::string>{"Open containing folder", "Copy path", "Select all",
                                             NarrowName(L"Save list\u2026"), "Delete"}));
  EXPECT_TRUE(PumpUntil([] { return ClipboardText() == L"C:\\b\\two.txt"; }));
}

// The line beside the total, through what a user does: clicks with and
// without Shift, Ctrl+A, typing, a sort, and a delete with a file that cannot
// go and one that changed since the search.
TEST_F(SearchPageTest, TheSelectionLineFollowsEveryChangeAndTellsWhatADeleteDid) {
  TempDir dir;
  const std::pair<const char*, uint64_t> files[] = {
      {"a.txt", 100}, {"b.txt", 2048}, {"c.txt", 3000}, {"locked.txt", 512}, {"moved.txt", 700}};
  for (const auto& [name, size] : files) dir.MakeFile(name, size);
  // Read-only before the search: making it so afterwards is a change of it.
  ASSERT_TRUE(SetReadOnly(dir / "locked.txt", true));
  ASSERT_TRUE(AddFolder(dir.Path()));
  ASSERT_TRUE(Click(IDC_FIND));
  ASSERT_TRUE(RunToTheEnd());
  ASSERT_EQ(Results().GetItemCount(), 5);
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "");

  auto rowOf = [&](const std::string& name) {
    for (int row = 0; row < Results().GetItemCount(); ++row) {
      if (Results().GetItemText(row, 1) == name) return row;
    }
    return -1;
  };
  // A click on the row's name, as the mouse gives it to the list.
  auto clickRow = [&](const std::string& name, WPARAM keys = 0) {
    RECT cell{};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    Results().Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(rowOf(name)),
                   reinterpret_cast<LPARAM>(&cell));
    const LPARAM at = MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2);
    Results().Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    Results().Send(WM_LBUTTONUP, keys, at);
  };

  m_page.m_view.SortResults(1);  // by Name: a, b, c, locked, moved
  clickRow("b.txt");
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 1 files, 2.0 KB");
  clickRow("locked.txt", MK_SHIFT);  // b, c, locked
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 3 files, 5.4 KB");
  clickRow("c.txt", MK_SHIFT);  // the range shrinks to b, c
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 2 files, 4.9 KB");
  clickRow("moved.txt", MK_CONTROL);
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 3 files, 5.6 KB");
  PressKey(Results(), 'A', true);
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 5 files, 6.2 KB");
  PostTyping(Results().m_hWnd, "c");
  DrainMessages(kProgramKeys);
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 1 files, 2.9 KB");
  clickRow("a.txt", MK_CONTROL);
  m_page.m_view.SortResults(4);  // by Size: the same files stay selected
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 2 files, 3.0 KB");

  PressKey(Results(), 'A', true);
  dir.MakeFile("moved.txt", 900);  // another file than the search found
  BoxSeries answers("Warning", {IDOK, IDC_BOX_NO, IDC_BOX_NO});  // Yes, Skip, Skip
  ASSERT_TRUE(Click(IDC_DELETE));
  ASSERT_TRUE(RunToTheEnd());
  EXPECT_TRUE(answers.Join());
  EXPECT_EQ(Results().GetItemCount(), 2);
  EXPECT_EQ(Text(IDC_SELECTION_LABEL),
            "Deleted 3 of 5 files; 1 could not be deleted; 1 had changed since the search");
  // Until the selection changes, or the next Find.
  clickRow("locked.txt");
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "Selected: 1 files, 512 B");
  ASSERT_TRUE(SetReadOnly(dir / "locked.txt", false));
  ASSERT_TRUE(Click(IDC_FIND));
  ASSERT_TRUE(RunToTheEnd());
  EXPECT_EQ(Text(IDC_SELECTION_LABEL), "");
}

// "Save list…" through a chooser in the Save As box's place: every row when
// none is selected, else the selected ones, in the list's order; a file that
// cannot be replaced stays as it was, and the box says why.
TEST_F(SearchPageTest, SaveListWritesTheRowsShownAndAFailureKeepsTheOldFile) {
  ShowRows(m_data, m_page,
           {{"C:\\b\\", "b, c.txt"}, {"C:\\a\\", "a.txt"}, {"C:\\c\\", "\"c\".txt"}});
  m_page.m_view.SortResults(1);  // by Name: "c".txt, a.txt, b, c.txt
  TempDir dir;
  const std::string target = dir / "list.csv";
  std::wstring wideTarget;
  ASSERT_TRUE(platform::WidenExact(target, wideTarget));
  ListFormat nextFormat = ListFormat::Csv;
  int chooserCalls = 0;
  m_page.m_view.m_fnChooseListFile = [&](HWND owner, std::wstring& path, ListFormat& format) {
    EXPECT_EQ(owner, m_page.m_hWnd);
    ++chooserCalls;
    path = wideTarget;
    format = nextFormat;
    return true;
  };
  auto lines = [&] {
    std::string text = ReadWholeFile(target);
    std::vector<std::string> found;
    if (text.rfind("\xEF\xBB\xBF", 0) != 0) return found;
    for (size_t at = 3, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
      found.push_back(text.substr(at, end - at));
    return found;
  };
  auto startOf = [](const std::vector<std::string>& found) {
    std::vector<std::string> starts;  // up to the date, which is the time zone's
    for (const std::string& line : found) starts.push_back(line.substr(0, line.rfind(',')));
    return starts;
  };

  PressKey(Results(), 'S', true);
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_EQ(startOf(lines()),
            (std::vector<std::string>{"Location,Name,Type,Size", "C:\\c\\,\"\"\"c\"\".txt\",txt,1",
                                      "C:\\a\\,a.txt,txt,1", "C:\\b\\,\"b, c.txt\",txt,1"}));
  EXPECT_EQ(lines()[0], "Location,Name,Type,Size,Modified Date");

  SelectRow(Results(), 2);
  nextFormat = ListFormat::Tsv;
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, ID_RESULTS_SAVE_LIST, 0);
  ASSERT_EQ(lines().size(), 2u);
  EXPECT_EQ(lines()[1].substr(0, lines()[1].rfind('\t')), "C:\\b\\\tb, c.txt\ttxt\t1");

  // A file another program holds open, and a read-only one: the new list
  // cannot take their place; each keeps its bytes, and no temporary file is
  // left beside it.
  const std::string before = ReadWholeFile(target);
  auto temporaryThere = [&] {
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((dir / "*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    return search != INVALID_HANDLE_VALUE;
  };
  for (int round = 0; round < 2; ++round) {
    HANDLE held = round == 0 ? ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE;
    if (round == 1) {
      ASSERT_TRUE(SetReadOnly(target, true));
    }
    BoxSeries error("Error", {IDOK});
    PressKey(Results(), 'S', true);
    ASSERT_TRUE(error.Join()) << round;
    ASSERT_EQ(error.Texts().size(), 1u);
    EXPECT_EQ(error.Texts()[0].rfind("The list cannot be saved to \"" + target + "\". ", 0), 0u)
        << error.Texts()[0];
    if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
    ASSERT_TRUE(SetReadOnly(target, false));
    EXPECT_EQ(ReadWholeFile(target), before);
    EXPECT_FALSE(temporaryThere());
  }

  // A holder that lets go while the save waits for it at its move (the
  // temporary file is there), as an indexer or a scanner does.
  HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  std::thread letGo([&] {
    WaitUntil(temporaryThere);
    ::CloseHandle(held);
  });
  nextFormat = ListFormat::Csv;
  BoxSeries errors("Error", BoxSeries::kEveryBox, IDOK);
  PressKey(Results(), 'S', true);
  letGo.join();
  errors.Stop();
  EXPECT_EQ(errors.Answered(), 0);
  EXPECT_NE(ReadWholeFile(target), before);

  // Nothing while a task runs.
  m_data.m_nRunningTask = TASK_DELETE;
  ::SendMessageA(m_page.m_hWnd, WM_COMMAND, ID_RESULTS_SAVE_LIST, 0);
  m_data.m_nRunningTask = TASK_NONE;
  EXPECT_EQ(chooserCalls, 5);
}

// ---- routine clean-ups

namespace {

// Grey pixels of the skip list's edit as it paints itself: its example.
int GreyPixels(HWND edit) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 200, -20, 1, 32}};
  void* bits = nullptr;
  const HGDIOBJ old = ::SelectObject(dc, ::CreateDIBSection(dc, &info, 0, &bits, nullptr, 0));
  ::SendMessageW(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  int grey = 0;
  for (int at = 0; at < 200 * 20; ++at)
    grey += ::GetPixel(dc, at % 200, at / 200) == ::GetSysColor(COLOR_GRAYTEXT);
  ::DeleteObject(::SelectObject(dc, old));
  ::DeleteDC(dc);
  return grey;
}

}  // namespace

// An age puts its days where the pickers were; the design's conditions bring
// them back. The skip list shows its example until something is typed.
TEST_F(SearchPageTest, AnAgeShowsItsDaysWhereThePickersWereAndTheSkipListItsExample) {
  EXPECT_GT(GreyPixels(Item(IDC_SKIP_FOLDERS)), 20);
  SetText(IDC_SKIP_FOLDERS, "x");
  EXPECT_EQ(GreyPixels(Item(IDC_SKIP_FOLDERS)), 0);

  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is older than"));
  EXPECT_TRUE(Shown(IDC_DAYS) && Enabled(IDC_DAYS) && Shown(IDC_DAYS_LABEL));
  EXPECT_EQ(Text(IDC_DAYS), "30");
  for (int id : {IDC_FROM_DATE, IDC_TO_DATE, IDC_FROM_TIME, IDC_TO_TIME}) EXPECT_FALSE(Shown(id));
  EXPECT_FALSE(Enabled(IDC_DATE_MODE));
  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is"));
  EXPECT_FALSE(Shown(IDC_DAYS));
  EXPECT_TRUE(Shown(IDC_FROM_DATE) && Enabled(IDC_FROM_DATE));
  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is within the last"));
  ASSERT_TRUE(AddFolder("C:\\"));  // the days are checked first: nothing is searched
  SetText(IDC_DAYS, "40000");
  EXPECT_EQ(FindExpectingWarning(), "Please enter a number of days from 0 to 36500.");
}

// A page hosted with the program's folder, where quillory.ini lives; a test
// may put one there before the page starts.
class RoutinePageTest : public SearchPageTest {
 protected:
  void SetUp() override {
    m_data.m_strAppFolder = m_install.Path() + "\\";
    if (!m_strIni.empty()) std::ofstream(Ini(), std::ios::binary) << m_strIni;
    SearchPageTest::SetUp();
  }
  std::string Ini() const { return m_install / "quillory.ini"; }
  TempDir m_install;
  std::string m_strIni;
};

class DamagedIniPageTest : public RoutinePageTest {
 protected:
  DamagedIniPageTest() {
    m_strIni =
        "[Last search]\r\nDays=many\r\nDateCondition=is within the last\r\n"
        "SizeCondition=is between\r\nSizeFrom=2\r\nSizeTo=7\r\n";
  }
};

// The page starts as the file left it, the values its own handlers would
// reset included, and a line it could not read at its initial value; the
// exit does not write over such a file, the user's next search does.
TEST_F(DamagedIniPageTest, TheLastSearchComesBackAndOnlyASearchWritesOverADamagedOne) {
  EXPECT_EQ(ListSelection(IDC_DATE_CONDITION), "is within the last");
  EXPECT_TRUE(Shown(IDC_DAYS) && Enabled(IDC_DAYS));
  EXPECT_EQ(Text(IDC_DAYS), "30");
  EXPECT_EQ(Text(IDC_SIZE_FROM), "2");
  EXPECT_EQ(Text(IDC_SIZE_TO), "7");
  m_page.RememberAtExit();
  EXPECT_EQ(ReadWholeFile(Ini()), m_strIni);

  TempDir dir;
  ASSERT_TRUE(AddFolder(dir.Path()));
  ASSERT_TRUE(Click(IDC_FIND));
  ASSERT_TRUE(RunToTheEnd());
  EXPECT_NE(ReadWholeFile(Ini()).find("\r\nDays=30\r\n"), std::string::npos);
  EXPECT_NE(ReadWholeFile(Ini()).find("\r\nFolder=" + dir.Path() + "\r\n"), std::string::npos);
}

// "Save…" keeps the page under a name typed in its box; choosing the name
// fills the page again; the same name in other letters asks before it
// replaces, and "Delete" asks before it forgets.
TEST_F(RoutinePageTest, SearchesSavedByNameFillThePageAndAskBeforeTheyGo) {
  // `offeredAgain`: the name the box shows when it comes back (No to
  // "replace it?"), which is then cancelled.
  auto saveAs = [&](const std::string& name, std::string* offeredAgain = nullptr) {
    BoxAnswerer named("Save search", [&](HWND box) {
      ::SetDlgItemTextA(box, IDC_SEARCH_NAME, name.c_str());
      ClickButton(box, IDOK);
      HWND again = nullptr;
      if (!offeredAgain || !WaitUntil([&] {
            return (again = FindOwnWindow("Save search")) != nullptr && again != box;
          }))
        return;
      char text[64] = {};
      ::GetDlgItemTextA(again, IDC_SEARCH_NAME, text, sizeof text);
      *offeredAgain = text;
      ClickButton(again, IDCANCEL);
    });
    EXPECT_TRUE(Click(IDC_SAVE_SEARCH));
    EXPECT_TRUE(named.Answered());
  };
  EXPECT_FALSE(Enabled(IDC_DELETE_SEARCH));
  ASSERT_TRUE(AddFolder("C:\\Build"));
  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "is within the last"));
  SetText(IDC_DAYS, "7");
  saveAs("  Temp files ");
  EXPECT_EQ(ListSelection(IDC_SAVED_SEARCHES), "Temp files");
  EXPECT_TRUE(Enabled(IDC_DELETE_SEARCH));

  ASSERT_TRUE(Choose(IDC_DATE_CONDITION, "any"));
  ASSERT_TRUE(Choose(IDC_SAVED_SEARCHES, "Temp files"));
  EXPECT_EQ(ListSelection(IDC_DATE_CONDITION), "is within the last");
  EXPECT_EQ(Text(IDC_DAYS), "7");

  SetText(IDC_DAYS, "8");
  for (const int answer : {IDCANCEL, IDOK}) {
    BoxSeries asked("Warning", {answer});
    std::string offeredAgain;
    saveAs("TEMP FILES", answer == IDCANCEL ? &offeredAgain : nullptr);
    EXPECT_EQ(offeredAgain, answer == IDCANCEL ? "TEMP FILES" : "");
    ASSERT_TRUE(asked.Join());
    EXPECT_EQ(asked.Texts(), Texts{"A search named \"Temp files\" is saved already. Do you want "
                                   "to replace it?"});
    EXPECT_EQ(ReadWholeFile(Ini()).find("Days=8") != std::string::npos, answer == IDOK);
  }
  EXPECT_EQ(ListSelection(IDC_SAVED_SEARCHES), "TEMP FILES");

  BoxSeries yes("Warning", {IDOK});
  ASSERT_TRUE(Click(IDC_DELETE_SEARCH));
  ASSERT_TRUE(yes.Join());
  EXPECT_EQ(yes.Texts(), Texts{"Do you want to delete the saved search \"TEMP FILES\"?"});
  EXPECT_EQ(fw::CComboBox(Item(IDC_SAVED_SEARCHES)).GetCount(), 0);
  EXPECT_FALSE(Enabled(IDC_DELETE_SEARCH));

  // A file that cannot be read says so once, and nothing is written.
  ASSERT_TRUE(RemoveEntry(Ini(), false));
  ASSERT_TRUE(::CreateDirectoryA(Ini().c_str(), nullptr));
  {
    BoxSeries errors("Error", BoxSeries::kEveryBox, IDOK);
    saveAs("Logs");
    errors.Stop();
    ASSERT_EQ(errors.Texts().size(), 1u);
    EXPECT_EQ(errors.Texts()[0].rfind("Could not open file \"" + Ini() + "\"", 0), 0u);
  }
  EXPECT_FALSE(FileExists(Ini() + ".new"));
  ASSERT_TRUE(RemoveEntry(Ini(), true));
}

// ---- the program's one page

TEST(SearchPageObject, GivesTheMainWindowItsProgressWindowAndMinimumSize) {
  EXPECT_EQ(g_SearchPage.GetWorkerHost(), static_cast<IWorkerHost*>(&g_SearchPage.m_wndProgress));
  EXPECT_EQ(g_SearchPage.m_nPageWidth, 530);
  EXPECT_EQ(g_SearchPage.m_nPageHeight, 520);
  EXPECT_EQ(g_SearchPage.GetTemplateId(), 143u);
  EXPECT_EQ(g_SearchPage.m_pAppData, &g_AppData);
}

}  // namespace
