#pragma once
// The delete worker: walks the result store row by row, deletes the file of
// every marked row for good, asks Cancel / Skip / Skip all when one cannot be
// deleted, and leaves in the store exactly the rows whose files it did not
// delete.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/worker_sink.h"
#include "framework/worker_thread.h"
#include "platform/file_system.h"
#include "settings/app_data.h"

// The failure questions for one path: it cannot be deleted, or it is no
// longer the file that was found (replaced, rewritten, or reached through a
// folder that now leads elsewhere), so it was left alone.
std::string DeleteFailedText(const std::string& path);
std::string FileChangedText(const std::string& path);
// "Deleted D of T files", then "; F could not be deleted" and "; C had
// changed since the search" where they are not 0.
std::string DeleteReportText(int32_t deleted, int32_t total, int32_t failed, int32_t changed);

class CDelEntriesThread : public CWorkerThread {
 public:
  // `selectedResults` is the search page's m_arrSelectedResults: its length,
  // read when the run starts, is the number of rows the user chose.
  explicit CDelEntriesThread(const std::vector<int32_t>* selectedResults,
                             CAppData* appData = &g_AppData)
      : CWorkerThread(appData->m_nTask, appData->m_nRunningTask),
        m_pSelectedResults(selectedResults),
        m_pAppData(appData) {}

  const std::vector<int32_t>* m_pSelectedResults;
  CAppData* m_pAppData;
  std::atomic<int32_t> m_nTotal{0};
  std::atomic<int32_t> m_nDeleted{0};
  // Rows whose file could not be deleted, and rows whose file had changed
  // since the search, for the report after the run.
  std::atomic<int32_t> m_nFailed{0};
  std::atomic<int32_t> m_nChanged{0};
  int32_t m_nRowCount = 0;

  CountTexts GetCountTexts() const override;
  const char* GetStopQuestion() const override { return "Do you want to terminate deleting?"; }
  std::string GetReportText() const override;

  // How one file is checked and deleted; the benchmark swaps in a stub to
  // time the bookkeeping alone. Set before the thread runs.
  platform::RemoveResult (*m_pfnRemoveFile)(
      const std::string& path, const platform::FileIdentity& identity, uint64_t size,
      platform::RemovalMemory& memory) = &platform::RemoveFileIfSame;

 private:
  void Work() override;
};
