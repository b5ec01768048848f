#pragma once
// Base of the two workers: a thread created suspended and then resumed, whose
// InitInstance is the start routine, with the stop flag and the pause gate
// the progress window drives, and the one shape of a run: the window is told
// the work started, the work is done, the task fields are cleared, and the
// window refills the results and tells the shell.
//
// Pausing holds the worker at its next poll of the stop flag instead of
// suspending its thread: a thread suspended inside the heap or C runtime lock
// would freeze every other thread that allocates.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "framework/worker_sink.h"

class CWorkerThread {
 public:
  // `task` and `runningTask` are the activity fields the run clears when its
  // work is done, before the last refill.
  CWorkerThread(std::atomic<int32_t>& task, std::atomic<int32_t>& runningTask)
      : m_nTaskField(task), m_nRunningTaskField(runningTask) {}
  virtual ~CWorkerThread();
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // The start routine, run once on the worker's own thread: the whole run.
  bool InitInstance();

  // Starts the thread; InitInstance runs on it. Call once.
  void ResumeThread();
  // Waits until InitInstance has returned; false on timeout.
  bool WaitUntilDone(std::chrono::milliseconds timeout);
  bool IsDone() const { return m_bDone.load(); }

  // Requests from the user-interface thread. A stop also opens the pause
  // gate: a worker told to stop ends at once, even while a question that
  // paused it is still open.
  void Stop();
  void Pause();
  void Resume();

  // What the progress window shows of this worker, read on the window's
  // thread while the worker runs: its two counters' lines, its caption, the
  // question its Cancel asks, and the one an exit asks while it runs.
  struct CountTexts {
    std::string first;
    std::string second;
  };
  virtual CountTexts GetCountTexts() const = 0;
  virtual const char* GetCaption() const = 0;
  virtual const char* GetStopQuestion() const = 0;
  virtual const char* GetExitQuestion() const = 0;
  // What the finished run did, shown beside the results; empty by default.
  virtual std::string GetReportText() const { return {}; }

  std::atomic<int32_t> m_bStop{0};
  IWorkerSink* m_pProgressDlg = nullptr;  // the progress window; none in some tests

 protected:
  // The work between "started" and the end of the task; it posts
  // "finished" itself, where the window should learn of it.
  virtual void Work() = 0;
  // The worker's poll: waits while paused, then tells whether to stop.
  bool PollStop();
  // The progress window, or without one a sink that does nothing and
  // answers every question as a closed box would: Cancel.
  IWorkerSink& Sink();

 private:
  std::atomic<int32_t>& m_nTaskField;
  std::atomic<int32_t>& m_nRunningTaskField;
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::atomic<int> m_nPauses{0};  // read without the lock on the fast path
  std::atomic<bool> m_bDone{false};
};
