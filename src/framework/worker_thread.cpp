#include "framework/worker_thread.h"

namespace {

class CNullSink : public IWorkerSink {
 public:
  void SendStarted() override {}
  void SendProgress() override {}
  void PostProgress() override {}
  void PostFinished() override {}
  int AskChoice(const std::string&) override { return ASK_CANCEL; }
  void ShowMessage(const std::string&) override {}
  void RefillResults(const std::string&) override {}
  void NotifyShell() override {}
};

}  // namespace

bool CWorkerThread::InitInstance() {
  m_bStop.store(0);
  Sink().SendStarted();
  Work();
  // The page may start the next task as soon as the fields are clear; the
  // refill that follows still runs on this worker's call.
  m_nRunningTaskField.store(0);  // no task
  m_nTaskField.store(0);
  m_bStop.store(1);
  Sink().RefillResults(GetReportText());
  Sink().NotifyShell();
  return true;
}

IWorkerSink& CWorkerThread::Sink() {
  static CNullSink none;
  return m_pProgressDlg ? *m_pProgressDlg : none;
}

CWorkerThread::~CWorkerThread() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nPauses.store(0);
  }
  m_cv.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void CWorkerThread::ResumeThread() {
  m_thread = std::thread([this] {
    InitInstance();
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bDone.store(true);
    }
    m_cv.notify_all();
  });
}

bool CWorkerThread::WaitUntilDone(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_cv.wait_for(lock, timeout, [this] { return m_bDone.load(); });
}

void CWorkerThread::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStop.store(1);
  }
  m_cv.notify_all();
}

void CWorkerThread::Pause() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_nPauses.fetch_add(1);
}

void CWorkerThread::Resume() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_nPauses.load() > 0) m_nPauses.fetch_sub(1);
  }
  m_cv.notify_all();
}

bool CWorkerThread::PollStop() {
  if (m_nPauses.load() == 0) return m_bStop.load() != 0;
  std::unique_lock<std::mutex> lock(m_mutex);
  m_cv.wait(lock, [this] { return m_nPauses == 0 || m_bStop.load() != 0; });
  return m_bStop.load() != 0;
}
