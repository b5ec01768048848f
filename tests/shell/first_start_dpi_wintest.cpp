// The first start as a new user meets it, at whatever scale the prefix has:
// the developers' 96 DPI with Tahoma here, and through scripts/wine-dpi (one
// Wine prefix each, see tests/CMakeLists.txt) 96 DPI without Tahoma and 120,
// 144 and 192 DPI on desktops of the sizes usual for them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "framework/dpi_win.h"
#include "shell/main_layout.h"
#include "support/main_window_ui_win.h"

namespace {

// What scripts/wine-dpi made the prefix for; the developers' prefix is 96.
int ExpectedDpi() {
  const char* dpi = std::getenv("QUILLORY_EXPECT_DPI");
  return dpi ? std::atoi(dpi) : kDesignDpi;
}

// The thread's DPI awareness as Windows 10 reports it (2: per monitor), or
// -1 where the system has no such call.
int ThreadDpiAwareness() {
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  FARPROC context = ::GetProcAddress(user32, "GetThreadDpiAwarenessContext");
  FARPROC awareness = ::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext");
  if (!context || !awareness) return -1;
  using ContextFn = HANDLE(WINAPI*)();
  using AwarenessFn = int(WINAPI*)(HANDLE);
  ContextFn getContext = nullptr;
  AwarenessFn getAwareness = nullptr;
  std::memcpy(&getContext, &context, sizeof context);
  std::memcpy(&getAwareness, &awareness, sizeof awareness);
  return getAwareness(getContext());
}

LayoutRect ToLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool IsGroupBox(HWND control) {
  char className[16] = {};
  ::GetClassNameA(control, className, sizeof className);
  return std::string(className) == "Button" &&
         (::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The page's visible controls lie inside the main window's client area, and
// none covers another: the design overlaps only its frames (group boxes) with
// what they hold, which end on one line. The results' columns fit their list.
void ExpectPageFits(MainWindowRun& run, int32_t pageId) {
  SCOPED_TRACE(pageId);
  const HWND page = run.Main().m_mapPages.at(pageId).pWnd->m_hWnd;
  ASSERT_TRUE(::IsWindowVisible(page));
  EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(page, IDC_LIST_RESULTS), GWL_STYLE) & WS_HSCROLL);
  const RECT client = run.Main().GetClientRect();
  std::set<LONG> frameRights;
  std::vector<std::pair<int, RECT>> controls;
  for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    const RECT rect = run.InClient(child);
    const int id = ::GetDlgCtrlID(child);
    EXPECT_TRUE(Inside(rect, client))
        << "control " << id << " at " << rect.left << "," << rect.top << "-" << rect.right << ","
        << rect.bottom << " outside " << client.right << "x" << client.bottom;
    if (IsGroupBox(child)) frameRights.insert(rect.right);
    if (!IsGroupBox(child)) controls.emplace_back(id, rect);
  }
  EXPECT_EQ(frameRights.size(), 1u);
  EXPECT_GE(controls.size(), 5u);
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      RECT common{};
      EXPECT_FALSE(::IntersectRect(&common, &controls[i].second, &controls[j].second))
          << "controls " << controls[i].first << " and " << controls[j].first << " overlap";
    }
  }
}

// On the screen, and a maximise and restore gives back the same rectangle.
void ExpectWindowOnScreenAndRestorable(MainWindowRun& run) {
  const RECT window = run.Main().GetWindowRect();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(run.Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_TRUE(Inside(window, monitor.rcWork))
      << window.left << "," << window.top << "-" << window.right << "," << window.bottom;
  ::ShowWindow(run.Hwnd(), SW_MAXIMIZE);
  EXPECT_TRUE(::IsZoomed(run.Hwnd()));
  ::ShowWindow(run.Hwnd(), SW_RESTORE);
  EXPECT_EQ(ToLayout(run.Main().GetWindowRect()), ToLayout(window));
}

TEST(FirstStartAtThisDpi, TheWindowAndBothPagesFitTheScreen) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  const int dpi = ExpectedDpi();
  // The program's own scaling, never a stretched bitmap: the window and the
  // screen's device context report the prefix's DPI.
  ASSERT_EQ(fw::DpiOf(run.Hwnd()), dpi);
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::GetDeviceCaps(screen, LOGPIXELSX), dpi);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(main.m_nDpi, dpi);
  EXPECT_EQ(ThreadDpiAwareness(), 2);
  if (const char* desktop = std::getenv("QUILLORY_EXPECT_DESKTOP")) {
    EXPECT_EQ(std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "x" +
                  std::to_string(::GetSystemMetrics(SM_CYSCREEN)),
              desktop);
  }

  // The design's 650 by 450 at 20,20, scaled, where that is not below the
  // window's minimum for the settings page.
  MINMAXINFO info{};
  main.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(run.Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ(
      ToLayout(main.GetWindowRect()),
      FirstPlacement({20, 20, 670, 470}, true, dpi, {info.ptMinTrackSize.x, info.ptMinTrackSize.y},
                     ToLayout(monitor.rcWork)));
  EXPECT_EQ(main.m_wndLeftPanel.GetWindowRect().right - main.m_wndLeftPanel.GetWindowRect().left,
            ScaleForDpi(140, dpi));

  ASSERT_EQ(main.m_nCurrentPage, PAGE_SETTINGS);
  ExpectPageFits(run, PAGE_SETTINGS);
  ExpectWindowOnScreenAndRestorable(run);

  // The search page needs more room: the window grows to it, still on the screen.
  ASSERT_TRUE(run.SelectTreeEntry("Delete Files"));
  ASSERT_EQ(main.m_nCurrentPage, PAGE_DELETE_FILES);
  ExpectPageFits(run, PAGE_DELETE_FILES);
  ExpectWindowOnScreenAndRestorable(run);
}

}  // namespace
