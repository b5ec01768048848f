#include "search/search_name_win.h"

#include <commctrl.h>

#include <algorithm>

#include "dialogs/message_box_win.h"
#include "framework/data_exchange_win.h"
#include "platform/wide_text_win.h"
#include "search/search_criteria.h"

namespace {

// Characters, as the user counts them: not the bytes of the program's text.
std::wstring Wide(const std::string& text) {
  std::wstring wide;
  platform::WidenExact(text, wide);
  return wide;
}

}  // namespace

std::string ShownSearchName(const std::string& name, size_t longest) {
  std::wstring wide = Wide(name);
  if (wide.size() <= longest) return name;
  wide.resize(longest > 3 ? longest - 3 : 0);
  // Not inside a pair of surrogates.
  if (!wide.empty() && IS_HIGH_SURROGATE(wide.back())) wide.pop_back();
  std::string shown;
  return platform::NarrowExact(wide, shown) ? shown + "..." : std::string("...");
}

BOOL CSearchName::OnInitDialog() {
  const fw::CComboBox kinds(GetDlgItem(IDC_SCHEDULE_KIND));
  for (const char* kind : {"never", "at each start", "every"}) kinds.AddString(kind);
  ::SendDlgItemMessageA(m_hWnd, IDC_SCHEDULE_TIME, DTM_SETFORMATA, 0,
                        reinterpret_cast<LPARAM>("HH':'mm"));
  m_strDays = std::to_string(m_schedule.m_nEveryDays);
  UpdateData(false);
  OnScheduleKind();
  return TRUE;  // the focus to the first tab stop, the edit
}

void CSearchName::DoDataExchange(fw::CDataExchange& dx) {
  dx.Text(IDC_SEARCH_NAME, m_strName);
  const fw::CComboBox kinds(GetDlgItem(IDC_SCHEDULE_KIND));
  if (dx.IsSaving())
    m_schedule.m_nKind = static_cast<ScheduleKind>(std::clamp(kinds.GetCurSel(), 0, 2));
  else
    kinds.SetCurSel(static_cast<int>(m_schedule.m_nKind));
  dx.Text(IDC_SCHEDULE_DAYS, m_strDays);
  SYSTEMTIME time{
      2000, 1, 0, 1, static_cast<WORD>(m_schedule.m_nHour), static_cast<WORD>(m_schedule.m_nMinute),
      0,    0};
  dx.DateTime(IDC_SCHEDULE_TIME, time);
  m_schedule.m_nHour = time.wHour;
  m_schedule.m_nMinute = time.wMinute;
}

void CSearchName::OnScheduleKind() {
  UpdateData(true);
  const bool days = m_schedule.m_nKind == ScheduleKind::kEveryDays;
  for (const int id : {IDC_SCHEDULE_DAYS, IDC_SCHEDULE_TIME}) ::EnableWindow(GetDlgItem(id), days);
}

void CSearchName::OnOkClicked() {
  UpdateData(true);
  const size_t first = m_strName.find_first_not_of(" \t");
  if (first == std::string::npos) {
    ShowMessageBox(m_hWnd, "Warning", "", "Please enter a name.", IDI_MESSAGE);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_SEARCH_NAME));
    return;
  }
  m_strName = m_strName.substr(first, m_strName.find_last_not_of(" \t") + 1 - first);
  if (Wide(m_strName).size() > kMaxSearchNameLength) {
    ShowMessageBox(m_hWnd, "Warning", "",
                   "The name is too long. Please enter a name of at most " +
                       std::to_string(kMaxSearchNameLength) + " characters.",
                   IDI_MESSAGE);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_SEARCH_NAME));
    return;
  }
  if (m_schedule.m_nKind == ScheduleKind::kEveryDays) {
    const std::optional<uint64_t> days = ReadDayCount(m_strDays);
    if (!days || *days < 1 || *days > kMaxEveryDays) {
      ShowMessageBox(m_hWnd, "Warning", "", "Please enter a number of days from 1 to 365.",
                     IDI_MESSAGE);
      ::SetFocus(::GetDlgItem(m_hWnd, IDC_SCHEDULE_DAYS));
      return;
    }
    m_schedule.m_nEveryDays = static_cast<int32_t>(*days);
  }
  EndDialog(IDOK);
}
