#include "search/search_page_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <memory>

#include "dialogs/message_box_win.h"
#include "framework/data_exchange_win.h"
#include "framework/handles_win.h"
#include "platform/wide_text_win.h"
#include "results/del_entries_thread.h"
#include "search/scan_entries_thread.h"
#include "search/search_page_layout.h"
#include "search/search_scheduler_win.h"

CWindowWiperEntries g_SearchPage;

namespace {

constexpr char kAny[] = "any";
constexpr char kIsBetween[] = "is between";
constexpr char kDateAndTime[] = "Date and Time";

// What the time pickers hold: a time of day on the zero date.
constexpr platform::LocalTime kDayStart{1899, 12, 30, 0, 0, 0};
constexpr platform::LocalTime kDayEnd{1899, 12, 30, 23, 59, 59};

constexpr wchar_t kSkipExample[] = L".git; node_modules";

// Without it the folder browser answers "browse for computers" only, and
// greys OK for every folder.
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_EDITBOX;
static_assert(kBrowseFlags == 0x0013);

template <size_t N>
void Fill(const fw::CComboBox& list, const char* const (&items)[N]) {
  list.ResetContent();
  for (const char* item : items) list.AddString(item);
}

SYSTEMTIME ToSystemTime(const platform::LocalTime& time) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(time.year);
  st.wMonth = static_cast<WORD>(time.month);
  st.wDay = static_cast<WORD>(time.day);
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  return st;
}

platform::LocalTime FromSystemTime(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

void ExchangeDateTime(fw::CDataExchange& dx, int id, platform::LocalTime& value) {
  SYSTEMTIME st = ToSystemTime(value);
  dx.DateTime(id, st);
  if (dx.IsSaving()) value = FromSystemTime(st);
}

// The range controls come and go together: shown means usable.
void ShowAndEnable(std::initializer_list<const fw::CWnd*> controls, bool on) {
  for (const fw::CWnd* control : controls) {
    control->Enable(on);
    control->Show(on ? SW_SHOW : SW_HIDE);
  }
}

// The example "Skip folders:" shows while it is empty and has no focus, in
// the grey of text that is not there. Drawn here rather than handed to the
// edit with EM_SETCUEBANNER: Wine 8's edit keeps that text in one heap and
// frees it from another when it is destroyed.
LRESULT CALLBACK DrawSkipExample(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR) {
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) ::InvalidateRect(edit, nullptr, TRUE);
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(edit, DrawSkipExample, id);
  const LRESULT result = ::DefSubclassProc(edit, message, wParam, lParam);
  if ((message == WM_PAINT || message == WM_PRINTCLIENT) && ::GetWindowTextLengthW(edit) == 0 &&
      ::GetFocus() != edit) {
    HDC dc = message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : ::GetDC(edit);
    const HGDIOBJ font =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(edit, WM_GETFONT, 0, 0)));
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    RECT rect{};
    ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    ::DrawTextW(dc, kSkipExample, -1, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, font);
    if (message == WM_PAINT) ::ReleaseDC(edit, dc);
  }
  return result;
}

bool IsGroupBox(HWND control) {
  char className[16] = {};
  ::GetClassNameA(control, className, sizeof className);
  return lstrcmpiA(className, "Button") == 0 &&
         (::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The dialog manager's own conversion: 4 by 8 dialog units are one base unit.
DialogBaseUnits BaseUnitsOf(HWND dialog) {
  RECT units{0, 0, 4, 8};
  ::MapDialogRect(dialog, &units);
  return {static_cast<int>(units.right), static_cast<int>(units.bottom)};
}

}  // namespace

const char* const kMsgFolderInexpressible =
    "The path of this folder contains characters that cannot be represented here, so it "
    "cannot be searched. Please choose another folder.";

bool BrowseForFolder(std::string& path, HWND messageOwner) {
  BROWSEINFOA info{};
  info.hwndOwner = nullptr;
  info.pidlRoot = nullptr;  // the desktop
  info.lpszTitle = "Please, choose the folder...";
  info.ulFlags = kBrowseFlags;
  fw::CKeepFocus keep;
  fw::CItemIdList chosen(::SHBrowseForFolderA(&info));
  if (!chosen) return false;

  // The wide path, converted exactly: the ANSI one may be a look-alike that
  // names another folder.
  wchar_t buffer[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.Get(), buffer)) return false;
  if (!platform::NarrowExact(buffer, path)) {
    ShowMessageBox(messageOwner, "Warning", "", kMsgFolderInexpressible, IDI_MESSAGE);
    return false;
  }
  return true;
}

