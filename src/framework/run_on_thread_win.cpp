#include "framework/run_on_thread_win.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "framework/worker_messages.h"

namespace fw {

namespace {

// The tasks handed over and not yet run. Any process may send any window
// WM_RUN_TASK with any number: only a pointer found here is this process's
// own, alive on its sender's stack. Never destroyed, so a worker still
// handing over at exit finds it whole.
struct PendingTasks {
  std::mutex mutex;
  std::vector<const std::function<void()>*> tasks;
};

PendingTasks& Pending() {
  static PendingTasks* pending = new PendingTasks;
  return *pending;
}

// True once for a pending task: the task then runs once, whoever repeats
// the message.
bool TakePending(const std::function<void()>* task) {
  PendingTasks& pending = Pending();
  std::lock_guard<std::mutex> lock(pending.mutex);
  const auto found = std::find(pending.tasks.begin(), pending.tasks.end(), task);
  if (found == pending.tasks.end()) return false;
  pending.tasks.erase(found);
  return true;
}

}  // namespace

bool RunOnWindowThread(HWND window, const std::function<void()>& task) {
  if (!window || !::IsWindow(window)) return false;
  if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
    task();
    return true;
  }
  {
    PendingTasks& pending = Pending();
    std::lock_guard<std::mutex> lock(pending.mutex);
    pending.tasks.push_back(&task);
  }
  // The task lives on this thread's stack until the answer comes back.
  const bool ran = ::SendMessageA(window, WM_RUN_TASK, 0, reinterpret_cast<LPARAM>(&task)) != 0;
  TakePending(&task);  // not run: the window went before it answered
  return ran;
}

LRESULT RunSentTask(LPARAM lParam) {
  const auto* task = reinterpret_cast<const std::function<void()>*>(lParam);
  if (!TakePending(task)) return 0;
  (*task)();
  return 1;
}

}  // namespace fw
