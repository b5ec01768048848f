#pragma once
// One saved search run by itself: on a worker thread of its own, into a
// result store of its own, with no progress window and no question, so the
// page, its list and the user's rows stay as they are. A listed folder that
// is gone makes the run fail; a folder that cannot be read is passed over,
// as in a search by hand.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>

#include "search/scan_entries_thread.h"
#include "search/search_definition.h"
#include "settings/app_data.h"

class CScheduledRun {
 public:
  CScheduledRun();
  ~CScheduledRun();
  CScheduledRun(const CScheduledRun&) = delete;
  CScheduledRun& operator=(const CScheduledRun&) = delete;

  struct Result {
    bool stopped = false;  // gave way to the user before its end
    bool failed = false;   // a listed folder is gone
    uint32_t found = 0;
    uint64_t bytes = 0;
    bool limitReached = false;  // more files matched than a search lists
  };

  // Starts a run of `search`; `done` is called on the worker's thread once it
  // has ended. False, and nothing runs, when the search's criteria are
  // refused (no folder, a bad type) or a run is still going.
  bool Start(const SearchDefinition& search, std::function<void()> done,
             int64_t now = static_cast<int64_t>(std::time(nullptr)));
  // The user starts a search or a delete: the run ends at its next poll.
  void Stop();
  bool Running() const { return m_worker != nullptr; }
  // Waits for the worker and gives back what it found; the store is freed.
  Result Finish();

 private:
  class Sink;
  SearchCriteria m_criteria;
  std::unique_ptr<CAppData> m_store;
  std::unique_ptr<Sink> m_sink;
  std::unique_ptr<CScanEntriesThread> m_worker;
  bool m_bStopped = false;
};
