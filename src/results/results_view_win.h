#pragma once
// The search page's two lists and what they switch: the results list with
// its total label, the folder list, and the "Find", "Delete" and "Empty list"
// buttons. The page owns one CResultsView, calls Init once when its window
// exists, and forwards its header-click notification to OnHeaderItemClick.
//
//   m_view.Init(m_hWnd);                       // in OnInitDialog
//   {fw::Notify(0, HDN_ITEMCLICKA), &Page::OnHeaderClick}  // -> m_view.OnHeaderItemClick(h)
//
// RefillResults may be called from a worker's thread: the whole refill then
// runs on the user-interface thread in one sent message.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls_win.h"
#include "results/custom_list_win.h"
#include "settings/app_data.h"

// One row during one sort: what the row carried before, and its text in the
// sort column.
struct SortItem {
  LPARAM m_lPrevData;
  std::string m_strText;
};

// Makes a SortItem for every row of a list and sets it as the row's item data;
// its end puts every row's own data back, in the rows' new order.
class CListSortContext {
 public:
  CListSortContext(const fw::CListView& list, int column);
  virtual ~CListSortContext();
  CListSortContext(const CListSortContext&) = delete;
  CListSortContext& operator=(const CListSortContext&) = delete;

 private:
  const fw::CListView& m_list;
  std::vector<SortItem> m_items;  // never grows after the constructor: rows point into it
};

// The results list's sort state, one for the whole run of the program: the
// column sorted last (-1: none yet) and whether that sort was ascending.
extern int32_t g_nLastSortColumn;
extern bool g_bSortAscending;

class CResultsView {
 public:
  explicit CResultsView(CAppData* appData = &g_AppData) : m_pAppData(appData) {}

  // Binds the controls of `page` by their ids (both lists, the total label,
  // "Find", "Delete", "Empty list"), and gives both lists their styles,
  // columns and header tooltips.
  void Init(HWND page);

  // Rebuilds the results list and the total label from the result store, in
  // store order; enables "Find" and "Delete" when no task is requested or
  // running. Any thread.
  void RefillResults();
  // Rebuilds the folder list from m_arrFolders and sets "Find" and "Empty
  // list" by the task. User-interface thread.
  void RefillFolders();
  // Turns the selected result rows into delete marks, by their "N" texts.
  void CollectSelectedResults();

  // The header-item-click notification, narrow or wide, of either list's
  // header (the page's table cannot tell the two headers apart by id). Sorts
  // the results list on a left click on one of its headers; always 0.
  LRESULT OnHeaderItemClick(NMHDR* header);
  // The sort of a left click on the results column `column`.
  void SortResults(int column);

  // The comparison the list control's sort calls: two rows' SortItems and
  // the column's sort kind, negated for a descending sort.
  static int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

  CCustomList m_listResults;
  CCustomList m_listFolders;
  fw::CStatic m_wndTotal;
  fw::CButton m_wndFind;
  fw::CButton m_wndDelete;
  fw::CButton m_wndEmptyList;

  // Run on the user-interface thread at the end of a refill that finds no
  // task requested or running: the page gives back the folder buttons it
  // held while a search walked the folder list.
  std::function<void()> m_fnOnIdle;

  std::array<int32_t, 6> m_anSortKind{};
  std::vector<int32_t> m_arrSelectedResults;  // store indices of the rows chosen for deletion
  CAppData* m_pAppData;

 private:
  void FillResults();
};
