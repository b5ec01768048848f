#include "support/box_answerer_ui_win.h"

#include <vector>

#include "support/typing_ui_win.h"

namespace {

using Clock = std::chrono::steady_clock;

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM lParam) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  char className[32] = {};
  ::GetClassNameA(hwnd, className, sizeof(className));
  if (process == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) &&
      std::string(className) == "#32770") {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  }
  return TRUE;
}

// A sent message that cannot hang the helper when the box's thread is stuck.
void SendBounded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
}

}  // namespace

void DrainMessages(DialogKeys keys) {
  MSG msg;
  // Bounded: a window that posts to itself as it handles a message would
  // otherwise keep this loop for ever.
  for (int i = 0; i < 10000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    HWND dialog = nullptr;
    if (keys.kind == DialogKeys::kOne) dialog = keys.dialog;
    if (keys.kind == DialogKeys::kTopLevel && msg.hwnd) dialog = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (dialog && ::IsDialogMessageA(dialog, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               DialogKeys keys) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    DrainMessages(keys);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

HWND FindOwnWindow(const std::string& caption) {
  return FindProcessWindow(::GetCurrentProcessId(), caption);
}

BoxAnswerer::BoxAnswerer(std::string caption, Action action, std::chrono::milliseconds timeout)
    : m_thread([this, caption = std::move(caption), action = std::move(action), timeout] {
        HWND box = nullptr;
        if (WaitUntil([&] { return (box = FindOwnWindow(caption)) != nullptr; }, timeout)) {
          m_bFound = true;
          action(box);
          return;
        }
        std::vector<HWND> open;
        ::EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&open));
        for (HWND dialog : open) ::PostMessageA(dialog, WM_CLOSE, 0, 0);
      }) {}

HWND FindOpenMenu() {
  HWND menu = nullptr;
  while ((menu = ::FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(menu, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

MenuAnswerer::MenuAnswerer(BoxAnswerer::Action action, std::chrono::milliseconds timeout)
    : m_thread([this, action = std::move(action), timeout] {
        HWND menu = nullptr;
        if (WaitUntil([&] { return (menu = FindOpenMenu()) != nullptr; }, timeout)) {
          m_bFound = true;
          action(menu);
        }
      }) {}

MenuAnswerer::~MenuAnswerer() { Answered(); }

bool MenuAnswerer::Answered() {
  if (m_thread.joinable()) m_thread.join();
  return m_bFound;
}

BoxAnswerer::~BoxAnswerer() {
  if (m_thread.joinable()) m_thread.join();
}

bool BoxAnswerer::Answered() {
  if (m_thread.joinable()) m_thread.join();
  return m_bFound;
}

void ClickButton(HWND box, int id) { SendBounded(::GetDlgItem(box, id), BM_CLICK, 0, 0); }

void PressEscape(HWND box) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &info);
  HWND target = info.hwndFocus ? info.hwndFocus : box;
  // Posted like typed keys: the box's dialog loop must see them in its queue.
  ::PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageA(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
}

void PressCloseBox(HWND box) { SendBounded(box, WM_SYSCOMMAND, SC_CLOSE, 0); }

void MouseClick(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  MouseClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void MouseClickAt(POINT point) {
  // Each button event carries the point itself. Under a Wine virtual desktop
  // a pointer move comes back as X events to the desktop's thread and to the
  // thread of the window under the pointer, which report it as a move of their
  // own when they next read them, maybe after a later move: a click at the
  // cursor's current place could land where the previous click was.
  const LONGLONG width = ::GetSystemMetrics(SM_CXSCREEN);
  const LONGLONG height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    // In 65536ths of the primary monitor, rounded up so that they come back
    // as this very pixel.
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65536 + height - 1) / height);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

bool WaitUntilClosed(HWND window, std::chrono::milliseconds timeout) {
  return WaitUntil([window] { return !::IsWindow(window); }, timeout);
}
