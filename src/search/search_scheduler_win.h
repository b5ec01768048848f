#pragma once
// Runs the saved searches whose time has come, one at a time, while the
// program runs (shown or hidden, protected or not): "at each start" once a
// start, "every N days" when due. Between runs the program sleeps until the
// next one is due: one timer set for that moment, set again when the clock,
// the time zone or quillory.ini's searches change, or the computer wakes.
// A run never starts while the user's search or delete runs, and gives way
// when the user starts one; it is tried again a minute later.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "search/scheduled_run.h"
#include "search/search_file.h"

class CSearchScheduler {
 public:
  // The window that takes the timer (kTimerId) and the end of a run
  // (WM_SCHEDULED_RUN_DONE), and the program's folder, where quillory.ini is.
  void Start(HWND window, const std::string& folder);
  // Starts what is due now, or sets the timer for what comes next.
  void RunDue();
  // WM_SCHEDULED_RUN_DONE: the run's end written to its search, and what it
  // found told, then the next one.
  void OnRunDone();
  // The user starts a search or a delete.
  void YieldToUser();
  // At the exit: a run going is stopped and waited for.
  void StopForExit();

  static constexpr UINT_PTR kTimerId = 0x5C4E;
  // Whether the user's own search or delete runs.
  std::function<bool()> m_fnUserBusy;
  // A run found files: the search's name and what it found.
  std::function<void(const std::string& name, const CScheduledRun::Result& found)> m_fnFound;

 private:
  HWND m_hWnd = nullptr;
  std::unique_ptr<CSearchFile> m_pFile;
  CScheduledRun m_run;
  std::string m_strRunning;  // the name of the search the run is of
  bool m_bExiting = false;
  // The searches this start has run, and when their runs ended.
  struct Ran {
    std::string name;
    int64_t time;
  };
  std::vector<Ran> m_arrRan;
  void Remember(const std::string& name, int64_t time);
};

extern CSearchScheduler g_SearchScheduler;
