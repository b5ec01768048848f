// PLACEHOLDER for the notification icon and its menu, until the real
// implementation replaces this file. Without an icon, ShowMainWindow only
// brings the window back as it was before it was hidden.
#include "shell/main_window_win.h"

HICON CWindowMain::ChooseTrayIcon() { return nullptr; }

void CWindowMain::AddTrayIcon() {}

void CWindowMain::RemoveTrayIcon() {}

LRESULT CWindowMain::OnTrayNotify(WPARAM, LPARAM) { return 0; }

void CWindowMain::ShowMainWindow() {
  Show(SW_SHOWNORMAL);
  ::SetForegroundWindow(m_hWnd);
}
