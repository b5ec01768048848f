#include "results/results_view_win.h"

#include <cinttypes>
#include <cstdio>

#include "resources/resource.h"
#include "results/compare_rows.h"

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

template <size_t N>
void SetUpList(CCustomList& list, const ColumnSpec (&columns)[N]) {
  list.InitHeaderToolTips();
  list.SetListStyles();
  for (size_t i = 0; i < N; ++i) {
    const int column = static_cast<int>(i);
    list.InsertColumn(column, columns[i].header, columns[i].width, columns[i].format);
    list.AddHeaderToolTip(column, columns[i].tip);
  }
}

// The texts go straight from the store's buffers: the control copies them.
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

}  // namespace

// ---- the sort context

CListSortContext::CListSortContext(const fw::CListView& list, int column) : m_list(list) {
  const int rows = list.GetItemCount();
  m_items.reserve(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    m_items.push_back(SortItem{list.GetItemData(row), list.GetItemText(row, column)});
    list.SetItemData(row, reinterpret_cast<LPARAM>(&m_items.back()));
  }
}

CListSortContext::~CListSortContext() {
  const int rows = m_list.GetItemCount();
  for (int row = 0; row < rows; ++row) {
    const auto* item = reinterpret_cast<const SortItem*>(m_list.GetItemData(row));
    m_list.SetItemData(row, item->m_lPrevData);
  }
}

// ---- the view

void CResultsView::Init(HWND page) {
  m_listResults.AttachDlgItem(page, IDC_LIST_RESULTS);
  m_listFolders.AttachDlgItem(page, IDC_LIST_FOLDERS);
  m_wndTotal.AttachDlgItem(page, IDC_TOTAL_LABEL);
  m_wndFind.AttachDlgItem(page, IDC_FIND);
  m_wndDelete.AttachDlgItem(page, IDC_DELETE);
  m_wndEmptyList.AttachDlgItem(page, IDC_EMPTY_LIST);

  SetUpList(m_listFolders, kFolderColumns);
  SetUpList(m_listResults, kResultColumns);
  for (size_t i = 0; i < m_anSortKind.size(); ++i) m_anSortKind[i] = kResultColumnSortKinds[i];
}

void CResultsView::RefillResults() {
  // From a worker the refill is one synchronous hand-over: a message per
  // cell across threads would cost about a hundred times the fill itself.
  m_listResults.RunOnListThread([this] { FillResults(); });
}

void CResultsView::FillResults() {
  m_pAppData->DropRemovedResults();
  const CAppData& store = *m_pAppData;
  // Painting after every row would cost more than the rows themselves: one
  // repaint at the end.
  m_listResults.Send(WM_SETREDRAW, FALSE);
  m_listResults.DeleteAllItems();

  m_wndTotal.SetText("Total number of found files: " + std::to_string(store.m_nFoundCount));
  m_wndTotal.Show(SW_SHOW);

  const size_t rows = store.GetResultCount();
  m_listResults.Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows));
  char number[24];
  char size[24];
  for (size_t i = 0; i < rows; ++i) {
    const int row = static_cast<int>(i);
    std::snprintf(number, sizeof number, "%d", row + 1);
    std::snprintf(size, sizeof size, "%" PRIu64, store.m_arrFoundSizes[i]);
    InsertRow(m_listResults, row, number);
    SetCell(m_listResults, row, 1, store.m_arrFoundNames.c_str(i));
    SetCell(m_listResults, row, 2, store.m_arrFoundTypes.c_str(i));
    SetCell(m_listResults, row, 3, store.m_arrFoundLocations.c_str(i));
    SetCell(m_listResults, row, 4, size);
    SetCell(m_listResults, row, 5, store.m_arrFoundDates.c_str(i));
  }

  m_listResults.Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(m_listResults.m_hWnd, nullptr, TRUE);

  if (store.m_nTask == 0 && store.m_nRunningTask == 0) {
    m_wndFind.Enable(true);
    m_wndDelete.Enable(true);
    if (m_fnOnIdle) m_fnOnIdle();
  }
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
  m_wndFind.Enable(data.m_nTask == 0);
  m_wndEmptyList.Enable(data.m_nTask != 1 && m_listFolders.GetItemCount() > 0);
}

void CResultsView::CollectSelectedResults() {
  std::vector<std::string> numbers;
  numbers.reserve(static_cast<size_t>(m_listResults.GetSelectedCount()));
  for (int row = -1; (row = m_listResults.GetNextItem(row, LVNI_SELECTED)) != -1;) {
    numbers.push_back(m_listResults.GetItemText(row, 0));
  }
  ::CollectSelectedResults(numbers, m_arrSelectedResults, m_pAppData->m_arrDeleteMarks);
  if (m_pAppData->m_nTask == 1) {
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
  // Every row's data changes twice; with redraw on, each change would
  // invalidate its row on its own.
  m_listResults.Send(WM_SETREDRAW, FALSE);
  {
    CListSortContext context(m_listResults, column);
    m_listResults.SortItems(CompareRows, g_bSortAscending ? kind : -kind);
  }
  m_listResults.Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(m_listResults.m_hWnd, nullptr, TRUE);
}

int CALLBACK CResultsView::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
  const auto* a = reinterpret_cast<const SortItem*>(lParam1);
  const auto* b = reinterpret_cast<const SortItem*>(lParam2);
  return ::CompareRows(a->m_strText.c_str(), b->m_strText.c_str(),
                       static_cast<int32_t>(lParamSort));
}
