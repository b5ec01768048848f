#include "search/search_name_win.h"

#include "dialogs/message_box_win.h"
#include "framework/data_exchange_win.h"

void CSearchName::DoDataExchange(fw::CDataExchange& dx) { dx.Text(IDC_SEARCH_NAME, m_strName); }

void CSearchName::OnOkClicked() {
  UpdateData(true);
  const size_t first = m_strName.find_first_not_of(" \t");
  if (first == std::string::npos) {
    ShowMessageBox(m_hWnd, "Warning", "", "Please enter a name.", IDI_MESSAGE);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_SEARCH_NAME));
    return;
  }
  m_strName = m_strName.substr(first, m_strName.find_last_not_of(" \t") + 1 - first);
  EndDialog(IDOK);
}