CWindowWiperEntries::CWindowWiperEntries(CAppData* appData)
    : Bound(IDD_WIPERENTRIES), m_pAppData(appData), m_view(appData), m_wndProgress(appData) {}

// ---- initialisation and data exchange

BOOL CWindowWiperEntries::OnInitDialog() {
  const HWND page = m_hWnd;
  m_wndAllFiles.AttachDlgItem(page, IDC_ALL_FILES);
  m_wndSpecifyType.AttachDlgItem(page, IDC_SPECIFY_TYPE);
  m_wndTypePattern.AttachDlgItem(page, IDC_TYPE_PATTERN);
  m_wndDateField.AttachDlgItem(page, IDC_DATE_FIELD);
  m_wndDateCondition.AttachDlgItem(page, IDC_DATE_CONDITION);
  m_wndDateMode.AttachDlgItem(page, IDC_DATE_MODE);
  m_wndSizeCondition.AttachDlgItem(page, IDC_SIZE_CONDITION);
  m_wndSizeUnit.AttachDlgItem(page, IDC_SIZE_UNIT);
  m_wndFromDate.AttachDlgItem(page, IDC_FROM_DATE);
  m_wndToDate.AttachDlgItem(page, IDC_TO_DATE);
  m_wndFromTime.AttachDlgItem(page, IDC_FROM_TIME);
  m_wndToTime.AttachDlgItem(page, IDC_TO_TIME);
  m_wndDateFromLabel.AttachDlgItem(page, IDC_DATE_FROM_LABEL);
  m_wndDateToLabel.AttachDlgItem(page, IDC_DATE_TO_LABEL);
  m_wndSizeFrom.AttachDlgItem(page, IDC_SIZE_FROM);
  m_wndSizeTo.AttachDlgItem(page, IDC_SIZE_TO);
  m_wndSizeFromLabel.AttachDlgItem(page, IDC_SIZE_FROM_LABEL);
  m_wndSizeToLabel.AttachDlgItem(page, IDC_SIZE_TO_LABEL);
  m_wndAdd.AttachDlgItem(page, IDC_ADD);
  m_wndRemove.AttachDlgItem(page, IDC_REMOVE);
  m_wndResultsGroup.AttachDlgItem(page, IDC_RESULTS_GROUP);
  InitRoutineControls();

  m_wndAdd.Enable(true);
  m_wndRemove.Enable(false);

  // Both lists with their columns and tooltips, and the sort kinds.
  m_view.Init(page);
  m_view.m_wndEmptyList.Enable(false);
  m_view.m_fnOnIdle = [this] { ReleaseFolderButtons(); };
  m_wndProgress.SetResultsView(&m_view);
  m_pAppData->m_arrFolders.clear();
  m_arrSelectedFolders.clear();

  m_nAllFiles = 1;
  m_nSpecifyType = 0;
  m_bDateAndTime = 0;
  m_bDateOnly = 1;
  m_wndTypePattern.Enable(false);
  m_strTypePattern = "*.doc";

  FillDropDownLists();
  m_strDateField = kDateFields[DATE_MODIFIED];
  m_strDateCondition = kDateConditions[DATE_ANY];
  m_strDateMode = kDateModes[0];
  m_strSizeUnit = kSizeUnits[UNIT_MB];
  m_strSizeCondition = kSizeConditions[SIZE_ANY];
  m_nDateFieldSel = DATE_MODIFIED;
  m_nSizeUnit = UNIT_MB;
  m_nDateConditionSel = DATE_ANY;
  m_nSizeConditionSel = SIZE_ANY;

  for (const fw::CDateTimePicker* picker :
       {&m_wndFromDate, &m_wndToDate, &m_wndFromTime, &m_wndToTime}) {
    picker->Show(SW_SHOW);
    picker->Enable(false);
  }
  m_wndDateMode.Enable(false);
  ShowAndEnable({&m_wndDateFromLabel, &m_wndDateToLabel}, false);

  m_nSizeFromValue = 0;
  m_nSizeToValue = 10;
  m_wndSizeFrom.Show(SW_SHOW);
  m_wndSizeFrom.Enable(false);
  m_wndSizeUnit.Enable(false);
  ShowAndEnable({&m_wndSizeTo, &m_wndSizeFromLabel, &m_wndSizeToLabel}, false);

  m_view.m_wndFind.Enable(false);

  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  m_dtFromDate = FromSystemTime(now);
  m_dtToDate = m_dtFromDate;
  m_dtFromTime = kDayStart;
  m_dtToTime = kDayEnd;

  UpdateData(false);
  UpdateData(true);
  RestoreLastSearch();
  return TRUE;
}

