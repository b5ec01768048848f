#pragma once
// The search page's two lists and what they switch: the results list with
// its total label, the folder list, and the "Find", "Delete" and "Empty list"
// buttons. The page owns one CResultsView, calls Init once when its window
// exists, and forwards the results list's notifications to it:
//
//   m_view.Init(m_hWnd);                                    // in OnInitDialog
//   {fw::Notify(0, HDN_ITEMCLICKA), &Page::OnHeaderClick}   // -> OnHeaderItemClick
//   {fw::Notify(IDC_LIST_RESULTS, LVN_GETDISPINFOA), ...}   // -> OnGetDispInfo
//   {fw::Notify(IDC_LIST_RESULTS, LVN_ODFINDITEMA), ...}    // and ...W -> OnFindItem
//
// The results list is an owner-data list: it keeps no copy of the rows, only
// their count and selection, and asks for the texts of the rows it paints.
// They come straight from the result store through m_arrRowOrder, the view's
// own order of the store's rows, which a header click sorts. The store is
// read on the user-interface thread only.
//
// RefillResults may be called from a worker's thread: the whole refill then
// runs on the user-interface thread in one sent message.
//
// Beside the total, a second label shows "Selected: K files, S" while rows
// are selected, or what the last delete run did. Its sums follow the list's
// own reports of changes (OnItemChanged, OnStateRangeChanged) by store row,
// so a sort moves no total and a click costs one row's work.

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
#include "results/list_export.h"
#include "results/selection_totals.h"
#include "settings/app_data.h"

// The results list's sort state, one for the whole run of the program: the
// column sorted last (-1: none yet) and whether that sort was ascending.
extern int32_t g_nLastSortColumn;
extern bool g_bSortAscending;

// The file manager's command that opens a file's folder with the file
// selected, as the shell is handed it: a program and its arguments.
struct ShellCommand {
  std::wstring m_strFile;
  std::wstring m_strParameters;
};
// False when the path is no text of the process code page.
bool MakeShowInFolderCommand(const std::string& path, ShellCommand& command);

class CResultsView {
 public:
  explicit CResultsView(CAppData* appData = &g_AppData) : m_pAppData(appData) {}

  // Binds the controls of `page` by their ids (both lists, the total and the
  // selection label, "Find", "Delete", "Empty list"), and gives both lists their styles,
  // columns and header tooltips. The results list must have been created
  // owner-data (LVS_OWNERDATA): the style cannot be added later.
  void Init(HWND page);

  // Rebuilds the results list and the total label from the result store, in
  // store order, with no row selected; enables "Find" and "Delete" when no
  // task is requested or running. `report`, what a finished run did, shows
  // beside the total until the selection changes. Any thread.
  void RefillResults(const std::string& report = {});
  // Rebuilds the folder list from m_arrFolders and sets "Find" and "Empty
  // list" by the task. User-interface thread.
  void RefillFolders();
  // Turns the selected result rows into delete marks, by their "N" numbers.
  void CollectSelectedResults();

  // The header-item-click notification, narrow or wide, of either list's
  // header (the page's table cannot tell the two headers apart by id). Sorts
  // the results list on a left click on one of its headers; always 0.
  LRESULT OnHeaderItemClick(NMHDR* header);
  // The sort of a left click on the results column `column`. The selected
  // rows stay selected wherever the sort moves them.
  void SortResults(int column);

  // The results list asks for the texts of the rows it shows.
  LRESULT OnGetDispInfo(NMHDR* header);
  // The results list asks which row typed text leads to (LVN_ODFINDITEM, in
  // the narrow or the wide form, whatever the page asked for): the next row
  // whose Name begins with it, or -1, which leaves the selection alone.
  LRESULT OnFindItem(NMHDR* header);
  // The results list reports a selection change of one row or of every row
  // (LVN_ITEMCHANGED, iItem -1), or of a range of rows (LVN_ODSTATECHANGED).
  LRESULT OnItemChanged(NMHDR* header);
  LRESULT OnStateRangeChanged(NMHDR* header);

  // The store rows of the selected list rows, top to bottom.
  std::vector<int32_t> GetSelectedStoreRows() const;
  void SelectAllResults();
  // The full paths of the selected rows, one a line, as Unicode text.
  void CopySelectedPaths();
  // Opens the folder of the list row `row` in the file manager with its file
  // selected; -1 takes the focused row if it is selected, else the first
  // selected one.
  void OpenContainingFolder(int row = -1);
  // "Save list…": the selected rows, or every row when none is selected, in
  // the list's order, to a file the user chooses. `dateHeader` names the
  // date the search tested. A failure says why in an "Error" box over `owner`.
  void SaveList(HWND owner, const std::string& dateHeader);
  // The rows' menu at a screen point (-1, -1: under the focused row, as the
  // keyboard asks); its choices come to `owner` as commands. Without `idle`
  // (a task runs) "Delete" and "Save list…" are greyed.
  void ShowContextMenu(HWND owner, POINT at, bool idle);

  CCustomList m_listResults;
  CCustomList m_listFolders;
  fw::CStatic m_wndTotal;
  fw::CStatic m_wndSelection;
  fw::CButton m_wndFind;
  fw::CButton m_wndDelete;
  fw::CButton m_wndEmptyList;

  // Run on the user-interface thread at the end of a refill that finds no
  // task requested or running: the page gives back the folder buttons it
  // held while a search walked the folder list.
  std::function<void()> m_fnOnIdle;
  // What hands a command to the shell; empty means ShellExecuteW. Tests put
  // their own recorder here.
  std::function<void(const ShellCommand&)> m_fnRunShell;
  // Where "Save list…" gets its file and type; empty means the system's Save
  // As box. Tests put their own chooser here.
  std::function<bool(HWND owner, std::wstring& path, ListFormat& format)> m_fnChooseListFile;

  std::array<int32_t, 6> m_anSortKind{};
  std::vector<int32_t> m_arrSelectedResults;  // store indices of the rows chosen for deletion
  // List row r shows store row m_arrRowOrder[r]; its "N" reads that plus 1.
  std::vector<int32_t> m_arrRowOrder;
  CAppData* m_pAppData;
  // The selected rows' count and size, by store row.
  CSelectionTotals m_selection;
  std::string m_strReport;  // what the last delete did, until the selection changes

 private:
  void FillResults();
  // Puts the sums' selection back on the list's rows after a sort, and the
  // focus on the row of store row `focused` (-1: none).
  void SelectStoreRows(int32_t focused);
  // Drops the list's whole selection, its focus and its mark, keeping its
  // rows and its scroll position; returns the first row in sight.
  int DropListSelection();
  // Scrolls the list so that row `top` is its first row in sight again.
  void ScrollToTop(int top);
  // Selects the stretches of rows (first row, length) as deferred work.
  void DeferSelecting(std::vector<std::pair<int, int>> stretches);
  // After the list reported a change: the sums checked against the list's own
  // count (a range change may come after a deselection the list reported to
  // nobody), the report dropped, the label shown.
  void AfterSelectionChange();
  // The sums from the list's selection itself, row by row.
  void ReadSelectionFromList();
  void ShowSelection();
  std::span<const uint64_t> Sizes() const { return m_pAppData->m_arrFoundSizes; }
  // While the view itself changes the list's rows or their states, the list's
  // reports of it are no news.
  bool m_bQuietSelection = false;
};
