// The main window's side of the searches that run by themselves: their timer
// and the events that move it, the notification that tells what a run
// found, and the saved search opened on the "Delete Files" page, from a click
// on that notification, a double-click on the icon while a result waits, or
// a start with /search, here or in a second start.

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

#include "platform/wide_text_win.h"
#include "results/selection_totals.h"
#include "search/scan_entries_thread.h"
#include "search/search_name_win.h"
#include "search/search_page_win.h"
#include "search/search_scheduler_win.h"
#include "settings/app_data.h"
#include "settings/settings_page_win.h"
#include "shell/main_window_win.h"

namespace {

// What a second start sends with WM_COPYDATA: the name of the saved search to open.
constexpr ULONG_PTR kOpenSearchData = 0x51535243;  // "QSRC"
constexpr DWORD kLongestName = 4096;

}  // namespace

std::wstring FoundNotificationText(const std::string& name, uint32_t files, uint64_t bytes,
                                   bool limitReached) {
  std::string text = "found " + std::to_string(files) + " files (" + SizeText(bytes) + ")";
  if (limitReached) text += " (" + std::to_string(RESULT_LIMIT) + " or more)";
  // The notification holds 255 characters: a long name gives way, cut.
  const size_t room = 255 - 3 - std::min<size_t>(text.size(), 240);
  std::string whole = "\"";
  whole.append(ShownSearchName(name, room)).append("\" ").append(text);
  std::wstring wide;
  platform::WidenExact(whole, wide);
  return wide;
}

void CWindowMain::StartScheduledSearches() {
  g_SearchScheduler.m_fnUserBusy = [] { return g_SearchPage.IsTaskRunning(); };
  g_SearchScheduler.m_fnFound = [this](const std::string& name,
                                       const CScheduledRun::Result& found) {
    m_strWaitingSearch = name;
    ShowFoundNotification(
        FoundNotificationText(name, found.found, found.bytes, found.limitReached));
  };
  g_SearchScheduler.Start(m_hWnd, g_AppData.m_strAppFolder);
}

void CWindowMain::ShowFoundNotification(const std::wstring& text) {
  // Wide: the name may be longer in the program's bytes than the 255 the
  // ANSI record holds.
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = m_hWnd;
  data.uID = ID_TRAYICON;
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_INFO;
  std::wstring title;
  platform::WidenExact(g_strTitle, title);
  std::wcsncpy(data.szInfoTitle, title.c_str(), std::size(data.szInfoTitle) - 1);
  std::wcsncpy(data.szInfo, text.c_str(), std::size(data.szInfo) - 1);
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void CWindowMain::OnTimer(UINT_PTR timerId) {
  if (timerId == CSearchScheduler::kTimerId) g_SearchScheduler.RunDue();
}

LRESULT CWindowMain::OnTimeChange(WPARAM, LPARAM) {
  g_SearchScheduler.RunDue();
  return 0;
}

LRESULT CWindowMain::OnPowerBroadcast(WPARAM event, LPARAM) {
  // The timer slept with the computer: what came due meanwhile runs now.
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) g_SearchScheduler.RunDue();
  return TRUE;
}

LRESULT CWindowMain::OnScheduledRunDone(WPARAM, LPARAM) {
  g_SearchScheduler.OnRunDone();
  return 0;
}

void CWindowMain::RequestSearch(const std::string& name) {
  m_strRequestedSearch = name;
  Post(WM_OPENSEARCH);
}

LRESULT CWindowMain::OnCopyData(WPARAM, LPARAM lParam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || data->dwData != kOpenSearchData || data->cbData > kLongestName) return FALSE;
  // Opened after this message returns: the second start waits for no box.
  RequestSearch(std::string(static_cast<const char*>(data->lpData), data->cbData));
  return TRUE;
}

bool HandSearchToFirstInstance(HWND first, const std::string& name) {
  COPYDATASTRUCT data{kOpenSearchData, static_cast<DWORD>(name.size()),
                      const_cast<char*>(name.data())};
  DWORD_PTR answer = 0;
  return ::SendMessageTimeoutA(first, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 10000, &answer) &&
         answer == TRUE;
}

LRESULT CWindowMain::OnOpenSearch(WPARAM, LPARAM) {
  OpenSavedSearch(std::exchange(m_strRequestedSearch, {}));
  return 0;
}

void CWindowMain::OpenSavedSearch(std::string name) {
  // As the icon's "Open": the password first when the window is hidden and
  // protected; refused, the result waits.
  ShowMainWindow();
  if (!IsVisible()) return;
  // In the middle of the user's work the window only shows: the result
  // waits until the user can take it.
  if (g_SearchPage.IsTaskRunning() || g_SettingsPage.m_bChanged) return;
  SearchDefinition search;
  const bool found = g_SearchPage.FindSavedSearch(name, search);
  if (m_strWaitingSearch == name) m_strWaitingSearch.clear();
  if (!found) return;
  SelectToolbarButton(ID_BUTTON_TOOLS);
  m_wndLeftPanel.SetPageSet(0);
  m_wndLeftPanel.SelectPage(PAGE_DELETE_FILES);
  g_SearchPage.RunSavedSearch(name, search);
}
