#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "framework/worker_messages.h"
#include "results/compare_rows.h"
#include "results/results_view_win.h"
#include "results_host_win.h"
#include "support/box_answerer_ui_win.h"

namespace {

using Texts = std::vector<std::string>;

// "f12.txt" and the like. (Built with snprintf: g++ 12 warns wrongly about
// adding to a std::to_string result.)
std::string Numbered(const char* prefix, uint64_t number, const char* suffix) {
  char text[64];
  std::snprintf(text, sizeof text, "%s%llu%s", prefix, static_cast<unsigned long long>(number),
                suffix);
  return text;
}

constexpr int kN = 0, kName = 1, kType = 2, kLocation = 3, kSize = 4, kDate = 5;

class ResultsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The sort state lives for the whole program; each test starts it afresh.
    g_nLastSortColumn = -1;
    g_bSortAscending = true;
  }

  void AddRow(const std::string& name, uint64_t size, const std::string& date,
              const std::string& location = "C:\\files\\", int64_t time = 0) {
    const size_t dot = name.rfind('.');
    m_data.AddResult(name, location, dot == std::string::npos ? "" : name.substr(dot + 1), size,
                     date, time);
    m_data.m_nFoundCount = static_cast<int64_t>(m_data.GetResultCount());
  }

  CResultsView& View() { return m_host.m_view; }
  const CCustomList& List() { return m_host.m_view.m_listResults; }
  Texts Column(int column) { return ColumnTexts(List(), column); }

  void SelectRowsNumbered(std::initializer_list<const char*> numbers) {
    for (int row = 0; row < List().GetItemCount(); ++row) {
      for (const char* number : numbers) {
        if (List().GetItemText(row, kN) != number) continue;
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        List().Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
      }
    }
  }

  CAppData m_data;
  CResultsHost m_host{&m_data};
};

// ---- the refill

