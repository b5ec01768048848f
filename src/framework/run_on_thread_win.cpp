#include "framework/run_on_thread_win.h"

#include "framework/worker_messages.h"

namespace fw {

bool RunOnWindowThread(HWND window, const std::function<void()>& task) {
  if (!window || !::IsWindow(window)) return false;
  if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
    task();
    return true;
  }
  // The task lives on this thread's stack until the answer comes back.
  return ::SendMessageA(window, WM_RUN_TASK, 0, reinterpret_cast<LPARAM>(&task)) != 0;
}

LRESULT RunSentTask(LPARAM lParam) {
  (*reinterpret_cast<const std::function<void()>*>(lParam))();
  return 1;
}

}  // namespace fw
