#include "results/results_view_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <utility>

#include "dialogs/message_box_win.h"
#include "framework/dpi.h"
#include "framework/dpi_win.h"
#include "framework/handles_win.h"
#include "framework/run_on_thread_win.h"
#include "platform/wide_text_win.h"
#include "resources/resource.h"
#include "results/compare_rows.h"
#include "results/save_list_win.h"

int32_t g_nLastSortColumn = -1;
bool g_bSortAscending = true;

namespace {

struct ColumnSpec {
  const char* header;
  const char* tip;
  int format;
  int width;
};

constexpr ColumnSpec kResultColumns[] = {
    {"N", "Number", LVCFMT_CENTER, 30},     {"Name", "File Name", LVCFMT_LEFT, 130},
    {"Type", "File Type", LVCFMT_LEFT, 45}, {"Location", "File Location", LVCFMT_LEFT, 150},
    {"Size", "File Size", LVCFMT_LEFT, 75}, {"Date", "Date", LVCFMT_LEFT, 150},
};

constexpr ColumnSpec kFolderColumns[] = {
    {"N", "N", LVCFMT_CENTER, 30},
    {"Disk/Folder", "Disk/Folder", LVCFMT_CENTER, 345},
};

// Widths are the design's at 96 DPI. With `fit`, narrowed alike where they
// ask more than the list has beside a vertical scroll bar: the results' ask
// more than the page's least width gives, and the list would show a
// horizontal scroll bar from the start.
template <size_t N>
void SetUpList(CCustomList& list, const ColumnSpec (&columns)[N], bool fit = false) {
  list.InitHeaderToolTips();
  list.SetListStyles();
  const int dpi = fw::DpiOf(list.m_hWnd);
  int widths[N] = {};
  int total = 0;
  for (size_t i = 0; i < N; ++i) total += widths[i] = ScaleForDpi(columns[i].width, dpi);
  const int room = list.GetClientRect().right - fw::SystemMetricForDpi(SM_CXVSCROLL, dpi);
  if (fit && room > 0 && total > room) {
    int left = room;
    for (size_t i = 0; i < N; ++i) {
      widths[i] = i + 1 < N ? widths[i] * room / total : left;
      left -= widths[i];
    }
  }
  for (size_t i = 0; i < N; ++i) {
    const int column = static_cast<int>(i);
    list.InsertColumn(column, columns[i].header, widths[i], columns[i].format);
    list.AddHeaderToolTip(column, columns[i].tip);
  }
}

// The control copies the texts.
void InsertRow(const fw::CListView& list, int row, const char* number) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = const_cast<char*>(number);
  item.lParam = row;
  list.Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void SetCell(const fw::CListView& list, int row, int column, const char* text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<char*>(text);
  list.Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

// Text of the process code page as UTF-16. A byte sequence that is no
// character of the code page fails rather than becoming a look-alike.
bool ToWide(const std::string& text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<size_t>(length));
  return ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), wide.data(), length) == length;
}

void CopyText(const char* text, char* buffer, int capacity) {
  if (!buffer || capacity <= 0) return;
  const size_t length = std::min(std::strlen(text), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

// Holds the clipboard open for one scope.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : m_bOpen(::OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (m_bOpen) ::CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool IsOpen() const { return m_bOpen; }

 private:
  bool m_bOpen;
};

}  // namespace

bool MakeShowInFolderCommand(const std::string& path, ShellCommand& command) {
  std::wstring widePath;
  if (!ToWide(path, widePath)) return false;
  // File names hold no quotes, and within them the comma is no separator.
  command.m_strFile = L"explorer.exe";
  command.m_strParameters = L"/select,\"" + widePath + L"\"";
  return true;
}

// ---- the view

