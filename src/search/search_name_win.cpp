#include "search/search_name_win.h"

#include "dialogs/message_box_win.h"
#include "framework/data_exchange_win.h"
#include "platform/wide_text_win.h"

namespace {

// Characters, as the user counts them: not the bytes of the program's text.
std::wstring Wide(const std::string& text) {
  std::wstring wide;
  platform::WidenExact(text, wide);
  return wide;
}

}  // namespace

std::string ShownSearchName(const std::string& name) {
  std::wstring wide = Wide(name);
  if (wide.size() <= kMaxSearchNameLength) return name;
  wide.resize(kMaxSearchNameLength);
  // Not inside a pair of surrogates.
  if (IS_HIGH_SURROGATE(wide.back())) wide.pop_back();
  std::string shown;
  return platform::NarrowExact(wide, shown) ? shown + "..." : std::string("...");
}

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
  if (Wide(m_strName).size() > kMaxSearchNameLength) {
    ShowMessageBox(m_hWnd, "Warning", "",
                   "The name is too long. Please enter a name of at most " +
                       std::to_string(kMaxSearchNameLength) + " characters.",
                   IDI_MESSAGE);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_SEARCH_NAME));
    return;
  }
  EndDialog(IDOK);
}
