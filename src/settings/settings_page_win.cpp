#include "settings/settings_page_win.h"

#include <algorithm>

#include "dialogs/message_box_win.h"
#include "framework/data_exchange_win.h"
#include "framework/handles_win.h"
#include "platform/wide_text_win.h"
#include "resources/product.h"

CWindowSettings g_SettingsPage;

namespace {

// The placeholder the edits show for a stored password, which is never known.
std::string Placeholder(const std::string& hash) { return hash.substr(0, 8); }

}  // namespace

std::string RunValueName() { return WithoutBlanks(g_strTitle); }

std::string RunValueData() {
  // The start routine refuses a folder it cannot name exactly, so this holds.
  std::string path;
  platform::GetModulePath(path);
  return '"' + path + '"';
}

std::string RunValueError(bool writing, const std::string& name, long error) {
  return std::string("Could not ") + (writing ? "write" : "delete") + " registry value \"" +
         kRunKeyPath + "\\" + name + "\", registry error " + std::to_string(error);
}

BOOL CWindowSettings::OnInitDialog() {
  m_pAppData = &g_AppData;
  m_wndApply.AttachDlgItem(m_hWnd, IDC_APPLY);
  m_wndReset.AttachDlgItem(m_hWnd, IDC_RESET);
  m_wndPassword.AttachDlgItem(m_hWnd, IDC_PASSWORD);
  m_wndConfirm.AttachDlgItem(m_hWnd, IDC_CONFIRM_PASSWORD);
  LoadFromSettings();
  return TRUE;
}

void CWindowSettings::DoDataExchange(fw::CDataExchange& dx) {
  dx.Check(IDC_START_WITH_WINDOWS, m_bStartWithWindows);
  dx.Check(IDC_PROTECT_WITH_PASSWORD, m_bProtect);
  dx.Text(IDC_PASSWORD, m_strPassword);
  dx.Text(IDC_CONFIRM_PASSWORD, m_strConfirm);
}

void CWindowSettings::FillControls() {
  m_bFilling = true;
  UpdateData(false);
  m_bFilling = false;
}

void CWindowSettings::EnableApplyAndReset(bool enable) {
  m_wndApply.Enable(enable);
  m_wndReset.Enable(enable);
}

void CWindowSettings::LoadFromSettings() {
  m_bPasswordEdited = 0;
  m_bStartWithWindows = m_pAppData->m_bStartWithWindows;
  m_bStartWithWindowsLoaded = m_pAppData->m_bStartWithWindows;
  m_bProtect = m_pAppData->m_bPasswordProtection;
  m_strPassword = Placeholder(m_pAppData->m_strPasswordHash);
  m_strConfirm = m_strPassword;
  FillControls();
  UpdatePasswordControls();
}

void CWindowSettings::Reset() {
  // The main window may ask before the page has its window.
  if (!m_hWnd) {
    m_bChanged = 0;
    return;
  }
  LoadFromSettings();
  EnableApplyAndReset(false);
  m_bChanged = 0;
}

void CWindowSettings::MarkChanged() {
  m_bChanged = 1;
  EnableApplyAndReset(true);
}

void CWindowSettings::UpdatePasswordControls() {
  UpdateData(true);
  m_wndPassword.Enable(m_bProtect != 0);
  m_wndConfirm.Enable(m_bProtect != 0);
  FillControls();
}

void CWindowSettings::OnStartWithWindowsClicked() { MarkChanged(); }

void CWindowSettings::OnProtectClicked() {
  UpdatePasswordControls();
  MarkChanged();
}

void CWindowSettings::OnPasswordEdited() {
  if (m_bFilling) return;
  m_bPasswordEdited = 1;
  MarkChanged();
}

void CWindowSettings::OnDefaultKey() {}

bool CWindowSettings::WriteRunValue() {
  const std::string name = RunValueName();
  HKEY opened = nullptr;
  // A fresh account may have no Run key yet.
  LSTATUS status = ::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0,
                                     KEY_READ | KEY_WRITE, nullptr, &opened, nullptr);
  if (status == ERROR_SUCCESS) {
    fw::CRegKey key(opened);
    if (m_bStartWithWindows) {
      const std::string data = RunValueData();
      // A string value's size counts its terminating zero.
      status = ::RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>(data.size() + 1));
    } else {
      status = ::RegDeleteValueA(key.Get(), name.c_str());
      if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;  // gone is what we want
    }
  }
  if (status != ERROR_SUCCESS) {
    ShowMessageBox(m_hWnd, "Error", "", RunValueError(m_bStartWithWindows != 0, name, status),
                   IDI_MESSAGE);
    return false;
  }
  m_bStartWithWindowsLoaded = m_bStartWithWindows;
  return true;
}

void CWindowSettings::Apply() {
  UpdateData(true);
  // Boxes that hold the placeholder again, however they came to, hold no
  // password: hashing the placeholder would lock the user out.
  const std::string placeholder = Placeholder(m_pAppData->m_strPasswordHash);
  const bool keepsPassword = m_pAppData->m_bPasswordProtection && !placeholder.empty() &&
                             m_strPassword == placeholder && m_strConfirm == placeholder;
  if (m_bProtect) {
    if (m_strPassword.empty()) {
      ShowMessageBox(m_hWnd, "Warning", "", "Protected password is empty. Please try again.",
                     IDI_MESSAGE);
      return;
    }
    if (m_strPassword != m_strConfirm) {
      ShowMessageBox(m_hWnd, "Warning", "",
                     "The confirmation protected password is wrong. Please try again.",
                     IDI_MESSAGE);
      return;
    }
  }
  if (m_bStartWithWindows != m_bStartWithWindowsLoaded && !WriteRunValue()) {
    // The box and the stored flag keep saying what the registry holds.
    m_bStartWithWindows = m_bStartWithWindowsLoaded;
  }
  m_pAppData->m_bStartWithWindows = static_cast<uint8_t>(m_bStartWithWindows ? 1 : 0);

  // A new hash when protection goes on or the user typed a password.
  if (((m_bProtect && !m_pAppData->m_bPasswordProtection) || m_bPasswordEdited) && !keepsPassword) {
    m_pAppData->SetPassword(m_strPassword);
  }
  m_bPasswordEdited = 0;
  m_pAppData->m_bPasswordProtection = static_cast<uint8_t>(m_bProtect ? 1 : 0);
  if (m_bProtect) {
    m_strPassword = Placeholder(m_pAppData->m_strPasswordHash);
    m_strConfirm = m_strPassword;
  } else {
    m_pAppData->m_strPasswordHash.clear();
    m_strPassword.clear();
    m_strConfirm.clear();
  }
  m_pAppData->SaveSettings();

  FillControls();
  m_bChanged = 0;
  EnableApplyAndReset(false);
}
