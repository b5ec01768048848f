#pragma once
// The help page: the program's name and version and two links, to the home
// page and to the on-line help, that open in the user's browser.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/controls_win.h"
#include "framework/data_exchange_win.h"
#include "framework/window_win.h"
#include "resources/resource.h"

class CWindowHelpAbout : public fw::CBound<CWindowHelpAbout, fw::CDialog> {
 public:
  CWindowHelpAbout();

  int32_t m_nPageWidth = 480;  // the least room the page needs, pixels
  int32_t m_nPageHeight = 450;
  std::string m_strTitle;  // "Quillory 1.0"
  std::string m_strVersion;
  fw::CStatic m_wndHomeLink;
  fw::CStatic m_wndHelpLink;
  HCURSOR m_hHandCursor = nullptr;  // the system's; not ours to destroy

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& exchange) override;
  // Hands the address to the shell, which opens the user's browser. Tests
  // take the address instead.
  virtual void OpenWebPage(const std::string& address);

 private:
  void OnHomeLink();
  void OnHelpLink();
  LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  bool IsLink(HWND control) const;

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowHelpAbout> kMessageTable[] = {
      // Exactly the click: a double click would otherwise open the page twice.
      {fw::Control(IDC_HOME_LINK, STN_CLICKED), &CWindowHelpAbout::OnHomeLink},
      {fw::Control(IDC_HELP_LINK, STN_CLICKED), &CWindowHelpAbout::OnHelpLink},
      {fw::Message<WM_CTLCOLORSTATIC>, &CWindowHelpAbout::OnCtlColorStatic},
      {fw::Message<WM_SETCURSOR>, &CWindowHelpAbout::OnSetCursor},
  };
};
