#pragma once
// The window a page lives in, as the main window holds its pages: a
// top-level window of the dialog manager's own class, and the program's main
// window while it lives.

#include <windows.h>

#include <string>
#include <vector>

class PageHost {
 public:
  // Hidden unless `style` has WS_VISIBLE: on an X display without a window
  // manager Wine waits for every visible top-level window that goes away.
  explicit PageHost(const char* caption, DWORD style = WS_POPUP, SIZE size = {900, 700});
  ~PageHost();
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;

  HWND Hwnd() const { return m_hWnd; }

 private:
  HWND m_hWnd = nullptr;
};

// The ids of the page's controls in the order Tab visits them, from the
// first; empty when the order Shift+Tab gives back is not its reverse.
std::vector<int> TabOrder(HWND page);
// The text of the label right before a control in the dialog order, which a
// screen reader reads as its name; empty when none stands there.
std::string LabelBefore(HWND control);
