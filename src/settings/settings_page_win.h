#pragma once
// The "Settings" page: start at log-on and password protection. Changes are
// collected here and take effect only on Apply; Reset throws them away, and
// the main window asks before it leaves the page with changes not applied.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/controls_win.h"
#include "framework/window_win.h"
#include "resources/resource.h"
#include "settings/app_data.h"

class CWindowSettings : public fw::CBound<CWindowSettings, fw::CDialog> {
 public:
  CWindowSettings() : Bound(IDD_SETTINGS) {}

  int32_t m_nPageWidth = 480;  // the least room the page needs, in pixels
  int32_t m_nPageHeight = 350;
  int32_t m_bChanged = 0;  // changes made here and neither applied nor reset
  CAppData* m_pAppData = nullptr;
  fw::CButton m_wndApply;
  fw::CButton m_wndReset;
  int32_t m_bStartWithWindows = 0;
  // Whether the Run value is believed to exist: written or deleted only when
  // Apply sees this differ from the box.
  int32_t m_bStartWithWindowsLoaded = 0;
  int32_t m_bProtect = 0;
  int32_t m_bPasswordEdited = 0;  // the user typed in either password edit
  std::string m_strPassword;
  std::string m_strConfirm;
  fw::CEdit m_wndPassword;
  fw::CEdit m_wndConfirm;

  // Back to the stored settings; the page is clean afterwards.
  void Reset();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& dx) override;

 private:
  void LoadFromSettings();
  void Apply();
  void MarkChanged();
  void UpdatePasswordControls();
  // Writes the members into the controls without taking that for typing.
  void FillControls();
  void EnableApplyAndReset(bool enable);
  // False, after saying so, when the registry refused the change.
  bool WriteRunValue();

  void OnStartWithWindowsClicked();
  void OnProtectClicked();
  void OnPasswordEdited();
  void OnDefaultKey();

  // Set while the page itself writes the edits: their change notices then
  // are not the user's typing.
  bool m_bFilling = false;

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowSettings> kMessageTable[] = {
      {fw::Control(IDC_START_WITH_WINDOWS, BN_CLICKED),
       &CWindowSettings::OnStartWithWindowsClicked},
      {fw::Control(IDC_PROTECT_WITH_PASSWORD, BN_CLICKED), &CWindowSettings::OnProtectClicked},
      {fw::Control(IDC_PASSWORD, EN_CHANGE), &CWindowSettings::OnPasswordEdited},
      {fw::Control(IDC_CONFIRM_PASSWORD, EN_CHANGE), &CWindowSettings::OnPasswordEdited},
      {fw::Command(IDC_APPLY), &CWindowSettings::Apply},
      {fw::Command(IDC_RESET), &CWindowSettings::Reset},
      // Enter and Esc: the page never closes itself.
      {fw::Command(IDOK), &CWindowSettings::OnDefaultKey},
      {fw::Command(IDCANCEL), &CWindowSettings::OnDefaultKey},
  };
};

// The one settings page, given its window by the main window.
extern CWindowSettings g_SettingsPage;

// Where "Start with Windows" keeps the program's value, under the current user.
inline constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The value's name: the title without blanks.
std::string RunValueName();
// What the box says when the Run value could not be written or deleted.
std::string RunValueError(bool writing, const std::string& name, long error);
// The value's data: the running executable's path in double quotes, so that
// a path with blanks cannot be read as another program and its arguments.
std::string RunValueData();