void CResultsView::Init(HWND page) {
  m_listResults.AttachDlgItem(page, IDC_LIST_RESULTS);
  m_listFolders.AttachDlgItem(page, IDC_LIST_FOLDERS);
  m_wndTotal.AttachDlgItem(page, IDC_TOTAL_LABEL);
  m_wndSelection.AttachDlgItem(page, IDC_SELECTION_LABEL);
  m_wndFind.AttachDlgItem(page, IDC_FIND);
  m_wndDelete.AttachDlgItem(page, IDC_DELETE);
  m_wndEmptyList.AttachDlgItem(page, IDC_EMPTY_LIST);

  SetUpList(m_listFolders, kFolderColumns);
  SetUpList(m_listResults, kResultColumns, true);
  for (size_t i = 0; i < m_anSortKind.size(); ++i) m_anSortKind[i] = kResultColumnSortKinds[i];
}

void CResultsView::RefillResults(const std::string& report) {
  // From a worker the refill is one synchronous hand-over: the list reads
  // the store on its own thread only.
  fw::RunOnWindowThread(m_listResults.m_hWnd, [this, &report] {
    FillResults();
    m_strReport = report;
    ShowSelection();
  });
}

void CResultsView::FillResults() {
  m_listResults.CancelDeferredWork();  // the rows are new
  m_pAppData->DropRemovedResults();
  const CAppData& store = *m_pAppData;

  m_wndTotal.SetText("Total number of found files: " + std::to_string(store.m_nFoundCount));
  m_wndTotal.Show(SW_SHOW);

  // A refill undoes any sort and any selection: the rows are new.
  const size_t rows = store.GetResultCount();
  m_arrRowOrder.resize(rows);
  for (size_t i = 0; i < rows; ++i) m_arrRowOrder[i] = static_cast<int32_t>(i);
  m_bQuietSelection = true;
  m_listResults.DeleteAllItems();
  m_listResults.Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows));
  m_bQuietSelection = false;
  m_selection.Reset(rows);
  ::InvalidateRect(m_listResults.m_hWnd, nullptr, TRUE);

  if (store.m_nTask == TASK_NONE && store.m_nRunningTask == TASK_NONE) {
    m_wndFind.Enable(true);
    m_wndDelete.Enable(true);
    if (m_fnOnIdle) m_fnOnIdle();
  }
}

LRESULT CResultsView::OnGetDispInfo(NMHDR* header) {
  auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
  LVITEMA& item = info->item;
  if (!(item.mask & LVIF_TEXT) || item.iItem < 0 ||
      static_cast<size_t>(item.iItem) >= m_arrRowOrder.size())
    return 0;
  const auto row = static_cast<size_t>(m_arrRowOrder[static_cast<size_t>(item.iItem)]);
  const CAppData& store = *m_pAppData;
  if (row >= store.GetResultCount()) return 0;
  char number[24];
  switch (item.iSubItem) {
    case 0:
      std::snprintf(number, sizeof number, "%" PRIu64, static_cast<uint64_t>(row) + 1);
      CopyText(number, item.pszText, item.cchTextMax);
      break;
    case 1: CopyText(store.m_arrFoundNames.c_str(row), item.pszText, item.cchTextMax); break;
    case 2: CopyText(store.m_arrFoundTypes.c_str(row), item.pszText, item.cchTextMax); break;
    case 3: CopyText(store.m_arrFoundLocations.c_str(row), item.pszText, item.cchTextMax); break;
    case 4:
      std::snprintf(number, sizeof number, "%" PRIu64, store.m_arrFoundSizes[row]);
      CopyText(number, item.pszText, item.cchTextMax);
      break;
    case 5: CopyText(store.m_arrFoundDates.c_str(row), item.pszText, item.cchTextMax); break;
    default: break;
  }
  return 0;
}

LRESULT CResultsView::OnFindItem(NMHDR* header) {
  // The two forms differ only in the characters of the text. Wine sends the
  // wide one to every parent, Windows the one the parent asked for.
  const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
  const LVFINDINFOA& info = find->lvfi;
  if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz) return -1;
  std::string text;
  if (header->code == LVN_ODFINDITEMW) {
    // A character the program's text cannot hold begins no name it shows.
    if (!platform::NarrowExact(reinterpret_cast<const wchar_t*>(info.psz), text)) return -1;
  } else {
    text = info.psz;
  }
  return FindRowByName(*m_pAppData, m_arrRowOrder, find->iStart, text,
                       (info.flags & LVFI_PARTIAL) != 0, (info.flags & LVFI_WRAP) != 0);
}

