#include "support/page_host_ui_win.h"

#include <commctrl.h>

#include "framework/window_win.h"

namespace {

constexpr char kHostClass[] = "QuilloryPageHost";

void RegisterHostClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefDlgProcA;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    return ::RegisterClassA(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

PageHost::PageHost(const char* caption, DWORD style, SIZE size) {
  RegisterHostClass();
  m_hWnd = ::CreateWindowExA(0, kHostClass, caption, style, 10, 10, size.cx, size.cy, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
  fw::SetMainWindow(m_hWnd);
}

PageHost::~PageHost() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  fw::SetMainWindow(nullptr);
}
