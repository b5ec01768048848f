#pragma once
// What the exit sequence needs of the progress window while a worker runs:
// the window, which takes WM_WORKER_PAUSE, WM_WORKER_RESUME and
// WM_WORKER_STOP, and the worker itself, so that the exit can wait for its
// end before anything the worker uses is torn down.

#include <windows.h>

#include "framework/worker_thread.h"

class IWorkerHost {
 public:
  // Null when no progress window is open.
  virtual HWND GetProgressWindow() const = 0;
  // The worker that window runs, or null.
  virtual CWorkerThread* GetRunningWorker() const = 0;
  // The worker it started last while that one's thread has not ended, even
  // after it cleared the running task for its final refill of the list.
  virtual CWorkerThread* GetUnfinishedWorker() const = 0;

 protected:
  ~IWorkerHost() = default;
};