LRESULT CResultsView::OnItemChanged(NMHDR* header) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if (m_bQuietSelection || !(change->uChanged & LVIF_STATE) ||
      !((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
    return 0;
  const bool selected = (change->uNewState & LVIS_SELECTED) != 0;
  if (change->iItem == -1) {
    m_selection.SetAll(selected, Sizes());
  } else if (change->iItem >= 0 && static_cast<size_t>(change->iItem) < m_arrRowOrder.size()) {
    const auto row = static_cast<size_t>(change->iItem);
    m_selection.Set(static_cast<size_t>(m_arrRowOrder[row]), selected, Sizes());
  }
  AfterSelectionChange();
  return 0;
}

LRESULT CResultsView::OnStateRangeChanged(NMHDR* header) {
  const auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(header);
  if (m_bQuietSelection || !((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) return 0;
  const bool selected = (change->uNewState & LVIS_SELECTED) != 0;
  const int from = std::max(change->iFrom, 0);
  const int to = std::min(change->iTo, static_cast<int>(m_arrRowOrder.size()) - 1);
  for (int row = from; row <= to; ++row) {
    m_selection.Set(static_cast<size_t>(m_arrRowOrder[static_cast<size_t>(row)]), selected,
                    Sizes());
  }
  // A Shift range may have dropped every other row without a word first
  // (Wine's list does so): then the range is the whole selection.
  const auto listed = static_cast<size_t>(m_listResults.GetSelectedCount());
  if (selected && to >= from && listed != m_selection.Count() &&
      listed == static_cast<size_t>(to - from + 1)) {
    m_selection.SetAll(false, Sizes());
    for (int row = from; row <= to; ++row) {
      m_selection.Set(static_cast<size_t>(m_arrRowOrder[static_cast<size_t>(row)]), true, Sizes());
    }
  }
  AfterSelectionChange();
  return 0;
}

void CResultsView::AfterSelectionChange() {
  // The list's count is its own sum of its ranges: cheap, and what catches a
  // change it made without reporting it.
  if (static_cast<size_t>(m_listResults.GetSelectedCount()) != m_selection.Count()) {
    ReadSelectionFromList();
  }
  m_strReport.clear();
  ShowSelection();
}

void CResultsView::ReadSelectionFromList() {
  m_selection.SetAll(false, Sizes());
  for (int row = -1; (row = m_listResults.GetNextItem(row, LVNI_SELECTED)) != -1;) {
    if (static_cast<size_t>(row) >= m_arrRowOrder.size()) break;
    m_selection.Set(static_cast<size_t>(m_arrRowOrder[static_cast<size_t>(row)]), true, Sizes());
  }
}

void CResultsView::ShowSelection() {
  const std::string text =
      m_strReport.empty() ? SelectionText(m_selection.Count(), m_selection.Bytes()) : m_strReport;
  // A label set to its own text still repaints: at every click that shows.
  if (m_wndSelection.GetText() != text) m_wndSelection.SetText(text);
}

void CResultsView::RefillFolders() {
  const CAppData& data = *m_pAppData;
  m_listFolders.DeleteAllItems();
  char number[24];
  for (size_t i = 0; i < data.m_arrFolders.size(); ++i) {
    const int row = static_cast<int>(i);
    std::snprintf(number, sizeof number, "%d", row + 1);
    InsertRow(m_listFolders, row, number);
    SetCell(m_listFolders, row, 1, data.m_arrFolders[i].c_str());
  }
  m_wndFind.Enable(data.m_nTask == TASK_NONE);
  m_wndEmptyList.Enable(data.m_nTask != TASK_SEARCH && m_listFolders.GetItemCount() > 0);
}

std::vector<int32_t> CResultsView::GetSelectedStoreRows() const {
  std::vector<int32_t> rows;
  rows.reserve(static_cast<size_t>(m_listResults.GetSelectedCount()));
  for (int row = -1; (row = m_listResults.GetNextItem(row, LVNI_SELECTED)) != -1;) {
    if (static_cast<size_t>(row) >= m_arrRowOrder.size()) break;
    rows.push_back(m_arrRowOrder[static_cast<size_t>(row)]);
  }
  return rows;
}

void CResultsView::CollectSelectedResults() {
  // The "N" texts the selected rows show, as the user saw them.
  std::vector<std::string> numbers;
  for (int32_t row : GetSelectedStoreRows()) numbers.push_back(std::to_string(row + 1));
  ::CollectSelectedResults(numbers, m_arrSelectedResults, m_pAppData->m_arrDeleteMarks);
  if (m_pAppData->m_nTask == TASK_SEARCH) {
    m_wndFind.Enable(false);
    m_wndDelete.Enable(false);
  }
}

LRESULT CResultsView::OnHeaderItemClick(NMHDR* header) {
  if (header->hwndFrom != m_listResults.GetHeader()) return 0;
  if (header->code != HDN_ITEMCLICKA && header->code != HDN_ITEMCLICKW) return 0;
  // The narrow and the wide form differ only in the text pointer of pitem.
  const auto* click = reinterpret_cast<const NMHEADERA*>(header);
  if (click->iButton == 0) SortResults(click->iItem);
  return 0;
}

void CResultsView::SortResults(int column) {
  if (column < 0 || column >= static_cast<int>(m_anSortKind.size())) return;
  g_bSortAscending = column == g_nLastSortColumn ? !g_bSortAscending : true;
  g_nLastSortColumn = column;
  const int32_t kind = m_anSortKind[static_cast<size_t>(column)];

  // The list keeps its selection by position, the sums by store row: the
  // files chosen stay chosen wherever the sort moves them. Rows of the last
  // sort not yet selected again are in the sums already.
  if (m_listResults.HasDeferredWork()) {
    m_listResults.CancelDeferredWork();
  } else if (static_cast<size_t>(m_listResults.GetSelectedCount()) != m_selection.Count()) {
    ReadSelectionFromList();
  }
  const int focusedRow = m_listResults.GetNextItem(-1, LVNI_FOCUSED);
  const int32_t focused = focusedRow >= 0 && static_cast<size_t>(focusedRow) < m_arrRowOrder.size()
                              ? m_arrRowOrder[static_cast<size_t>(focusedRow)]
                              : -1;

  SortRows(*m_pAppData, m_arrRowOrder, column, g_bSortAscending ? kind : -kind);
  // With redraw on, Wine's list invalidates every row it changes one by one:
  // seconds for 100000 selected rows.
  m_listResults.Send(WM_SETREDRAW, FALSE);
  m_bQuietSelection = true;  // the same files stay selected: no sum changes
  SelectStoreRows(focused);
  m_bQuietSelection = false;
  m_listResults.Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(m_listResults.m_hWnd, nullptr, TRUE);
}

void CResultsView::SelectStoreRows(int32_t focused) {
  const size_t rows = m_arrRowOrder.size();
  LVITEMA state{};
  std::vector<std::pair<int, int>> stretches;  // first row, length
  // With no row or every row selected the positions hold the same selection.
  if (m_selection.Count() > 0 && m_selection.Count() < rows) {
    const int top = DropListSelection();

    // The rows in sight at once, the rest when the list is idle (or at its
    // next input): Wine's list takes time that grows with the number of
    // separate stretches it already holds for every row it adds to one, so
    // 50000 scattered rows cost it about a second. Longer stretches first,
    // while it holds few.
    const int shown = static_cast<int>(m_listResults.Send(LVM_GETCOUNTPERPAGE)) + 1;
    state.stateMask = state.state = LVIS_SELECTED;
    for (int row = 0; row < static_cast<int>(rows); ++row) {
      if (!m_selection.IsSelected(static_cast<size_t>(m_arrRowOrder[static_cast<size_t>(row)])))
        continue;
      if (row >= top && row < top + shown) {
        m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(&state));
      } else if (!stretches.empty() && stretches.back().first + stretches.back().second == row) {
        ++stretches.back().second;
      } else {
        stretches.emplace_back(row, 1);
      }
    }
    std::stable_sort(stretches.begin(), stretches.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
  }
  if (focused >= 0) {
    const auto at = std::find(m_arrRowOrder.begin(), m_arrRowOrder.end(), focused);
    const auto row = static_cast<WPARAM>(at - m_arrRowOrder.begin());
    // One row holds the focus: giving it to this row takes it from the other.
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    m_listResults.Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    // Shift+click extends from here, as it did before the sort.
    m_listResults.Send(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
  }
  // Last: setting a row's state finishes deferred work at once.
  DeferSelecting(std::move(stretches));
}

int CResultsView::DropListSelection() {
  // Emptying the list drops its selection in one step; deselecting its rows
  // one by one cost Wine's list an eighth of a second at 50000.
  const int top = static_cast<int>(m_listResults.Send(LVM_GETTOPINDEX));
  m_listResults.DeleteAllItems();
  m_listResults.Send(LVM_SETITEMCOUNT, m_arrRowOrder.size(),
                     LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  ScrollToTop(top);
  return top;
}

void CResultsView::ScrollToTop(int top) {
  const int now = static_cast<int>(m_listResults.Send(LVM_GETTOPINDEX));
  if (now == top || m_arrRowOrder.empty()) return;
  RECT row{};
  row.left = LVIR_BOUNDS;
  if (!m_listResults.Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row))) return;
  m_listResults.Send(LVM_SCROLL, 0, static_cast<LPARAM>((top - now) * (row.bottom - row.top)));
}

void CResultsView::DeferSelecting(std::vector<std::pair<int, int>> stretches) {
  if (stretches.empty()) return;
  m_listResults.DeferWork([this, stretches = std::move(stretches), next = size_t{0},
                           offset = 0](bool all) mutable {
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    const bool quiet = std::exchange(m_bQuietSelection, true);
    // Redraw off, as in the sort: the rows are out of sight, and Wine's
    // list would still invalidate each one (four times the work). A
    // caller that has it off already keeps it so (the style tells).
    const bool redrawing = (::GetWindowLongPtrA(m_listResults.m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (redrawing) m_listResults.Send(WM_SETREDRAW, FALSE);
    for (size_t steps = 1; next < stretches.size(); ++steps) {
      const auto [first, length] = stretches[next];
      m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(first + offset),
                         reinterpret_cast<LPARAM>(&state));
      if (++offset == length) {
        offset = 0;
        ++next;
      }
      if (!all && steps % 64 == 0 && CCustomList::ShouldYield()) break;
    }
    if (redrawing) m_listResults.Send(WM_SETREDRAW, TRUE);
    m_bQuietSelection = quiet;
    return next == stretches.size();
  });
}

// ---- the list habits

void CResultsView::SelectAllResults() {
  m_listResults.CancelDeferredWork();  // every row is to be selected anyway
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  // Row by row, as in a sort: redraw off, one repaint. Wine's list adds
  // each row to its stretches of selected rows, fast only while it holds few:
  // from a scattered selection it first drops all in one step.
  m_listResults.Send(WM_SETREDRAW, FALSE);
  const int focused = m_listResults.GetNextItem(-1, LVNI_FOCUSED);
  const auto mark = static_cast<LPARAM>(m_listResults.Send(LVM_GETSELECTIONMARK));
  m_bQuietSelection = true;
  DropListSelection();
  if (focused >= 0) {
    LVITEMA focus{};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(focused),
                       reinterpret_cast<LPARAM>(&focus));
  }
  m_listResults.Send(LVM_SETSELECTIONMARK, 0, mark);
  m_bQuietSelection = false;
  m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  m_listResults.Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(m_listResults.m_hWnd, nullptr, TRUE);
}

void CResultsView::CopySelectedPaths() {
  const std::vector<int32_t> rows = GetSelectedStoreRows();
  if (rows.empty()) return;
  std::wstring text;
  std::wstring path;
  for (int32_t row : rows) {
    const std::string narrow = m_pAppData->GetResultPath(static_cast<size_t>(row));
    if (!ToWide(narrow, path)) {
      // Bytes no character of the code page: the line still stands for its
      // row, with the system's replacement where the bytes fail.
      const int length = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(),
                                               static_cast<int>(narrow.size()), nullptr, 0);
      path.assign(static_cast<size_t>(std::max(length, 0)), L'\0');
      ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), path.data(),
                            length);
    }
    if (!text.empty()) text += L"\r\n";
    text += path;
  }

  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return;
  if (void* target = ::GlobalLock(memory)) {
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory);
  }
  ClipboardScope clipboard(m_listResults.m_hWnd);
  // The clipboard owns the memory only once it has taken it.
  if (!clipboard.IsOpen() || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory)) {
    ::GlobalFree(memory);
  }
}

