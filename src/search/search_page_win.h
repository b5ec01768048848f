#pragma once
// The "Delete Files" page: the search conditions, the folders to search, the
// found files and the two actions, "Find" and "Delete". The page runs no
// search itself: it builds the criteria, sets the task and opens the progress
// window, whose start launches the worker.
//
// While a search runs the scan worker walks m_arrFolders without a lock, so
// "Add", "Remove" and "Empty list" stay disabled from "Find" until the
// worker's last refill, and their handlers refuse during a search as well.
// During any task the saved searches, "Skip folders:" and the Recycle Bin's
// box are held the same way: the page keeps saying what the task does.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/controls_win.h"
#include "framework/window_win.h"
#include "framework/worker_host_win.h"
#include "resources/resource.h"
#include "results/progress_window_win.h"
#include "results/results_view_win.h"
#include "search/search_criteria.h"
#include "search/search_file.h"
#include "settings/app_data.h"

// The shell's folder browser: a file-system folder's path, or false when the
// user cancels or picks something that is not one. A folder whose path has no
// exact form in the program's text is refused with a box over `messageOwner`.
bool BrowseForFolder(std::string& path, HWND messageOwner);
extern const char* const kMsgFolderInexpressible;

// The page's value members are the criteria inputs (SearchPageInputs) plus
// the selected texts of the five drop-down lists.
class CWindowWiperEntries : public fw::CBound<CWindowWiperEntries, fw::CDialog>,
                            public SearchPageInputs {
 public:
  explicit CWindowWiperEntries(CAppData* appData = &g_AppData);

  int32_t m_nPageWidth = 530;  // the least room the page needs, in pixels
  int32_t m_nPageHeight = 520;

  std::string m_strDateField;
  std::string m_strDateCondition;
  std::string m_strDateMode;
  std::string m_strSizeCondition;
  std::string m_strSizeUnit;

  SearchCriteria m_criteria;  // what the scan worker reads; only Find writes it
  CAppData* m_pAppData;
  // Both lists, the total label, "Find", "Delete", "Empty list", the sort
  // kinds and m_arrSelectedResults.
  CResultsView m_view;
  CWindowProgressUnDelete m_wndProgress;
  std::vector<int32_t> m_arrSelectedFolders;  // item data of the selected folder rows
  std::string m_strFolderPath;                // the path the folder browser gave last

  // Where "Add" gets its folder; empty means the shell's browser. Tests put
  // their own chooser here.
  std::function<bool(std::string& path)> m_fnChooseFolder;

  fw::CButton m_wndAllFiles;
  fw::CButton m_wndSpecifyType;
  fw::CEdit m_wndTypePattern;
  fw::CComboBox m_wndDateField;
  fw::CComboBox m_wndDateCondition;
  fw::CComboBox m_wndDateMode;
  fw::CComboBox m_wndSizeCondition;
  fw::CComboBox m_wndSizeUnit;
  fw::CDateTimePicker m_wndFromDate;
  fw::CDateTimePicker m_wndToDate;
  fw::CDateTimePicker m_wndFromTime;
  fw::CDateTimePicker m_wndToTime;
  fw::CStatic m_wndDateFromLabel;
  fw::CStatic m_wndDateToLabel;
  fw::CEdit m_wndSizeFrom;
  fw::CEdit m_wndSizeTo;
  fw::CStatic m_wndSizeFromLabel;
  fw::CStatic m_wndSizeToLabel;
  fw::CButton m_wndAdd;
  fw::CButton m_wndRemove;
  fw::CButton m_wndResultsGroup;
  fw::CComboBox m_wndSavedSearches;
  std::vector<std::string> m_arrSavedNames;  // the list's items, whole, in its order
  fw::CButton m_wndSaveSearch;
  fw::CButton m_wndDeleteSearch;
  fw::CEdit m_wndDays;
  fw::CStatic m_wndDaysLabel;
  fw::CEdit m_wndSkipFolders;
  fw::CButton m_wndRecycle;

  // quillory.ini in the program's folder; none without a folder (a page
  // hosted by a test), which then remembers nothing.
  std::unique_ptr<CSearchFile> m_pSearchFile;

  // The window that runs the search and delete workers, for the exit sequence.
  IWorkerHost* GetWorkerHost() { return &m_wndProgress; }

  // At the exit: the last search into quillory.ini, unless the file held one
  // that could not be read whole and no search has been started since.
  void RememberAtExit();
  // The search the page shows, as its controls hold it, and the page set to show one.
  SearchDefinition ReadDefinition();
  void ShowDefinition(const SearchDefinition& search);

  // A saved search asked for by name (the notification of a run by itself,
  // the command line): read, or a Warning that there is none; then shown in
  // the page and its search started, as choosing it and "Find" would.
  bool FindSavedSearch(const std::string& name, SearchDefinition& search);
  void RunSavedSearch(const std::string& name, const SearchDefinition& search);
  bool IsTaskRunning() const;  // a search or a delete asked for or running

  void RefillResults() { m_view.RefillResults(); }
  void RefillFolders() { m_view.RefillFolders(); }
  void UpdateFolderSelection();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& dx) override;

 private:
  void OnFind();
  void OnDelete();
  void OnAddFolder();
  void OnRemoveFolders();
  void OnEmptyFolderList();
  void OnAllFiles();
  void OnSpecifyType();
  void OnDateField();
  void OnDateCondition();
  void OnDateMode();
  void OnSizeCondition();
  void OnSizeUnit();
  LRESULT OnFolderItemChanged(NMHDR* header);
  LRESULT OnHeaderClick(NMHDR* header);
  void OnSize(UINT type, int cx, int cy);
  void OnDefaultKey();

  // The results list's own notifications and the habits of its rows: the
  // keys, the double-click, Enter and the rows' menu.
  LRESULT OnResultGetDispInfo(NMHDR* header);
  LRESULT OnResultFindItem(NMHDR* header);
  LRESULT OnResultItemChanged(NMHDR* header);
  LRESULT OnResultStateRangeChanged(NMHDR* header);
  LRESULT OnResultKeyDown(NMHDR* header);
  LRESULT OnResultDoubleClick(NMHDR* header);
  LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
  void OnEnterKey();
  void OnOpenContainingFolder();
  void OnCopyPath();
  void OnSelectAll();
  // "Save list…" by Ctrl+S or the menu; nothing while a task runs, as the
  // store is the worker's then.
  void OnSaveList();
  // "Delete" by key or menu; nothing while a task runs, like the disabled button.
  void OnDeleteRows();

  void FillDropDownLists();
  // Routine clean-ups: the saved searches' row above the conditions, ages in
  // days, folders to skip, the Recycle Bin.
  void InitRoutineControls();
  void RestoreLastSearch();
  // The day's initial search, as the page starts without quillory.ini.
  SearchDefinition InitialSearch() const;
  // With an age condition the day count stands where the pickers were.
  void ShowDaysOrPickers();
  void FillSavedSearches(const std::vector<std::string>& names, const std::string& chosen);
  // The whole name of the saved search chosen in the list, which may show it
  // cut; null when none is chosen.
  const std::string* ChosenSavedName() const;
  void OnSavedSearchChosen();
  void OnSaveSearch();
  void OnDeleteSearch();
  // The size edits' own reading: text that is no whole number reads as 0,
  // and the edit then shows "0"; a number too long for 64 bits reads as
  // nothing and keeps its text.
  void ExchangeWholeNumber(fw::CDataExchange& dx, int id, std::optional<uint64_t>& value);
  // The days box is read whole: no number there is no number of days.
  void ExchangeDays(fw::CDataExchange& dx);
  // A search walks m_arrFolders: the folder list must not change meanwhile.
  bool IsSearching() const { return m_pAppData->m_nTask == TASK_SEARCH; }
  void HoldFolderButtons();
  void ReleaseFolderButtons();
  void EnableRoutineControls(bool on);
  void Warn(const std::string& text);
  bool Ask(const std::string& text);

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowWiperEntries> kMessageTable[] = {
      {fw::Command(IDC_FIND), &CWindowWiperEntries::OnFind},
      {fw::Command(IDC_DELETE), &CWindowWiperEntries::OnDelete},
      {fw::Command(IDC_ADD), &CWindowWiperEntries::OnAddFolder},
      {fw::Command(IDC_REMOVE), &CWindowWiperEntries::OnRemoveFolders},
      {fw::Command(IDC_EMPTY_LIST), &CWindowWiperEntries::OnEmptyFolderList},
      {fw::Control(IDC_ALL_FILES, BN_CLICKED), &CWindowWiperEntries::OnAllFiles},
      {fw::Control(IDC_SPECIFY_TYPE, BN_CLICKED), &CWindowWiperEntries::OnSpecifyType},
      {fw::Control(IDC_DATE_FIELD, CBN_SELENDOK), &CWindowWiperEntries::OnDateField},
      {fw::Control(IDC_DATE_CONDITION, CBN_SELENDOK), &CWindowWiperEntries::OnDateCondition},
      {fw::Control(IDC_DATE_MODE, CBN_SELENDOK), &CWindowWiperEntries::OnDateMode},
      {fw::Control(IDC_SIZE_CONDITION, CBN_SELENDOK), &CWindowWiperEntries::OnSizeCondition},
      {fw::Control(IDC_SIZE_UNIT, CBN_SELENDOK), &CWindowWiperEntries::OnSizeUnit},
      {fw::Control(IDC_SAVED_SEARCHES, CBN_SELENDOK), &CWindowWiperEntries::OnSavedSearchChosen},
      {fw::Command(IDC_SAVE_SEARCH), &CWindowWiperEntries::OnSaveSearch},
      {fw::Command(IDC_DELETE_SEARCH), &CWindowWiperEntries::OnDeleteSearch},
      {fw::Notify(IDC_LIST_FOLDERS, LVN_ITEMCHANGED), &CWindowWiperEntries::OnFolderItemChanged},
      // Both lists' headers have id 0; the view tells them apart.
      {fw::Notify(0, HDN_ITEMCLICKA), &CWindowWiperEntries::OnHeaderClick},
      {fw::Message<WM_SIZE>, &CWindowWiperEntries::OnSize},
      {fw::Notify(IDC_LIST_RESULTS, LVN_GETDISPINFOA), &CWindowWiperEntries::OnResultGetDispInfo},
      {fw::Notify(IDC_LIST_RESULTS, LVN_ODFINDITEMA), &CWindowWiperEntries::OnResultFindItem},
      {fw::Notify(IDC_LIST_RESULTS, LVN_ODFINDITEMW), &CWindowWiperEntries::OnResultFindItem},
      {fw::Notify(IDC_LIST_RESULTS, LVN_ITEMCHANGED), &CWindowWiperEntries::OnResultItemChanged},
      {fw::Notify(IDC_LIST_RESULTS, LVN_ODSTATECHANGED),
       &CWindowWiperEntries::OnResultStateRangeChanged},
      {fw::Notify(IDC_LIST_RESULTS, LVN_KEYDOWN), &CWindowWiperEntries::OnResultKeyDown},
      {fw::Notify(IDC_LIST_RESULTS, NM_DBLCLK), &CWindowWiperEntries::OnResultDoubleClick},
      {fw::Message<WM_CONTEXTMENU>, &CWindowWiperEntries::OnContextMenu},
      {fw::Command(ID_RESULTS_OPEN_FOLDER), &CWindowWiperEntries::OnOpenContainingFolder},
      {fw::Command(ID_RESULTS_COPY_PATH), &CWindowWiperEntries::OnCopyPath},
      {fw::Command(ID_RESULTS_SELECT_ALL), &CWindowWiperEntries::OnSelectAll},
      {fw::Command(ID_RESULTS_DELETE), &CWindowWiperEntries::OnDeleteRows},
      {fw::Command(ID_RESULTS_SAVE_LIST), &CWindowWiperEntries::OnSaveList},
      // Enter and Esc: the page never closes itself; Enter on the results
      // list opens the row's folder.
      {fw::Command(IDOK), &CWindowWiperEntries::OnEnterKey},
      {fw::Command(IDCANCEL), &CWindowWiperEntries::OnDefaultKey},
  };
};

extern CWindowWiperEntries g_SearchPage;
