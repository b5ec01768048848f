#pragma once
// The search worker: walks every listed folder depth-first, tests each file
// against the criteria and records the matches in the result store.

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/worker_thread.h"
#include "platform/file_system.h"
#include "results/worker_sink.h"
#include "search/search_criteria.h"
#include "settings/app_data.h"

inline constexpr uint32_t RESULT_LIMIT = 100000;

extern const char* const kMsgResultLimit;  // a printf format taking RESULT_LIMIT

// Seconds since 1970 UTC of a file time, taken from its exact instant (not
// shifted by today's daylight-saving bias); 0 when it cannot be converted or
// lies before 1900.
int64_t FileTicksToSeconds(platform::FileTicks ticks);

class CScanEntriesThread : public CWorkerThread {
 public:
  CScanEntriesThread(const SearchCriteria* criteria, CAppData* appData = &g_AppData)
      : m_pCriteria(criteria), m_pAppData(appData) {}

  bool InitInstance() override;
  void ScanFolder(std::string path);

  IWorkerSink* m_pProgressDlg = nullptr;
  const SearchCriteria* m_pCriteria;  // the search page's record, fixed during the search
  CAppData* m_pAppData;
  int64_t m_timeFile = 0;
  int32_t m_nMissingAnswer = ASK_NOT_YET;
  std::string m_strStatus;
  std::atomic<uint32_t> m_nProcessed{0};
  std::atomic<uint32_t> m_nFound{0};
  int32_t m_nFolderCount = 0;
  std::string m_strFolder;
  std::string m_strFileName;
  std::string m_strFileType;
  uint64_t m_nFileSize = 0;
  int32_t m_bNameMatch = 0;
  int32_t m_bSizeMatch = 0;
  int32_t m_bDateMatch = 0;

 private:
  bool ShouldUnwind() { return PollStop() || m_bLimitReached; }
  bool RecordMatch(const std::string& location, const platform::FileIdentity& identity);
  bool LeadsBackUp(const std::string& folder, const std::string& linkPath) const;

  bool m_bLimitReached = false;
  platform::FileEntry m_entry;  // reused; the walk reads one entry at a time
};
