#include "dialogs/help_about_win.h"

#include <shellapi.h>

#include <cstdio>

#include "resources/product.h"

CWindowHelpAbout::CWindowHelpAbout() : Bound(IDD_HELPABOUT) {
  char version[32];
  std::snprintf(version, sizeof version, "%d.%d", kVersionMajor, kVersionMinor);
  m_strVersion = version;
  m_strTitle = std::string(kProductName) + " " + m_strVersion;
  m_hHandCursor = ::LoadCursor(nullptr, IDC_HAND);
}

BOOL CWindowHelpAbout::OnInitDialog() {
  m_wndHomeLink.AttachDlgItem(m_hWnd, IDC_HOME_LINK);
  m_wndHelpLink.AttachDlgItem(m_hWnd, IDC_HELP_LINK);
  m_wndHomeLink.SetText(std::string("Home: ") + kHomePageAddress);
  m_wndHelpLink.SetText("On-Line Help: " + HelpPageAddress());
  UpdateData(false);
  return TRUE;
}

void CWindowHelpAbout::DoDataExchange(fw::CDataExchange& exchange) {
  exchange.Text(IDC_HELP_TITLE, m_strTitle);
}

void CWindowHelpAbout::OpenWebPage(const std::string& address) {
  ::ShellExecuteA(m_hWnd, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CWindowHelpAbout::OnHomeLink() { OpenWebPage(kHomePageAddress); }

void CWindowHelpAbout::OnHelpLink() { OpenWebPage(HelpPageAddress()); }

bool CWindowHelpAbout::IsLink(HWND control) const {
  return control && (control == m_wndHomeLink.m_hWnd || control == m_wndHelpLink.m_hWnd);
}

LRESULT CWindowHelpAbout::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
  if (!IsLink(reinterpret_cast<HWND>(lParam))) {
    SetMsgHandled(false);
    return 0;
  }
  // The default colours and brush first, then only the text turns blue.
  LRESULT brush = ::DefWindowProcA(m_hWnd, WM_CTLCOLORSTATIC, wParam, lParam);
  ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
  return brush;
}

LRESULT CWindowHelpAbout::OnSetCursor(WPARAM wParam, LPARAM) {
  if (!IsLink(reinterpret_cast<HWND>(wParam))) {
    SetMsgHandled(false);
    return FALSE;
  }
  ::SetCursor(m_hHandCursor);
  return TRUE;
}
