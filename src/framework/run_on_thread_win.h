#pragma once
// The one way another thread hands the user interface a piece of work: the
// work runs on the thread that owns a window, and the caller goes on only
// once it is done. A worker hands over a whole refill of the results list in
// one synchronous message instead of one message per cell.
//
//   fw::RunOnWindowThread(m_listResults.m_hWnd, [this] { FillResults(); });
//
// The framework's windows and dialogs answer WM_RUN_TASK through their table
// dispatch; a subclassed control answers it in its own procedure with
// RunSentTask.

#include <windows.h>

#include <functional>

namespace fw {

// Runs `task` on the thread of `window` and returns when it is done: at once
// on that thread, otherwise through one sent WM_RUN_TASK. False when the
// window is gone (the task has not run).
bool RunOnWindowThread(HWND window, const std::function<void()>& task);

// The answer to WM_RUN_TASK: runs the task its lParam points to and answers
// 1, when RunOnWindowThread of this process handed that task over and it has
// not run yet; anything else (another process's message, a stray number) is
// ignored with 0.
LRESULT RunSentTask(LPARAM lParam);

}  // namespace fw
