#include <windows.h>
#include <commctrl.h>

#include "dialogs/message_box_win.h"
#include "framework/window_win.h"
#include "resources/resource.h"

namespace {

// Stands in for the main window until the shell has its own.
class CPlainMainWindow : public fw::CWindow {};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  ::InitCommonControlsEx(&controls);
  InstallDialogKit();

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = fw::CWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "Quillory";
  ::RegisterClassA(&windowClass);

  CPlainMainWindow window;
  if (!window.Create(0, "Quillory", "Quillory", WS_OVERLAPPEDWINDOW, RECT{20, 20, 670, 470},
                     nullptr, 0)) {
    return 1;
  }
  fw::SetMainWindow(window.m_hWnd);
  window.Show(showCommand);
  return fw::RunMessageLoop();
}
