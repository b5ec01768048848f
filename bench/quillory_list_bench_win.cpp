// The results list at its largest, the owner-data list beside the floors of
// the list that kept its own copy of every cell:
//
//   old fill    a plain report list filled from its own thread, redraw off
//   refill      RefillResults called on a worker thread, to the rows painted
//   old sort    LVM_SORTITEMS by name with lstrcmpiA on that plain list
//   sort        the header sort by Name, Size and Date, to the rows painted,
//               with no row, every other row and every row selected; and,
//               where the list selects rows out of sight later, until it
//               holds the whole selection again
//   collect     CollectSelectedResults with every row selected
//   memory      the process's working set and private bytes: the store
//               alone, with the owner-data list shown, and after the plain
//               list held the same rows
//
//   quillory-list-bench [rows]     (100000 by default)
//
// Each sort starts from store order. Prints one line per figure.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "framework/window_win.h"
#include "resources/resource.h"
#include "results/compare_rows.h"
#include "results/results_view_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

CAppData g_store;

void FillStore(size_t rows) {
  std::mt19937_64 random(20240115);
  std::vector<size_t> order(rows);
  for (size_t i = 0; i < rows; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  const char* kTypes[] = {"txt", "doc", "jpg", "pdf", "bin"};
  char name[64], location[96], date[32];
  for (size_t i = 0; i < rows; ++i) {
    const char* type = kTypes[order[i] % 5];
    std::snprintf(name, sizeof name, "%s document %06zu.%s", (order[i] & 1) ? "Project" : "project",
                  order[i], type);
    std::snprintf(location, sizeof location, "C:\\Users\\someone\\Documents\\folder %03zu\\",
                  order[i] % 997);
    // Sizes up to 8 GiB, times over 1995..2034.
    const uint64_t size = random() % (8ULL << 30);
    const int64_t time = 788918400 + static_cast<int64_t>(random() % (40ULL * 365 * 86400));
    std::snprintf(date, sizeof date, "%02d/%02d/%02d %02d:%02d:%02d",
                  static_cast<int>(random() % 12 + 1), static_cast<int>(random() % 28 + 1),
                  static_cast<int>((95 + random() % 40) % 100), static_cast<int>(random() % 24),
                  static_cast<int>(random() % 60), static_cast<int>(random() % 60));
    g_store.AddResult(name, location, type, size, date, time);
  }
  g_store.m_nFoundCount = static_cast<int64_t>(rows);
}

void PumpUntilDone(const std::atomic<bool>& done) {
  while (!done) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void Clear(const fw::CListView& list) {
  list.Send(WM_SETREDRAW, FALSE);
  list.DeleteAllItems();
  list.Send(WM_SETREDRAW, TRUE);
}

// The old list's floor: every cell copied into a plain list, on its own
// thread, redraw off.
double OwnThreadFill(const fw::CListView& list) {
  const auto start = Clock::now();
  list.Send(WM_SETREDRAW, FALSE);
  char number[24], size[24];
  for (size_t i = 0; i < g_store.GetResultCount(); ++i) {
    const int row = static_cast<int>(i);
    std::snprintf(number, sizeof number, "%d", row + 1);
    std::snprintf(size, sizeof size, "%" PRIu64, g_store.m_arrFoundSizes[i]);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = number;
    item.lParam = row;
    list.Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const char* cells[5] = {g_store.m_arrFoundNames.c_str(i), g_store.m_arrFoundTypes.c_str(i),
                            g_store.m_arrFoundLocations.c_str(i), size,
                            g_store.m_arrFoundDates.c_str(i)};
    for (int column = 1; column <= 5; ++column) {
      LVITEMA cell{};
      cell.iSubItem = column;
      cell.pszText = const_cast<char*>(cells[column - 1]);
      list.Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    }
  }
  list.Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(list.m_hWnd, nullptr, TRUE);
  ::UpdateWindow(list.m_hWnd);
  return Seconds(start);
}

// From the call on a worker to the first rows painted.
double WorkerRefill(CResultsView& view) {
  std::atomic<bool> done{false};
  const auto start = Clock::now();
  std::thread worker([&] {
    view.RefillResults();
    done = true;
  });
  PumpUntilDone(done);
  worker.join();
  ::UpdateWindow(view.m_listResults.m_hWnd);
  return Seconds(start);
}

int CALLBACK ByStoreIndex(LPARAM a, LPARAM b, LPARAM) { return (a > b) - (a < b); }

int CALLBACK ByNameLstrcmpi(LPARAM a, LPARAM b, LPARAM) {
  return ::lstrcmpiA(g_store.m_arrFoundNames.c_str(static_cast<size_t>(a)),
                     g_store.m_arrFoundNames.c_str(static_cast<size_t>(b)));
}

double PlainSort(const fw::CListView& list) {
  list.SortItems(ByStoreIndex, 0);
  const auto start = Clock::now();
  list.SortItems(ByNameLstrcmpi, 0);
  ::UpdateWindow(list.m_hWnd);
  return Seconds(start);
}

// The rows back in store order, as a click on "N" puts them, the selection
// with them (not timed).
void ToStoreOrder(CResultsView& view) {
  g_nLastSortColumn = -1;  // ascending
  view.SortResults(0);
  view.m_listResults.FinishDeferredWork();
  g_nLastSortColumn = -1;
}

// From the click to the first rows painted in their new order.
double HeaderSort(CResultsView& view, int column) {
  ToStoreOrder(view);
  const auto start = Clock::now();
  view.SortResults(column);
  ::UpdateWindow(view.m_listResults.m_hWnd);
  return Seconds(start);
}

bool IsSortedBy(const CResultsView& view, int column) {
  const std::vector<int32_t>& order = view.m_arrRowOrder;
  for (size_t i = 0; i + 1 < order.size(); ++i) {
    if (CompareRows(g_store, order[i], order[i + 1], column, view.m_anSortKind[column]) > 0)
      return false;
  }
  return true;
}

struct Memory {
  double workingSet, peakWorkingSet, privateBytes;
};

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  constexpr double kMB = 1024.0 * 1024.0;
  return {static_cast<double>(counters.WorkingSetSize) / kMB,
          static_cast<double>(counters.PeakWorkingSetSize) / kMB,
          static_cast<double>(counters.PagefileUsage) / kMB};
}

void PrintMemory(const char* what, const Memory& memory) {
  std::printf("memory, %-28s working set %6.1f MB  peak %6.1f MB  private %6.1f MB\n", what,
              memory.workingSet, memory.peakWorkingSet, memory.privateBytes);
}

class CBenchHost : public fw::CWindow {
 public:
  CResultsView* m_pView = nullptr;

 private:
  // The page's binding: the owner-data list asks for the texts it paints and
  // reports its selection's changes.
  LRESULT OnNotify(WPARAM, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!m_pView || header->idFrom != IDC_LIST_RESULTS) return 0;
    if (header->code == LVN_GETDISPINFOA) return m_pView->OnGetDispInfo(header);
    if (header->code == LVN_ITEMCHANGED) return m_pView->OnItemChanged(header);
    if (header->code == LVN_ODSTATECHANGED) return m_pView->OnStateRangeChanged(header);
    return 0;
  }
  static constexpr fw::MessageEntry<CBenchHost> kMessageTable[] = {
      {fw::Message<WM_NOTIFY>, &CBenchHost::OnNotify},
  };
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return Dispatch(kMessageTable, message, wParam, lParam, result);
  }
};