void CResultsView::OpenContainingFolder(int row) {
  if (row < 0) {
    row = m_listResults.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (row < 0) row = m_listResults.GetNextItem(-1, LVNI_SELECTED);
  }
  if (row < 0 || static_cast<size_t>(row) >= m_arrRowOrder.size()) return;
  const auto storeRow = static_cast<size_t>(m_arrRowOrder[static_cast<size_t>(row)]);
  ShellCommand command;
  if (!MakeShowInFolderCommand(m_pAppData->GetResultPath(storeRow), command)) return;
  if (m_fnRunShell) {
    m_fnRunShell(command);
    return;
  }
  ::ShellExecuteW(nullptr, L"open", command.m_strFile.c_str(), command.m_strParameters.c_str(),
                  nullptr, SW_SHOWNORMAL);
}

void CResultsView::SaveList(HWND owner, const std::string& dateHeader) {
  std::vector<int32_t> rows = GetSelectedStoreRows();
  if (rows.empty()) rows = m_arrRowOrder;
  if (rows.empty()) return;
  std::wstring path;
  ListFormat format = ListFormat::Csv;
  const bool chosen = m_fnChooseListFile ? m_fnChooseListFile(owner, path, format)
                                         : ChooseListFile(owner, path, format);
  if (!chosen) return;
  const std::string text =
      FormatResultList(*m_pAppData, rows, format, dateHeader, ProgramTextToUtf8);
  if (const DWORD error = WriteFileReplacing(path, text)) {
    ShowMessageBox(owner, "Error", "", SaveListFailedText(path, error), IDI_MESSAGE);
  }
}

