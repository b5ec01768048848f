#pragma once
// "Enter password": stands between the user and the hidden main window while
// protection is on. It only checks what is typed against the stored hash.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/window_win.h"
#include "resources/resource.h"
#include "settings/app_data.h"

class CCheckPassword : public fw::CBound<CCheckPassword, fw::CDialog> {
 public:
  explicit CCheckPassword(HWND owner = nullptr) : Bound(IDD_CHECKPASSWORD), m_hOwner(owner) {}

  // IDOK only when the right password was typed; IDCANCEL for Esc, the close
  // box, or when another prompt of this process is already open.
  INT_PTR DoModal() { return CDialog::DoModal(m_hOwner); }

  // Makes the prompt that is open the foreground window, so that a request
  // to show the protected window lands where the password goes; false when
  // none is open.
  static bool BringOpenPromptForward();

  CAppData* m_pAppData = nullptr;
  std::string m_strPassword;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& dx) override;

 private:
  void OnOkClicked();
  void OnOK();
  void OnCancel();

  // Two prompts at once would let the second be answered while the first
  // still guards the window; the UI thread is the only one that opens them.
  static inline int32_t s_bPromptOpen = 0;
  static inline HWND s_hOpenPrompt = nullptr;

  HWND m_hOwner;

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CCheckPassword> kMessageTable[] = {
      {fw::Command(IDOK), &CCheckPassword::OnOkClicked},
      {fw::Command(IDCANCEL), &CCheckPassword::OnCancel},
  };
};
