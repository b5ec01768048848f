#include "shell/tray_icon_win.h"

#include <cstdio>
#include <cstring>

#include "framework/dpi_win.h"
#include "resources/product.h"
#include "resources/resource.h"
#include "settings/app_data.h"
#include "settings/check_password_win.h"
#include "shell/main_window_win.h"

int TrayIconIdFor(DWORD platformId, DWORD majorVersion, DWORD minorVersion) {
  const bool xpOrLater = majorVersion > 5 || (majorVersion == 5 && minorVersion >= 1);
  return platformId == VER_PLATFORM_WIN32_NT && xpOrLater ? IDI_TRAY : IDI_TRAY_CLASSIC;
}

UINT TrayMenuFlagsFor(DWORD majorVersion) {
  if (majorVersion == 4) return TPM_LEFTBUTTON | TPM_RIGHTALIGN | TPM_BOTTOMALIGN;
  return TPM_LEFTBUTTON | TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_HORNEGANIMATION |
         TPM_VERNEGANIMATION;
}

OSVERSIONINFOEXA ReadSystemVersion() {
  OSVERSIONINFOEXA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
  }
  return version;
}

std::string TrayTipFor(const std::string& title) {
  char tip[128];
  std::snprintf(tip, sizeof tip, "%s \n", title.c_str());
  return tip;
}

UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
  return message;
}

int ShowCommandFor(int storedCommand, bool visible, bool minimised, bool protection) {
  // A hidden or minimised window comes back normal, unless protection asks
  // for the state stored at start-up.
  const int command = (visible && !minimised) || protection ? storedCommand : SW_SHOWNORMAL;
  // The stored state is the one to start in next time: a 0 (started hidden)
  // or a minimised state must not take away a window the user asked to see.
  const bool hides = command == SW_HIDE;
  const bool minimises = command == SW_SHOWMINIMIZED || command == SW_MINIMIZE ||
                         command == SW_SHOWMINNOACTIVE || command == SW_FORCEMINIMIZE;
  if (hides && minimised) return SW_RESTORE;
  if (hides || (minimises && !minimised)) return visible ? SW_SHOW : SW_SHOWNORMAL;
  return command;
}

namespace {

// The record every call fills alike: the version-2 form (488 bytes in a
// 32-bit build), which every system since 2000 takes.
NOTIFYICONDATAA IconRecord(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = owner;
  data.uID = ID_TRAYICON;
  return data;
}

}  // namespace

HICON CWindowMain::ChooseTrayIcon(int dpi) {
  const OSVERSIONINFOEXA version = ReadSystemVersion();
  const int id =
      TrayIconIdFor(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
  // Shared: the system keeps it for the whole run and frees it. The small-icon
  // size of a DPI is one of the system's standard sizes, which sharing allows.
  const int size = fw::SmallIconSize(dpi);
  return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, size, size, LR_SHARED));
}

void CWindowMain::AddTrayIcon() {
  NOTIFYICONDATAA data = IconRecord(m_hWnd);
  data.uFlags = NIF_MESSAGE | NIF_ICON;
  data.uCallbackMessage = WM_TRAYNOTIFY;
  data.hIcon = m_hTrayIcon;
  ::Shell_NotifyIconA(NIM_ADD, &data);

  data.uFlags = NIF_ICON | NIF_TIP;
  const std::string tip = TrayTipFor(g_strTitle);
  std::strncpy(data.szTip, tip.c_str(), sizeof data.szTip - 1);
  ::Shell_NotifyIconA(NIM_MODIFY, &data);
}

void CWindowMain::RemoveTrayIcon() {
  NOTIFYICONDATAA data = IconRecord(m_hWnd);
  ::Shell_NotifyIconA(NIM_DELETE, &data);
}

LRESULT CWindowMain::OnTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
  if (iconId != ID_TRAYICON) return 0;
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      m_pTrayMenu = ::GetSubMenu(m_menuTray.Get(), 0);
      POINT cursor{};
      ::GetCursorPos(&cursor);
      // Without this the menu stays open when the user clicks elsewhere.
      ::SetForegroundWindow(m_hWnd);
      ::TrackPopupMenu(m_pTrayMenu, TrayMenuFlagsFor(ReadSystemVersion().dwMajorVersion), cursor.x,
                       cursor.y, 0, m_hWnd, nullptr);
      // Lets the menu close properly when it was left without a choice.
      Post(WM_NULL);
      break;
    }
    case WM_LBUTTONDBLCLK:
      ::SetForegroundWindow(m_hWnd);
      // A result a run by itself found waits: the double-click takes it.
      if (!m_strWaitingSearch.empty())
        OpenSavedSearch(m_strWaitingSearch);
      else
        ShowMainWindow();
      break;
    case NIN_BALLOONUSERCLICK:
      if (!m_strWaitingSearch.empty()) OpenSavedSearch(m_strWaitingSearch);
      break;
    default: break;
  }
  return 0;
}

void CWindowMain::ShowMainWindow() {
  if (g_AppData.m_bPasswordProtection && !IsVisible()) {
    // The prompt already asking decides; a second one would end at once.
    if (CCheckPassword::BringOpenPromptForward()) return;
    if (CCheckPassword().DoModal() != IDOK) {
      g_AppData.m_nWindowShowCmd = 0;
      return;
    }
    if (g_AppData.m_nWindowShowCmd == 0) g_AppData.m_nWindowShowCmd = SW_SHOWNORMAL;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ::GetWindowPlacement(m_hWnd, &placement);
  Show(ShowCommandFor(g_AppData.m_nWindowShowCmd, IsVisible(),
                      placement.showCmd == SW_SHOWMINIMIZED, g_AppData.m_bPasswordProtection != 0));
  ::SetForegroundWindow(m_hWnd);
}

LRESULT CWindowMain::OnSecondStart(WPARAM, LPARAM) {
  // The second start's show commands: a hidden protected window after the
  // password, a minimised one restored, any other shown normal, which also
  // brings a maximised one back to its normal size.
  if (g_AppData.m_bPasswordProtection && !IsVisible()) {
    if (CCheckPassword::BringOpenPromptForward()) return 0;
    if (CCheckPassword().DoModal() == IDOK) Show(SW_SHOWNORMAL);
  } else {
    Show(::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOWNORMAL);
  }
  // A hidden window in front would take the keyboard from whatever the user
  // goes back to.
  if (IsVisible()) ::SetForegroundWindow(m_hWnd);
  return 0;
}
