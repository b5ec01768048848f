#pragma once
// The search worker: walks every listed folder depth-first, tests each file
// against the criteria and records the matches in the result store.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/worker_sink.h"
#include "framework/worker_thread.h"
#include "platform/file_system.h"
#include "search/search_criteria.h"
#include "settings/app_data.h"

inline constexpr uint32_t RESULT_LIMIT = 100000;

extern const char* const kMsgResultLimit;  // a printf format taking RESULT_LIMIT

// Seconds since 1970 UTC of a file time, taken from its exact instant (not
// shifted by today's daylight-saving bias); platform::kNoFileTime when the file system
// keeps none (zero), or it cannot be converted or lies before 1900.
int64_t FileTicksToSeconds(platform::FileTicks ticks);

class CScanEntriesThread : public CWorkerThread {
 public:
  CScanEntriesThread(const SearchCriteria* criteria, CAppData* appData = &g_AppData)
      : CWorkerThread(appData->m_nTask, appData->m_nRunningTask),
        m_pCriteria(criteria),
        m_pAppData(appData) {}

  // Walks one listed folder with everything below it.
  void ScanFolder(const std::string& path);

  const SearchCriteria* m_pCriteria;  // the search page's record, fixed during the search
  CAppData* m_pAppData;
  int32_t m_nMissingAnswer = ASK_NOT_YET;
  std::atomic<uint32_t> m_nProcessed{0};
  std::atomic<uint32_t> m_nFound{0};

  CountTexts GetCountTexts() const override;
  const char* GetCaption() const override { return "Files Searching"; }
  const char* GetStopQuestion() const override { return "Do you want to stop searching?"; }
  const char* GetExitQuestion() const override {
    return " Searching is in progress. Do you really want to exit?";
  }

 private:
  void Work() override;
  struct Level;
  bool ShouldUnwind() { return PollStop() || m_bLimitReached; }
  // Opens a folder of the walk on top of `levels`; nothing when it is no
  // folder or cannot be listed. `volume`: its parent's, when it lies there.
  void EnterFolder(std::vector<Level>& levels, std::string path, const uint64_t* volume);
  void ExamineFile(const platform::FolderListing& listing, const std::string& location);
  bool RecordMatch(const std::string& location, const std::string& type, int64_t time,
                   const platform::FileIdentity& identity);
  bool LeadsBackUp(const std::string& folder, const std::string& linkPath) const;

  bool m_bLimitReached = false;
  platform::FileEntry m_entry;         // reused; the walk reads one entry at a time
  std::string m_strFullPath;           // reused, for the same reason
  platform::ListingScratch m_scratch;  // the walk's listings read their batches into it
};