void CWindowWiperEntries::FillDropDownLists() {
  Fill(m_wndDateField, kDateFields);
  Fill(m_wndDateCondition, kDateConditions);
  Fill(m_wndDateMode, kDateModes);
  Fill(m_wndSizeCondition, kSizeConditions);
  Fill(m_wndSizeUnit, kSizeUnits);
  m_wndDateField.SetCurSel(DATE_MODIFIED);
  m_wndDateCondition.SetCurSel(DATE_ANY);
  m_wndDateMode.SetCurSel(0);
  m_wndSizeUnit.SetCurSel(UNIT_MB);
  m_wndSizeCondition.SetCurSel(SIZE_ANY);
}

void CWindowWiperEntries::DoDataExchange(fw::CDataExchange& dx) {
  dx.Check(IDC_ALL_FILES, m_nAllFiles);
  dx.Check(IDC_SPECIFY_TYPE, m_nSpecifyType);
  dx.Text(IDC_TYPE_PATTERN, m_strTypePattern);
  ExchangeDateTime(dx, IDC_FROM_DATE, m_dtFromDate);
  ExchangeDateTime(dx, IDC_TO_DATE, m_dtToDate);
  ExchangeDateTime(dx, IDC_FROM_TIME, m_dtFromTime);
  ExchangeDateTime(dx, IDC_TO_TIME, m_dtToTime);
  dx.ListText(IDC_DATE_FIELD, m_strDateField);
  dx.ListText(IDC_DATE_CONDITION, m_strDateCondition);
  dx.ListText(IDC_DATE_MODE, m_strDateMode);
  dx.ListText(IDC_SIZE_UNIT, m_strSizeUnit);
  dx.ListText(IDC_SIZE_CONDITION, m_strSizeCondition);
  ExchangeWholeNumber(dx, IDC_SIZE_FROM, m_nSizeFromValue);
  ExchangeWholeNumber(dx, IDC_SIZE_TO, m_nSizeToValue);
  ExchangeDays(dx);
  dx.Text(IDC_SKIP_FOLDERS, m_strSkipFolders);
}

void CWindowWiperEntries::ExchangeWholeNumber(fw::CDataExchange& dx, int id,
                                              std::optional<uint64_t>& value) {
  const HWND edit = ::GetDlgItem(m_hWnd, id);
  if (!dx.IsSaving()) {
    // A number too long to hold stays as typed, for the user to shorten.
    if (value) ::SetWindowTextA(edit, std::to_string(*value).c_str());
    return;
  }
  char text[64] = {};  // at most 63 characters count
  ::GetWindowTextA(edit, text, sizeof text);
  const char* first = text;
  while (*first == ' ' || *first == '\t') ++first;
  if (*first == '+') ++first;
  const char* last = first + std::char_traits<char>::length(first);
  uint64_t number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error == std::errc::result_out_of_range) {
    value = std::nullopt;
    return;
  }
  if (error != std::errc() || end == first) {
    value = 0;
    ::SetWindowTextA(edit, "0");
    return;
  }
  value = number;
}

void CWindowWiperEntries::ExchangeDays(fw::CDataExchange& dx) {
  if (!dx.IsSaving()) {
    // Text that is no day count stays as typed, for the user to mend.
    if (m_nDays) m_wndDays.SetText(std::to_string(*m_nDays));
    return;
  }
  m_nDays = ReadDayCount(m_wndDays.GetText());
}

// ---- the type and the conditions

void CWindowWiperEntries::OnAllFiles() {
  UpdateData(true);
  m_nSpecifyType = 0;
  m_nAllFiles = 1;
  m_strTypePattern = "*.doc";
  m_wndTypePattern.Enable(false);
  UpdateData(false);
}

void CWindowWiperEntries::OnSpecifyType() {
  UpdateData(true);
  m_nAllFiles = 0;
  m_nSpecifyType = 1;
  m_wndTypePattern.Enable(true);
  UpdateData(false);
}

