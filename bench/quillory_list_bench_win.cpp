// The results list at its largest, side by side with the floors it stands on:
//
//   fill      the list filled from its own thread with redraw off (the floor)
//   refill    RefillResults called on a worker thread (one hand-over)
//   sort      the header sort by Name, Size and Date, each beside a plain
//             LVM_SORTITEMS by name with lstrcmpiA on the same list
//   collect   CollectSelectedResults with every row selected
//
//   quillory-list-bench [rows]     (100000 by default)
//
// Each sort starts from store order. Prints one line per figure and the
// ratios the targets name.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

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
    // Sizes up to 8 GiB, dates over 1995..2034.
    const uint64_t size = random() % (8ULL << 30);
    std::snprintf(date, sizeof date, "%02d/%02d/%02d %02d:%02d:%02d",
                  static_cast<int>(random() % 12 + 1), static_cast<int>(random() % 28 + 1),
                  static_cast<int>((95 + random() % 40) % 100), static_cast<int>(random() % 24),
                  static_cast<int>(random() % 60), static_cast<int>(random() % 60));
    g_store.AddResult(name, location, type, size, date);
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

// The floor: the plain fill, on the list's own thread, redraw off.
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

double WorkerRefill(CResultsView& view) {
  std::atomic<bool> done{false};
  double seconds = 0;
  std::thread worker([&] {
    const auto start = Clock::now();
    view.RefillResults();
    seconds = Seconds(start);
    done = true;
  });
  PumpUntilDone(done);
  worker.join();
  ::UpdateWindow(view.m_listResults.m_hWnd);
  return seconds;
}

int CALLBACK ByStoreIndex(LPARAM a, LPARAM b, LPARAM) { return (a > b) - (a < b); }

int CALLBACK ByNameLstrcmpi(LPARAM a, LPARAM b, LPARAM) {
  return ::lstrcmpiA(g_store.m_arrFoundNames.c_str(static_cast<size_t>(a)),
                     g_store.m_arrFoundNames.c_str(static_cast<size_t>(b)));
}

void BackToStoreOrder(const fw::CListView& list) { list.SortItems(ByStoreIndex, 0); }

double PlainSort(const fw::CListView& list) {
  BackToStoreOrder(list);
  const auto start = Clock::now();
  list.SortItems(ByNameLstrcmpi, 0);
  return Seconds(start);
}

double HeaderSort(CResultsView& view, int column) {
  BackToStoreOrder(view.m_listResults);
  g_nLastSortColumn = -1;  // ascending
  const auto start = Clock::now();
  view.SortResults(column);
  return Seconds(start);
}

// No row is smaller than the one above it. (Equal dates compare +1 either
// way round, so the test asks the comparison about the lower row first.)
bool IsSortedBy(const fw::CListView& list, int column, int32_t kind) {
  std::string previous = list.GetItemText(0, column);
  for (int row = 1; row < list.GetItemCount(); ++row) {
    std::string text = list.GetItemText(row, column);
    if (CompareRows(text.c_str(), previous.c_str(), kind) < 0) return false;
    previous = std::move(text);
  }
  return true;
}

class CBenchHost : public fw::CWindow {};

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
  Child(host.m_hWnd, WC_LISTVIEWA, LVS_REPORT, IDC_LIST_RESULTS, RECT{10, 90, 790, 560});
  Child(host.m_hWnd, "STATIC", 0, IDC_TOTAL_LABEL, RECT{10, 565, 300, 585});
  Child(host.m_hWnd, "BUTTON", 0, IDC_FIND, RECT{420, 10, 500, 30});
  Child(host.m_hWnd, "BUTTON", 0, IDC_DELETE, RECT{600, 565, 700, 590});
  Child(host.m_hWnd, "BUTTON", 0, IDC_EMPTY_LIST, RECT{420, 40, 500, 60});
  CResultsView view(&g_store);
  view.Init(host.m_hWnd);
  const fw::CListView& list = view.m_listResults;

  FillStore(rows);
  std::printf("rows %zu\n", rows);

  // The list's first fill grows its heap; it is timed by neither side.
  OwnThreadFill(list);
  Clear(list);

  double fill[2], refill[2];
  for (int round = 0; round < 2; ++round) {
    fill[round] = OwnThreadFill(list);
    Clear(list);
    refill[round] = WorkerRefill(view);
    if (round == 0) Clear(list);
  }
  const double bestFill = std::min(fill[0], fill[1]);
  const double bestRefill = std::min(refill[0], refill[1]);
  std::printf("fill, own thread, redraw off   %.3f s  %.3f s\n", fill[0], fill[1]);
  std::printf("refill from a worker thread    %.3f s  %.3f s  ratio %.2f (target <= 1.5)\n",
              refill[0], refill[1], bestRefill / bestFill);

  struct {
    const char* name;
    int column;
  } sorts[] = {{"Name", 1}, {"Size", 4}, {"Date", 5}};
  for (const auto& sort : sorts) {
    const double plain = PlainSort(list);
    const double header = HeaderSort(view, sort.column);
    const bool sorted = IsSortedBy(list, sort.column, view.m_anSortKind[sort.column]);
    std::printf("sort by %-4s  lstrcmpiA %.3f s  header %.3f s  ratio %.2f (target <= 1.5)%s\n",
                sort.name, plain, header, header / plain, sorted ? "" : "  NOT SORTED");
  }

  LVITEMA all{};
  all.stateMask = all.state = LVIS_SELECTED;
  list.Send(WM_SETREDRAW, FALSE);
  list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
  list.Send(WM_SETREDRAW, TRUE);
  const auto start = Clock::now();
  view.CollectSelectedResults();
  const double collect = Seconds(start);
  std::printf("collect, all %zu selected     %.3f s  (target <= 0.5)%s\n",
              view.m_arrSelectedResults.size(), collect,
              view.m_arrSelectedResults.size() == rows ? "" : "  WRONG COUNT");

  // For the record: a refill over a full list pays for clearing it first.
  const auto full = Clock::now();
  view.RefillResults();
  std::printf("refill over a full list        %.3f s\n", Seconds(full));
  return 0;
}