void CResultsView::ShowContextMenu(HWND owner, POINT at, bool idle) {
  fw::CMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RESULTSMENU)));
  if (!menu) return;
  HMENU rows = ::GetSubMenu(menu.Get(), 0);
  const bool anySelected = m_listResults.GetSelectedCount() > 0;
  auto enable = [rows](UINT id, bool on) {
    ::EnableMenuItem(rows, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  enable(ID_RESULTS_OPEN_FOLDER, anySelected);
  enable(ID_RESULTS_COPY_PATH, anySelected);
  enable(ID_RESULTS_SELECT_ALL, m_listResults.GetItemCount() > 0);
  enable(ID_RESULTS_SAVE_LIST, m_listResults.GetItemCount() > 0 && idle);
  enable(ID_RESULTS_DELETE, anySelected && idle);

  if (at.x == -1 && at.y == -1) {
    // From the keyboard: under the focused row, or the list's corner.
    RECT item{};
    item.left = LVIR_BOUNDS;
    const int focused = m_listResults.GetNextItem(-1, LVNI_FOCUSED);
    if (focused < 0 || !m_listResults.Send(LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                                           reinterpret_cast<LPARAM>(&item)))
      item = RECT{};
    at = POINT{item.left, item.bottom};
    ::ClientToScreen(m_listResults.m_hWnd, &at);
  }
  ::TrackPopupMenu(rows, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}