void CWindowWiperEntries::OnDateField() {
  UpdateData(true);
  m_nDateFieldSel = m_wndDateField.GetCurSel();
  UpdateData(false);
}

void CWindowWiperEntries::OnSizeUnit() {
  UpdateData(true);
  m_nSizeUnit = m_wndSizeUnit.GetCurSel();
  UpdateData(false);
}

void CWindowWiperEntries::OnDateCondition() {
  UpdateData(true);
  m_nDateConditionSel = m_wndDateCondition.GetCurSel();

  ShowAndEnable({&m_wndDateFromLabel, &m_wndDateToLabel}, false);
  const bool withTime = m_bDateAndTime == 1;
  if (m_strDateCondition == kIsBetween) {
    m_wndFromDate.Enable(true);
    m_wndToDate.Enable(true);
    m_wndDateMode.Enable(true);
    m_wndFromTime.Enable(withTime);
    m_wndToTime.Enable(withTime);
    ShowAndEnable({&m_wndDateFromLabel, &m_wndDateToLabel}, true);
  } else if (m_strDateCondition == kAny) {
    for (const fw::CDateTimePicker* picker :
         {&m_wndFromDate, &m_wndToDate, &m_wndFromTime, &m_wndToTime}) {
      picker->Enable(false);
    }
    m_wndDateMode.Enable(false);
  } else {
    m_wndFromDate.Enable(true);
    m_wndDateMode.Enable(true);
    m_wndToDate.Enable(false);
    m_wndToTime.Enable(false);
    m_wndFromTime.Enable(withTime);
  }
  ShowDaysOrPickers();
  UpdateData(false);
}

void CWindowWiperEntries::OnDateMode() {
  UpdateData(true);
  m_dtFromTime = kDayStart;
  m_dtToTime = kDayEnd;
  if (m_strDateMode == kDateAndTime) {
    m_bDateOnly = 0;
    m_bDateAndTime = 1;
    const bool between = m_strDateCondition == kIsBetween;
    const bool any = m_strDateCondition == kAny;
    m_wndFromDate.Enable(!any);
    m_wndFromTime.Enable(!any);
    m_wndToDate.Enable(between);
    m_wndToTime.Enable(between);
  } else {
    m_bDateOnly = 1;
    m_bDateAndTime = 0;
    m_wndFromTime.Enable(false);
    m_wndToTime.Enable(false);
    if (m_strDateCondition == kIsBetween) {
      m_wndFromDate.Enable(true);
      m_wndToDate.Enable(true);
    }
  }
  UpdateData(false);
}

void CWindowWiperEntries::OnSizeCondition() {
  UpdateData(true);
  m_nSizeConditionSel = m_wndSizeCondition.GetCurSel();

  const std::initializer_list<const fw::CWnd*> rangeControls = {&m_wndSizeFromLabel,
                                                                &m_wndSizeToLabel, &m_wndSizeTo};
  ShowAndEnable(rangeControls, false);
  m_wndSizeUnit.Enable(true);

  if (m_strSizeCondition == kIsBetween) {
    m_wndSizeFrom.Enable(true);
    ShowAndEnable(rangeControls, true);
    if (m_nSizeFromValue) m_nSizeToValue = SizeToForBetween(*m_nSizeFromValue);
  } else if (m_strSizeCondition == kAny) {
    m_wndSizeFrom.Enable(false);
    m_wndSizeUnit.Enable(false);
  } else {
    m_wndSizeFrom.Enable(true);
  }
  UpdateData(false);
}

// ---- the folder list

void CWindowWiperEntries::UpdateFolderSelection() {
  m_arrSelectedFolders.clear();
  const CCustomList& list = m_view.m_listFolders;
  for (int row = -1; (row = list.GetNextItem(row, LVNI_SELECTED)) != -1;) {
    m_arrSelectedFolders.push_back(static_cast<int32_t>(list.GetItemData(row)));
  }
  const int32_t task = m_pAppData->m_nTask;
  if (task == 1) {
    m_view.m_wndFind.Enable(false);
    m_wndRemove.Enable(false);
    m_view.m_wndEmptyList.Enable(false);
    return;
  }
  m_view.m_wndFind.Enable(task == 0);
  m_wndRemove.Enable(!m_arrSelectedFolders.empty());
}