HWND Child(HWND parent, const char* className, DWORD style, int id, RECT rect) {
  return ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = fw::CWindow::WindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "QuilloryListBench";
  ::RegisterClassA(&windowClass);

  CBenchHost host;
  host.Create(0, "QuilloryListBench", "List bench", WS_POPUP | WS_VISIBLE, RECT{0, 0, 800, 600},
              nullptr, 0);
  Child(host.m_hWnd, WC_LISTVIEWA, LVS_REPORT, IDC_LIST_FOLDERS, RECT{10, 10, 400, 80});
  Child(host.m_hWnd, WC_LISTVIEWA, LVS_REPORT | LVS_OWNERDATA, IDC_LIST_RESULTS,
        RECT{10, 90, 790, 560});
  Child(host.m_hWnd, "STATIC", 0, IDC_TOTAL_LABEL, RECT{10, 565, 300, 585});
  Child(host.m_hWnd, "STATIC", 0, IDC_SELECTION_LABEL, RECT{310, 565, 590, 595});
  Child(host.m_hWnd, "BUTTON", 0, IDC_FIND, RECT{420, 10, 500, 30});
  Child(host.m_hWnd, "BUTTON", 0, IDC_DELETE, RECT{600, 565, 700, 590});
  Child(host.m_hWnd, "BUTTON", 0, IDC_EMPTY_LIST, RECT{420, 40, 500, 60});
  CResultsView view(&g_store);
  view.Init(host.m_hWnd);
  host.m_pView = &view;

  PrintMemory("before the rows", ProcessMemory());
  FillStore(rows);
  std::printf("rows %zu\n", rows);
  PrintMemory("the store", ProcessMemory());

  double refill[2];
  for (double& seconds : refill) seconds = WorkerRefill(view);
  std::printf("refill from a worker thread    %.3f s  %.3f s\n", refill[0], refill[1]);
  PrintMemory("owner-data list shown", ProcessMemory());

  struct {
    const char* name;
    int column;
  } sorts[] = {{"Name", 1}, {"Size", 4}, {"Date", 5}};
  // No row, every other row (row by row), every row selected.
  const char* kSelections[] = {"none selected", "half selected", "all selected"};
  for (int selection = 0; selection < 3; ++selection) {
    const fw::CListView& list = view.m_listResults;
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    ToStoreOrder(view);  // every other file of the store
    list.Send(WM_SETREDRAW, FALSE);
    for (size_t row = 0; selection == 1 && row < rows; row += 2)
      list.Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    list.Send(WM_SETREDRAW, TRUE);
    if (selection == 2) {
      const auto selecting = Clock::now();
      view.SelectAllResults();
      std::printf("select all (Ctrl+A)            %.3f s\n", Seconds(selecting));
    }
    const int expected = selection == 0   ? 0
                         : selection == 1 ? static_cast<int>((rows + 1) / 2)
                                          : static_cast<int>(rows);
    for (const auto& sort : sorts) {
      const double header = HeaderSort(view, sort.column);
      const auto start = Clock::now() - std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(header));
      const bool deferred = view.m_listResults.HasDeferredWork();
      view.m_listResults.FinishDeferredWork();
      const double whole = Seconds(start);
      const bool ok = IsSortedBy(view, sort.column) && list.GetSelectedCount() == expected &&
                      view.m_selection.Count() == static_cast<size_t>(expected);
      std::printf("header sort by %-4s, %-13s  %.3f s", sort.name, kSelections[selection], header);
      if (deferred) std::printf(", whole selection %.3f s", whole);
      std::printf("%s\n", ok ? "" : "  WRONG");
    }
  }
  const auto start = Clock::now();
  view.CollectSelectedResults();
  const double collect = Seconds(start);
  std::printf("collect, all %zu selected     %.3f s%s\n", view.m_arrSelectedResults.size(), collect,
              view.m_arrSelectedResults.size() == rows ? "" : "  WRONG COUNT");
  const auto full = Clock::now();
  view.RefillResults();
  ::UpdateWindow(view.m_listResults.m_hWnd);
  std::printf("refill over a full selection   %.3f s\n", Seconds(full));

  // The old list: every cell copied into a plain list of the same size.
  const HWND plainWindow = Child(host.m_hWnd, WC_LISTVIEWA, LVS_REPORT, 0, RECT{10, 90, 790, 560});
  fw::CListView plain(plainWindow);
  for (int column = 0; column < 6; ++column) plain.InsertColumn(column, "c", 100);
  ::ShowWindow(view.m_listResults.m_hWnd, SW_HIDE);
  double fill[2];
  for (double& seconds : fill) {
    Clear(plain);
    seconds = OwnThreadFill(plain);
  }
  std::printf("old fill, own thread, redraw off   %.3f s  %.3f s\n", fill[0], fill[1]);
  std::printf("old sort by Name, lstrcmpiA        %.3f s\n", PlainSort(plain));
  PrintMemory("plain list filled", ProcessMemory());
  return 0;
}
