#include "search/scheduled_run.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <string>
#include <utility>

// No window: a listed folder that is gone ends the run as failed, and the
// end of the run is handed to `done`.
class CScheduledRun::Sink final : public IWorkerSink {
 public:
  explicit Sink(std::function<void()> done) : m_fnDone(std::move(done)) {}
  void SendStarted() override {}
  void SendProgress() override {}
  void PostProgress() override {}
  void PostFinished() override {}
  int AskChoice(const std::string&) override {
    m_bFolderGone.store(true);
    return ASK_CANCEL;
  }
  void ShowMessage(const std::string&) override {}
  void RefillResults(const std::string&) override { m_fnDone(); }
  void NotifyShell() override {}

  std::atomic<bool> m_bFolderGone{false};

 private:
  std::function<void()> m_fnDone;
};

CScheduledRun::CScheduledRun() = default;

CScheduledRun::~CScheduledRun() {
  Stop();
  Finish();
}

bool CScheduledRun::Start(const SearchDefinition& search, std::function<void()> done, int64_t now) {
  if (m_worker) return false;
  if (BuildSearchCriteria(
          search, m_criteria, [](const std::string&) {}, now) != CriteriaCheck::Ok)
    return false;
  m_store = std::make_unique<CAppData>();
  m_store->m_arrFolders = search.m_arrFolders;
  m_sink = std::make_unique<Sink>(std::move(done));
  m_worker = std::make_unique<CScanEntriesThread>(&m_criteria, m_store.get());
  m_worker->m_pProgressDlg = m_sink.get();
  m_bStopped = false;
  m_worker->ResumeThread();
  return true;
}

void CScheduledRun::Stop() {
  if (!m_worker) return;
  m_bStopped = true;
  m_worker->Stop();
}

CScheduledRun::Result CScheduledRun::Finish() {
  Result result;
  if (!m_worker) return result;
  while (!m_worker->WaitUntilDone(std::chrono::seconds(1))) {
  }
  result.stopped = m_bStopped;
  result.failed = m_sink->m_bFolderGone.load();
  result.found = static_cast<uint32_t>(m_store->GetResultCount());
  result.limitReached = m_worker->m_nFound.load() > RESULT_LIMIT;
  m_worker.reset();
  result.bytes = std::accumulate(m_store->m_arrFoundSizes.begin(), m_store->m_arrFoundSizes.end(),
                                 uint64_t{0});
  m_store.reset();
  m_sink.reset();
  return result;
}