void CWindowWiperEntries::OnAddFolder() {
  if (IsSearching()) return;
  UpdateData(true);
  m_strFolderPath.clear();
  const bool chosen = m_fnChooseFolder ? m_fnChooseFolder(m_strFolderPath)
                                       : BrowseForFolder(m_strFolderPath, m_hWnd);
  // The browser has no owner, so the main window stays usable while it is
  // open: a search started meanwhile keeps its folder list.
  if (chosen && !IsSearching()) {
    std::vector<std::string>& folders = m_pAppData->m_arrFolders;
    bool listed = false;
    // Exactly as typed: another letter case is another entry.
    for (const std::string& folder : folders) {
      if (folder == m_strFolderPath) {
        listed = true;
        Warn("This folder is already in list");
      }
    }
    if (!listed) {
      folders.push_back(m_strFolderPath);
      RefillFolders();
      UpdateFolderSelection();
    }
  }
  UpdateData(false);
}

void CWindowWiperEntries::OnRemoveFolders() {
  if (IsSearching()) return;
  const size_t count = m_arrSelectedFolders.size();
  if (count == 0) return;
  char question[96];
  std::snprintf(question, sizeof question, "Do you want to remove %d item(s) from list?",
                static_cast<int>(count));
  if (!Ask(question)) return;

  CCustomList& list = m_view.m_listFolders;
  std::vector<std::string>& folders = m_pAppData->m_arrFolders;
  list.Send(WM_SETREDRAW, FALSE);
  int removed = 0;
  for (int row = -1; (row = list.GetNextItem(row, LVNI_SELECTED)) != -1; ++removed) {
    const int index = row - removed;
    if (index >= 0 && static_cast<size_t>(index) < folders.size()) {
      folders.erase(folders.begin() + index);
    }
  }
  list.Send(WM_SETREDRAW, TRUE);
  RefillFolders();
  UpdateFolderSelection();
}

void CWindowWiperEntries::OnEmptyFolderList() {
  if (IsSearching()) return;
  if (!Ask("Do you want to empty list?")) return;
  m_view.m_listFolders.DeleteAllItems();
  m_pAppData->m_arrFolders.clear();
  RefillFolders();
  UpdateFolderSelection();
}

void CWindowWiperEntries::HoldFolderButtons() {
  if (IsSearching()) {
    m_wndAdd.Enable(false);
    m_wndRemove.Enable(false);
    m_view.m_wndEmptyList.Enable(false);
  }
  // Whatever the task: what would change the page under it, or make it say
  // another than the one that runs (a saved search unticks the bin's box).
  EnableRoutineControls(false);
}

void CWindowWiperEntries::EnableRoutineControls(bool on) {
  for (const fw::CWnd* control : std::initializer_list<const fw::CWnd*>{
           &m_wndSavedSearches, &m_wndSaveSearch, &m_wndSkipFolders, &m_wndRecycle})
    control->Enable(on);
  m_wndDeleteSearch.Enable(on && m_wndSavedSearches.GetCurSel() >= 0);
}

void CWindowWiperEntries::ReleaseFolderButtons() {
  if (m_pAppData->m_nTask != TASK_NONE) return;
  m_wndAdd.Enable(true);
  EnableRoutineControls(true);
  m_view.m_wndEmptyList.Enable(m_view.m_listFolders.GetItemCount() > 0);
  UpdateFolderSelection();
}

// ---- the two actions

bool CWindowWiperEntries::IsTaskRunning() const {
  return m_pAppData->m_nTask != TASK_NONE || m_pAppData->m_nRunningTask != TASK_NONE;
}

void CWindowWiperEntries::OnFind() {
  // A command can arrive while a worker runs (posted, or by a key the
  // disabled button would not take): the store is the worker's until its
  // final refill.
  if (IsTaskRunning()) return;
  UpdateData(true);
  m_pAppData->m_nFoundCount = 0;
  m_pAppData->ClearResults();
  RefillResults();

  const auto check = BuildSearchCriteria(*this, m_pAppData->m_arrFolders.size(), m_criteria,
                                         [this](const std::string& text) { Warn(text); });
  if (check != CriteriaCheck::Ok) return;
  g_SearchScheduler.YieldToUser();
  // The search the user starts is the one to find again at the next start.
  if (m_pSearchFile) m_pSearchFile->SaveLast(ReadDefinition());

  m_pAppData->m_nTask = TASK_SEARCH;
  HoldFolderButtons();
  if (!m_wndProgress.Open("Files Searching",
                          std::make_unique<CScanEntriesThread>(&m_criteria, m_pAppData))) {
    // No window, no worker: nothing will end the task but this.
    m_pAppData->m_nTask = TASK_NONE;
    ReleaseFolderButtons();
    UpdateData(false);
    return;
  }
  m_view.m_wndFind.Enable(false);
  m_view.m_wndDelete.Enable(false);
  UpdateData(false);
}

