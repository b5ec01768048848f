#pragma once
// Driving the program's windows from a test: waiting with a bound, finding a
// box by its caption, and answering it from a helper thread the way a user
// would (a button, Esc, the close box).

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

using namespace std::chrono_literals;

// Whose keys (Tab, Enter, Esc) the dialog manager takes while a test pumps:
// nobody's, each message's top-level window's (as the program's own loop
// does), or one dialog's.
struct DialogKeys {
  enum Kind { kNone, kTopLevel, kOne } kind = kNone;
  HWND dialog = nullptr;
};
inline constexpr DialogKeys kPlainKeys{};
inline constexpr DialogKeys kProgramKeys{DialogKeys::kTopLevel};
inline DialogKeys KeysOf(HWND dialog) { return {DialogKeys::kOne, dialog}; }

// Dispatches what is already queued on the calling thread.
void DrainMessages(DialogKeys keys = kPlainKeys);

// Waits for `condition` on the calling thread while dispatching its messages,
// so its own windows keep answering other threads. False on timeout.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s,
               DialogKeys keys = kPlainKeys);

// Waits for `condition` without dispatching (for helper threads).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

// A visible top-level window of this process with exactly this caption.
HWND FindOwnWindow(const std::string& caption);

// Answers the next box with `caption` from a thread of its own: waits for it,
// then runs `action` on it. If no box comes, it closes whatever dialogs of the
// process are open, so the test fails instead of hanging.
class BoxAnswerer {
 public:
  using Action = std::function<void(HWND box)>;
  BoxAnswerer(std::string caption, Action action, std::chrono::milliseconds timeout = 20s);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  // Waits for the helper to finish; true when it found the box.
  bool Answered();

 private:
  std::atomic<bool> m_bFound{false};
  std::thread m_thread;
};

// What a user does to a box. Each returns once the box's thread has taken it.
void ClickButton(HWND box, int id);  // a click on the button (BM_CLICK)
void PressEscape(HWND box);          // the Esc key on the box's focused control
void PressCloseBox(HWND box);        // the caption's close box
// A real left click of the mouse at the centre of a control, through the
// system's input queue: disabled controls do not take it.
void MouseClick(HWND control);
// The same at a point of the screen.
void MouseClickAt(POINT point);

// The open pop-up menu of this process (the system's "#32768" window), or null.
HWND FindOpenMenu();

// Answers the next pop-up menu of this process from a thread of its own, as
// BoxAnswerer does a box; keys posted to the menu window choose in it.
class MenuAnswerer {
 public:
  explicit MenuAnswerer(BoxAnswerer::Action action, std::chrono::milliseconds timeout = 20s);
  ~MenuAnswerer();
  MenuAnswerer(const MenuAnswerer&) = delete;
  MenuAnswerer& operator=(const MenuAnswerer&) = delete;
  bool Answered();

 private:
  std::atomic<bool> m_bFound{false};
  std::thread m_thread;
};

// Waits until the window is gone.
bool WaitUntilClosed(HWND window, std::chrono::milliseconds timeout = 20s);
