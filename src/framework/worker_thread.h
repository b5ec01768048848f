#pragma once
// Base of the two workers: a thread created suspended and then resumed, whose
// InitInstance is the start routine, with the stop flag and the pause gate
// the progress window drives.
//
// Pausing holds the worker at its next poll of the stop flag instead of
// suspending its thread: a thread suspended inside the heap or C runtime lock
// would freeze every other thread that allocates.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class CWorkerThread {
 public:
  CWorkerThread() = default;
  virtual ~CWorkerThread();
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // The start routine, run once on the worker's own thread.
  virtual bool InitInstance() = 0;

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

  std::atomic<int32_t> m_bStop{0};

 protected:
  // The worker's poll: waits while paused, then tells whether to stop.
  bool PollStop();

 private:
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::atomic<int> m_nPauses{0};  // read without the lock on the fast path
  std::atomic<bool> m_bDone{false};
};
