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

std::vector<int> TabOrder(HWND page) {
  std::vector<HWND> forward;
  HWND first = ::GetNextDlgTabItem(page, nullptr, FALSE);
  for (HWND item = first; item && forward.size() < 100;) {
    forward.push_back(item);
    item = ::GetNextDlgTabItem(page, item, FALSE);
    if (item == first) break;
  }
  std::vector<int> ids;
  for (size_t i = 0; i < forward.size(); ++i) {
    const HWND previous = ::GetNextDlgTabItem(page, forward[(i + 1) % forward.size()], TRUE);
    if (previous != forward[i]) return {};
    ids.push_back(::GetDlgCtrlID(forward[i]));
  }
  return ids;
}

std::string LabelBefore(HWND control) {
  HWND label = ::GetWindow(control, GW_HWNDPREV);
  char className[16] = {};
  if (!label || !::GetClassNameA(label, className, sizeof className) ||
      lstrcmpiA(className, "Static") != 0) {
    return {};
  }
  char text[128] = {};
  ::GetWindowTextA(label, text, sizeof text);
  return text;
}