void CWindowWiperEntries::OnDelete() {
  if (IsTaskRunning()) return;
  m_view.CollectSelectedResults();
  if (m_view.m_arrSelectedResults.empty()) {
    Warn("Please select any file.");
    return;
  }
  const bool recycle = m_wndRecycle.GetCheck() == BST_CHECKED;
  if (!Ask(recycle ? "Do you really want to move selected file(s) to the Recycle Bin?"
                   : "Do you really want to delete selected file(s)?"))
    return;

  g_SearchScheduler.YieldToUser();
  CCustomList& list = m_view.m_listResults;
  list.Send(WM_SETREDRAW, FALSE);
  m_pAppData->m_nTask = TASK_DELETE;
  HoldFolderButtons();
  auto worker = std::make_unique<CDelEntriesThread>(&m_view.m_arrSelectedResults, m_pAppData);
  worker->m_bRecycle = recycle;
  const char* caption = worker->GetCaption();
  if (m_wndProgress.Open(caption, std::move(worker))) {
    m_view.m_wndFind.Enable(false);
    m_view.m_wndDelete.Enable(false);
  } else {
    m_pAppData->m_nTask = TASK_NONE;
    ReleaseFolderButtons();
  }
  list.Send(WM_SETREDRAW, TRUE);
  // The worker waits for this thread before it touches the store: the
  // refill still shows every row, in store order.
  RefillResults();
}

// ---- notifications, layout, keys

LRESULT CWindowWiperEntries::OnFolderItemChanged(NMHDR*) {
  UpdateFolderSelection();
  return 0;
}

LRESULT CWindowWiperEntries::OnHeaderClick(NMHDR* header) {
  return m_view.OnHeaderItemClick(header);
}

void CWindowWiperEntries::OnSize(UINT, int cx, int cy) {
  auto place = [](const fw::CWnd& control, const LayoutRect& rect) {
    if (control.m_hWnd && ::IsWindow(control.m_hWnd)) {
      control.Move(rect.left, rect.top, rect.Width(), rect.Height(), true);
    }
  };
  const SearchPagePlaces places = LayOutSearchPage(cx, cy, BaseUnitsOf(m_hWnd));
  place(m_wndResultsGroup, places.resultsGroup);
  place(m_view.m_listResults, places.resultsList);
  place(m_view.m_wndDelete, places.deleteButton);
  place(m_view.m_wndTotal, places.totalLabel);
  place(m_view.m_wndSelection, places.selectionLabel);
  place(m_wndRecycle, places.recycleBox);
  // The frames above end where the results' frame ends: the page is wider
  // than the frames its template draws, and the results' frame follows it.
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == m_wndResultsGroup.m_hWnd || !IsGroupBox(child)) continue;
    RECT frame{};
    ::GetWindowRect(child, &frame);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    ::SetWindowPos(child, nullptr, 0, 0, places.resultsGroup.right - frame.left,
                   frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CWindowWiperEntries::OnDefaultKey() {}

// ---- the results list's habits

LRESULT CWindowWiperEntries::OnResultGetDispInfo(NMHDR* header) {
  return m_view.OnGetDispInfo(header);
}

LRESULT CWindowWiperEntries::OnResultFindItem(NMHDR* header) { return m_view.OnFindItem(header); }

LRESULT CWindowWiperEntries::OnResultItemChanged(NMHDR* header) {
  return m_view.OnItemChanged(header);
}

LRESULT CWindowWiperEntries::OnResultStateRangeChanged(NMHDR* header) {
  return m_view.OnStateRangeChanged(header);
}

LRESULT CWindowWiperEntries::OnResultKeyDown(NMHDR* header) {
  const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (control && key == 'A') m_view.SelectAllResults();
  if (control && key == 'C') m_view.CopySelectedPaths();
  if (control && key == 'S') OnSaveList();
  if (!control && key == VK_DELETE) OnDeleteRows();
  return 0;
}

LRESULT CWindowWiperEntries::OnResultDoubleClick(NMHDR* header) {
  const int row = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem;
  if (row >= 0) m_view.OpenContainingFolder(row);
  return 0;
}

LRESULT CWindowWiperEntries::OnContextMenu(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != m_view.m_listResults.m_hWnd) return 0;
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  m_view.ShowContextMenu(m_hWnd, at, !IsTaskRunning());
  return 0;
}