TEST_F(ResultsViewTest, RefillShowsTheStoreInOrderWithNumbersSizesAndTheTotal) {
  AddRow("report.doc", 4294967296ULL, "01/15/24 12:30:00");
  AddRow("movie.avi", 3221225472ULL, "02/01/24 08:00:00", "D:\\video\\");
  AddRow("empty", 0, "03/01/24 00:00:00");
  EXPECT_FALSE(::IsWindowVisible(View().m_wndTotal.m_hWnd));

  View().RefillResults();

  EXPECT_EQ(Column(kN), (Texts{"1", "2", "3"}));
  EXPECT_EQ(Column(kName), (Texts{"report.doc", "movie.avi", "empty"}));
  EXPECT_EQ(Column(kType), (Texts{"doc", "avi", ""}));
  EXPECT_EQ(Column(kLocation), (Texts{"C:\\files\\", "D:\\video\\", "C:\\files\\"}));
  // Plain bytes, beyond 4 GiB too, and 3 GB is no negative number.
  EXPECT_EQ(Column(kSize), (Texts{"4294967296", "3221225472", "0"}));
  EXPECT_EQ(Column(kDate), (Texts{"01/15/24 12:30:00", "02/01/24 08:00:00", "03/01/24 00:00:00"}));
  EXPECT_EQ(View().m_arrRowOrder, (std::vector<int32_t>{0, 1, 2}));

  EXPECT_EQ(View().m_wndTotal.GetText(), "Total number of found files: 3");
  EXPECT_TRUE(::GetWindowLongPtrA(View().m_wndTotal.m_hWnd, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(View().m_wndFind.IsEnabled());
  EXPECT_TRUE(View().m_wndDelete.IsEnabled());
}

TEST_F(ResultsViewTest, ASearchThatFoundNothingShowsZeroAndAnEmptyList) {
  AddRow("old.txt", 1, "01/01/24 00:00:00");
  View().RefillResults();
  m_data.ClearResults();
  m_data.m_nFoundCount = 0;
  View().RefillResults();
  EXPECT_EQ(List().GetItemCount(), 0);
  EXPECT_EQ(View().m_wndTotal.GetText(), "Total number of found files: 0");
}

TEST_F(ResultsViewTest, TheTotalIsWhatTheSearchFoundNotWhatADeleteLeft) {
  AddRow("a.txt", 1, "01/01/24 00:00:00");
  m_data.m_nFoundCount = 5;
  View().RefillResults();
  EXPECT_EQ(List().GetItemCount(), 1);
  EXPECT_EQ(View().m_wndTotal.GetText(), "Total number of found files: 5");
}

TEST_F(ResultsViewTest, FindAndDeleteStayAsTheyAreWhileATaskIsSet) {
  View().m_wndFind.Enable(false);
  View().m_wndDelete.Enable(false);
  m_data.m_nTask = TASK_SEARCH;
  View().RefillResults();
  EXPECT_FALSE(View().m_wndFind.IsEnabled());
  EXPECT_FALSE(View().m_wndDelete.IsEnabled());

  m_data.m_nTask = TASK_NONE;
  m_data.m_nRunningTask = TASK_DELETE;
  View().RefillResults();
  EXPECT_FALSE(View().m_wndFind.IsEnabled());
  EXPECT_FALSE(View().m_wndDelete.IsEnabled());
}

// What reaches the results list on the test's thread while a worker refills:
// the new row count must come inside the one task the worker hands over.
struct ListTrace {
  static inline HWND list = nullptr;
  static inline int runTasks = 0;
  static inline int depth = 0;
  static inline int countsInside = 0;
  static inline int countsOutside = 0;

  static LRESULT CALLBACK Before(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == list) {
      if (call->message == WM_RUN_TASK) {
        ++runTasks;
        ++depth;
      } else if (call->message == LVM_SETITEMCOUNT) {
        ++(depth > 0 ? countsInside : countsOutside);
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK After(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == list && call->message == WM_RUN_TASK) --depth;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

TEST_F(ResultsViewTest, RefillFromAWorkerIsOneHandOver) {
  for (int i = 0; i < 100; ++i) AddRow(Numbered("file", i, ".txt"), i, "01/01/24 00:00:00");
  ListTrace::list = List().m_hWnd;
  HHOOK before =
      ::SetWindowsHookExA(WH_CALLWNDPROC, ListTrace::Before, nullptr, ::GetCurrentThreadId());
  HHOOK after =
      ::SetWindowsHookExA(WH_CALLWNDPROCRET, ListTrace::After, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(before, nullptr);
  ASSERT_NE(after, nullptr);

  std::atomic<bool> returned{false};
  std::atomic<int> rowsWhenReturned{-1};
  std::thread worker([&] {
    View().RefillResults();
    rowsWhenReturned = static_cast<int>(List().GetItemCount());
    returned = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  ::UnhookWindowsHookEx(before);
  ::UnhookWindowsHookEx(after);

  // The worker went on only once the list was full.
  EXPECT_EQ(rowsWhenReturned.load(), 100);
  EXPECT_EQ(ListTrace::runTasks, 1);
  EXPECT_EQ(ListTrace::countsInside, 1);
  EXPECT_EQ(ListTrace::countsOutside, 0);
  EXPECT_EQ(Column(kN).back(), "100");
}

// ---- the folder list

TEST_F(ResultsViewTest, RefillFoldersNumbersTheFoldersAndSetsFindAndEmptyList) {
  m_data.m_arrFolders = {"C:\\", "D:\\work", "E:\\photos"};
  View().RefillFolders();
  const CCustomList& folders = View().m_listFolders;
  EXPECT_EQ(ColumnTexts(folders, 0), (Texts{"1", "2", "3"}));
  EXPECT_EQ(ColumnTexts(folders, 1), (Texts{"C:\\", "D:\\work", "E:\\photos"}));
  for (int row = 0; row < 3; ++row) EXPECT_EQ(folders.GetItemData(row), row);
  EXPECT_TRUE(View().m_wndFind.IsEnabled());
  EXPECT_TRUE(View().m_wndEmptyList.IsEnabled());

  m_data.m_nTask = TASK_DELETE;
  View().RefillFolders();
  EXPECT_FALSE(View().m_wndFind.IsEnabled());
  EXPECT_TRUE(View().m_wndEmptyList.IsEnabled());

  m_data.m_nTask = TASK_SEARCH;
  View().RefillFolders();
  EXPECT_FALSE(View().m_wndFind.IsEnabled());
  EXPECT_FALSE(View().m_wndEmptyList.IsEnabled());

  m_data.m_nTask = TASK_NONE;
  m_data.m_arrFolders.clear();
  View().RefillFolders();
  EXPECT_EQ(folders.GetItemCount(), 0);
  EXPECT_TRUE(View().m_wndFind.IsEnabled());
  EXPECT_FALSE(View().m_wndEmptyList.IsEnabled());
}

// ---- sorting

TEST_F(ResultsViewTest, NameSortsWithoutCaseAndTheSecondClickReverses) {
  AddRow("b.txt", 1, "01/01/24 00:00:00");
  AddRow("alpha.txt", 2, "01/01/24 00:00:00");
  AddRow("C.txt", 3, "01/01/24 00:00:00");
  AddRow("Alpha.txt", 4, "01/01/24 00:00:00");
  View().RefillResults();

  SendHeaderClick(m_host, kName);
  // alpha.txt and Alpha.txt are equal: they keep the order they had, in
  // either direction.
  EXPECT_EQ(Column(kName), (Texts{"alpha.txt", "Alpha.txt", "b.txt", "C.txt"}));
  EXPECT_EQ(g_nLastSortColumn, kName);
  EXPECT_TRUE(g_bSortAscending);

  SendHeaderClick(m_host, kName);
  EXPECT_EQ(Column(kName), (Texts{"C.txt", "b.txt", "alpha.txt", "Alpha.txt"}));
  EXPECT_FALSE(g_bSortAscending);
}

TEST_F(ResultsViewTest, SizeSortsAsNumbersBeyondFourGibibytes) {
  AddRow("big.bin", 4294967296ULL, "01/01/24 00:00:00");
  AddRow("small.bin", 10, "01/01/24 00:00:00");
  AddRow("almost.bin", 4294967295ULL, "01/01/24 00:00:00");
  AddRow("three.bin", 3221225472ULL, "01/01/24 00:00:00");
  AddRow("nine.bin", 9, "01/01/24 00:00:00");
  View().RefillResults();

  SendHeaderClick(m_host, kSize);
  EXPECT_EQ(Column(kSize), (Texts{"9", "10", "3221225472", "4294967295", "4294967296"}));
  SendHeaderClick(m_host, kSize);
  EXPECT_EQ(Column(kSize), (Texts{"4294967296", "4294967295", "3221225472", "10", "9"}));
}

// The texts' two-digit years cannot order 1950 against 2050: the instants can.
TEST_F(ResultsViewTest, DateSortsByTheInstantAcrossTheCenturies) {
  AddRow("2050.txt", 1, "01/01/50 00:00:00", "C:\\files\\", 2524608000);
  AddRow("y2k.txt", 2, "01/01/00 00:00:01", "C:\\files\\", 946684801);
  AddRow("1950.txt", 3, "01/01/50 00:00:00", "C:\\files\\", -631152000);
  AddRow("nye.txt", 4, "12/31/99 23:59:59", "C:\\files\\", 946684799);
  View().RefillResults();

  SendHeaderClick(m_host, kDate);
  EXPECT_EQ(Column(kName), (Texts{"1950.txt", "nye.txt", "y2k.txt", "2050.txt"}));
  SendHeaderClick(m_host, kDate);
  EXPECT_EQ(Column(kName), (Texts{"2050.txt", "y2k.txt", "nye.txt", "1950.txt"}));
}

TEST_F(ResultsViewTest, EqualDatesKeepTheirOrderInBothDirections) {
  AddRow("b.txt", 2, "01/15/24 12:30:00", "C:\\files\\", 1705339800);
  AddRow("a.txt", 1, "01/15/24 12:30:00", "C:\\files\\", 1705339800);
  AddRow("c.txt", 3, "01/14/24 12:30:00", "C:\\files\\", 1705253400);
  View().RefillResults();
  SendHeaderClick(m_host, kName);
  SendHeaderClick(m_host, kDate);
  EXPECT_EQ(Column(kName), (Texts{"c.txt", "a.txt", "b.txt"}));
  SendHeaderClick(m_host, kDate);
  EXPECT_EQ(Column(kName), (Texts{"a.txt", "b.txt", "c.txt"}));
}

TEST_F(ResultsViewTest, AnotherColumnStartsAscendingAndARefillKeepsTheState) {
  AddRow("b.txt", 30, "01/02/24 00:00:00", "C:\\files\\", 1704171600);
  AddRow("a.txt", 10, "01/03/24 00:00:00", "C:\\files\\", 1704258000);
  AddRow("c.txt", 20, "01/01/24 00:00:00", "C:\\files\\", 1704085200);
  View().RefillResults();

  SendHeaderClick(m_host, kName);
  SendHeaderClick(m_host, kName);
  EXPECT_EQ(Column(kName), (Texts{"c.txt", "b.txt", "a.txt"}));
  SendHeaderClick(m_host, kSize);
  EXPECT_EQ(Column(kSize), (Texts{"10", "20", "30"}));

  SendHeaderClick(m_host, kDate);
  SendHeaderClick(m_host, kDate);
  EXPECT_EQ(Column(kDate), (Texts{"01/03/24 00:00:00", "01/02/24 00:00:00", "01/01/24 00:00:00"}));
  // A new search: the rows come in store order again ...
  View().RefillResults();
  EXPECT_EQ(Column(kName), (Texts{"b.txt", "a.txt", "c.txt"}));
  EXPECT_EQ(Column(kN), (Texts{"1", "2", "3"}));
  // ... and the same column's next click reverses the last direction: ascending.
  SendHeaderClick(m_host, kDate);
  EXPECT_EQ(Column(kDate), (Texts{"01/01/24 00:00:00", "01/02/24 00:00:00", "01/03/24 00:00:00"}));
}

TEST_F(ResultsViewTest, OnlyTheLeftButtonSorts) {
  AddRow("b.txt", 1, "01/01/24 00:00:00");
  AddRow("a.txt", 2, "01/01/24 00:00:00");
  View().RefillResults();
  EXPECT_EQ(SendHeaderClick(m_host, kName, 1), 0);  // right
  EXPECT_EQ(SendHeaderClick(m_host, kName, 2), 0);  // middle
  EXPECT_EQ(Column(kName), (Texts{"b.txt", "a.txt"}));
  EXPECT_EQ(g_nLastSortColumn, -1);
  EXPECT_EQ(SendHeaderClick(m_host, kName, 0), 0);
  EXPECT_EQ(Column(kName), (Texts{"a.txt", "b.txt"}));
}

TEST_F(ResultsViewTest, SortingKeepsEachRowsOwnCellsAndNumber) {
  for (int i = 0; i < 12; ++i) AddRow(Numbered("f", 11 - i, ".txt"), i, "01/01/24 00:00:00");
  View().RefillResults();
  SendHeaderClick(m_host, kSize);
  SendHeaderClick(m_host, kSize);
  for (int row = 0; row < List().GetItemCount(); ++row) {
    const int32_t storeRow = View().m_arrRowOrder[static_cast<size_t>(row)];
    EXPECT_EQ(std::to_string(storeRow + 1), List().GetItemText(row, kN));
    EXPECT_EQ(m_data.m_arrFoundNames[static_cast<size_t>(storeRow)],
              List().GetItemText(row, kName));
    EXPECT_EQ(std::to_string(storeRow), List().GetItemText(row, kSize));
  }
  // "N" sorts as a number: 10 after 9.
  SendHeaderClick(m_host, kN);
  EXPECT_EQ(Column(kN), (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
}

TEST_F(ResultsViewTest, AClickOnTheRealHeaderReachesThePageNarrowAndSorts) {
  AddRow("b.txt", 20, "01/01/24 00:00:00");
  AddRow("a.txt", 10, "01/01/24 00:00:00");
  View().RefillResults();
  m_host.Show(SW_SHOW);
  ::SetForegroundWindow(m_host.m_hWnd);
  HWND header = List().GetHeader();
  RECT item{};
  ::SendMessageA(header, HDM_GETITEMRECT, kName, reinterpret_cast<LPARAM>(&item));
  POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ::ClientToScreen(header, &centre);
  MouseClickAt(centre);

  ASSERT_TRUE(PumpUntil([&] { return !m_host.m_headerCodes.empty(); }, 10s));
  EXPECT_EQ(m_host.m_headerCodes, (std::vector<UINT>{HDN_ITEMCLICKA}));
  EXPECT_EQ(Column(kName), (Texts{"a.txt", "b.txt"}));
}

// ---- the selection

TEST_F(ResultsViewTest, SelectedRowsAreMarkedByTheirNumberWhateverTheirPlace) {
  const uint64_t sizes[] = {70, 10, 90, 20, 80, 30, 60, 40, 50};
  for (uint64_t size : sizes) AddRow(Numbered("s", size, ".bin"), size, "01/01/24 00:00:00");
  View().RefillResults();
  SendHeaderClick(m_host, kSize);
  SelectRowsNumbered({"3", "7"});

  View().CollectSelectedResults();
  // Top to bottom after the sort: "7" (size 60) comes before "3" (size 90).
  EXPECT_EQ(View().m_arrSelectedResults, (std::vector<int32_t>{6, 2}));
  std::vector<int32_t> marks(9, 0);
  marks[2] = marks[6] = 1;
  EXPECT_EQ(m_data.m_arrDeleteMarks, marks);

  // The list keeps a selection by position; the next sort moves it with the rows.
  SendHeaderClick(m_host, kSize);
  EXPECT_EQ(List().GetSelectedCount(), 2);
  View().CollectSelectedResults();
  EXPECT_EQ(View().m_arrSelectedResults, (std::vector<int32_t>{2, 6}));
  EXPECT_EQ(m_data.m_arrDeleteMarks, marks);
  // A refill shows new rows: nothing of the old selection stays.
  View().RefillResults();
  EXPECT_EQ(List().GetSelectedCount(), 0);
}

// More rows than the list shows: a sort selects the rows in sight at once
// and the rest when the list is idle, and whatever looks at the list or
// gives it input first finds the whole selection in place.
TEST_F(ResultsViewTest, ASortKeepsTheSelectionOnRowsOutOfSightForAnyoneWhoLooks) {
  constexpr int kRows = 600;
  for (int i = 0; i < kRows; ++i) AddRow(Numbered("f", i, ".txt"), (i * 7919) % kRows, "");
  View().RefillResults();
  std::vector<int32_t> chosen;  // every third file and a stretch of ten
  for (int32_t row = 0; row < kRows; ++row) {
    if (row % 3 == 0 || (row >= 400 && row < 410)) chosen.push_back(row);
  }
  // As a user selects: the last row clicked has the focus.
  constexpr int32_t kFocused = 300;
  for (int32_t row : chosen) {
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    if (row == kFocused) state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    List().Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  }
  auto selected = [&] {
    std::vector<int32_t> rows = View().GetSelectedStoreRows();
    std::sort(rows.begin(), rows.end());
    return rows;
  };
  auto focusedFile = [&] {
    const int row = List().GetNextItem(-1, LVNI_FOCUSED);
    return row < 0 ? -1 : View().m_arrRowOrder[static_cast<size_t>(row)];
  };

  // A question to the list.
  SendHeaderClick(m_host, kSize);
  ASSERT_TRUE(View().m_listResults.HasDeferredWork());
  EXPECT_EQ(selected(), chosen);
  EXPECT_FALSE(View().m_listResults.HasDeferredWork());
  EXPECT_EQ(focusedFile(), kFocused);

  // The idle list.
  SendHeaderClick(m_host, kSize);
  ASSERT_TRUE(View().m_listResults.HasDeferredWork());
  EXPECT_TRUE(PumpUntil([&] { return !View().m_listResults.HasDeferredWork(); }));
  EXPECT_EQ(selected(), chosen);
  EXPECT_EQ(focusedFile(), kFocused);

  // A Ctrl+click on the first row: the rows out of sight are selected
  // before it, so it takes away one file and nothing else.
  SendHeaderClick(m_host, kName);
  ASSERT_TRUE(View().m_listResults.HasDeferredWork());
  RECT first{};
  first.left = LVIR_BOUNDS;
  List().Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  const LPARAM at = MAKELPARAM(first.left + 4, (first.top + first.bottom) / 2);
  List().Send(WM_LBUTTONDOWN, MK_CONTROL | MK_LBUTTON, at);
  List().Send(WM_LBUTTONUP, MK_CONTROL, at);
  ASSERT_EQ(List().GetItemText(0, kName), "f0.txt");  // chosen
  std::vector<int32_t> expected = chosen;
  std::erase(expected, 0);
  EXPECT_EQ(selected(), expected);
  EXPECT_EQ(View().m_selection.Count(), expected.size());
}

TEST_F(ResultsViewTest, NoSelectionLeavesNothingChosenAndEveryMarkClear) {
  AddRow("a.txt", 1, "01/01/24 00:00:00");
  AddRow("b.txt", 2, "01/01/24 00:00:00");
  View().RefillResults();
  m_data.m_arrDeleteMarks = {1, 1};
  View().m_arrSelectedResults = {0, 1};
  View().CollectSelectedResults();
  EXPECT_TRUE(View().m_arrSelectedResults.empty());
  EXPECT_EQ(m_data.m_arrDeleteMarks, (std::vector<int32_t>{0, 0}));
  EXPECT_TRUE(View().m_wndFind.IsEnabled());
}

TEST_F(ResultsViewTest, CollectingDuringASearchDisablesFindAndDelete) {
  AddRow("a.txt", 1, "01/01/24 00:00:00");
  View().RefillResults();
  m_data.m_nTask = TASK_SEARCH;
  View().CollectSelectedResults();
  EXPECT_FALSE(View().m_wndFind.IsEnabled());
  EXPECT_FALSE(View().m_wndDelete.IsEnabled());
}

}  // namespace
