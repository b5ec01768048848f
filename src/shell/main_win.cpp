#include <windows.h>
#include <commctrl.h>

#include <string>

#include "dialogs/message_box_win.h"
#include "framework/window_win.h"
#include "settings/app_data.h"
#include "shell/main_window_win.h"

namespace {

// The folder of the executable, ending in a backslash: settings.dat lives there.
std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  ::InitCommonControlsEx(&controls);
  InstallDialogKit();

  CWindowMain window;
  g_AppData.m_strAppFolder = ProgramFolder();
  RegisterMainWindowClass();
  const std::string className = MainWindowClassName();
  if (!window.CreateInDialogClass(0, className.c_str(), g_strTitle.c_str(), WS_OVERLAPPEDWINDOW,
                                  RECT{}, nullptr, 0)) {
    return 1;
  }
  fw::SetMainWindow(window.m_hWnd);
  if (window.InitMainWindow() != CWindowMain::INIT_RUN) return 0;
  return fw::RunMessageLoop();
}
