#include "settings/check_password_win.h"

#include "dialogs/message_box_win.h"
#include "framework/data_exchange_win.h"

BOOL CCheckPassword::OnInitDialog() {
  if (s_bPromptOpen) {
    // The plain end: the flag belongs to the prompt that is already open.
    EndDialog(IDCANCEL);
    return FALSE;
  }
  s_bPromptOpen = 1;
  s_hOpenPrompt = m_hWnd;
  m_pAppData = &g_AppData;
  UpdateData(false);
  return TRUE;  // the focus goes to the first tab stop, the edit
}

void CCheckPassword::DoDataExchange(fw::CDataExchange& dx) {
  dx.Text(IDC_PROMPT_PASSWORD, m_strPassword);
}

void CCheckPassword::OnOkClicked() {
  UpdateData(true);
  if (m_strPassword.empty()) {
    ShowMessageBox(m_hWnd, "Error", "", "Please enter password.", IDI_MESSAGE);
    return;
  }
  if (m_pAppData->IsPasswordCorrect(m_strPassword)) {
    OnOK();
    return;
  }
  ShowMessageBox(m_hWnd, "Error", "", "Wrong password.", IDI_MESSAGE);
  m_strPassword.clear();
  // The box took the focus with it; the dialog hands it on to the edit.
  ::SetFocus(m_hWnd);
  UpdateData(false);
}

bool CCheckPassword::BringOpenPromptForward() {
  if (!s_bPromptOpen || !s_hOpenPrompt || !::IsWindow(s_hOpenPrompt)) return false;
  ::SetForegroundWindow(s_hOpenPrompt);
  return true;
}

void CCheckPassword::OnOK() {
  s_bPromptOpen = 0;
  s_hOpenPrompt = nullptr;
  EndDialog(IDOK);
}

void CCheckPassword::OnCancel() {
  s_bPromptOpen = 0;
  s_hOpenPrompt = nullptr;
  EndDialog(IDCANCEL);
}