void CWindowWiperEntries::OnEnterKey() {
  // The dialog manager turns Enter into the default command whatever has
  // the focus; only on the results list does it mean something.
  if (::GetFocus() == m_view.m_listResults.m_hWnd) m_view.OpenContainingFolder();
}

void CWindowWiperEntries::OnOpenContainingFolder() { m_view.OpenContainingFolder(); }
void CWindowWiperEntries::OnCopyPath() { m_view.CopySelectedPaths(); }
void CWindowWiperEntries::OnSelectAll() { m_view.SelectAllResults(); }

void CWindowWiperEntries::OnSaveList() {
  if (IsTaskRunning()) return;
  // The date the rows' search tested: the criteria keep it until the next Find.
  const int32_t field = m_criteria.m_nDateField;
  const bool known = field >= 0 && field < static_cast<int32_t>(std::size(kDateFields));
  m_view.SaveList(m_hWnd, known ? kDateFields[field] : "Date");
}

void CWindowWiperEntries::OnDeleteRows() {
  if (IsTaskRunning()) return;
  OnDelete();
}

void CWindowWiperEntries::Warn(const std::string& text) {
  ShowMessageBox(m_hWnd, "Warning", "", text, IDI_MESSAGE);
}

bool CWindowWiperEntries::Ask(const std::string& text) {
  return AskYesNo(m_hWnd, "Warning", "", text, IDI_QUESTION);
}

// ---- routine clean-ups

void CWindowWiperEntries::InitRoutineControls() {
  const HWND page = m_hWnd;
  // The template draws the saved searches' row above its own top: every
  // control moves down by the row, the conditions keeping their places
  // relative to one another; the layout then places the results part.
  const int shift = LayOutSearchPage(0, 0, BaseUnitsOf(page)).templateShift;
  for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    ::SetWindowPos(child, nullptr, rect.left, rect.top + shift, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const RECT client = GetClientRect();
  OnSize(SIZE_RESTORED, client.right, client.bottom);

  m_wndSavedSearches.AttachDlgItem(page, IDC_SAVED_SEARCHES);
  m_wndSaveSearch.AttachDlgItem(page, IDC_SAVE_SEARCH);
  m_wndDeleteSearch.AttachDlgItem(page, IDC_DELETE_SEARCH);
  m_wndDays.AttachDlgItem(page, IDC_DAYS);
  m_wndDaysLabel.AttachDlgItem(page, IDC_DAYS_LABEL);
  m_wndSkipFolders.AttachDlgItem(page, IDC_SKIP_FOLDERS);
  m_wndRecycle.AttachDlgItem(page, IDC_RECYCLE);
  m_wndDays.SetLimitText(5);  // 36500 at most
  ::SetWindowSubclass(m_wndSkipFolders.m_hWnd, DrawSkipExample, 0, 0);
  m_wndDeleteSearch.Enable(false);
  ShowAndEnable({&m_wndDays, &m_wndDaysLabel}, false);
  m_nDays = 30;
  m_strSkipFolders.clear();
  m_wndRecycle.SetCheck(BST_UNCHECKED);  // the design's delete for good stays the default
}

SearchDefinition CWindowWiperEntries::InitialSearch() const {
  SearchDefinition search;
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  search.m_inputs.m_dtFromDate = search.m_inputs.m_dtToDate = FromSystemTime(now);
  return search;
}

void CWindowWiperEntries::ShowDaysOrPickers() {
  const bool age = IsAgeCondition(m_nDateConditionSel);
  for (const fw::CDateTimePicker* picker :
       {&m_wndFromDate, &m_wndToDate, &m_wndFromTime, &m_wndToTime}) {
    picker->Show(age ? SW_HIDE : SW_SHOW);
    if (age) picker->Enable(false);
  }
  ShowAndEnable({&m_wndDays, &m_wndDaysLabel}, age);
  // An age is whole days: a time of day means nothing to it.
  if (age) m_wndDateMode.Enable(false);
}
