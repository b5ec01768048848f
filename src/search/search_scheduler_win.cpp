#include "search/search_scheduler_win.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <utility>

#include "framework/worker_messages.h"
#include "platform/text.h"

CSearchScheduler g_SearchScheduler;

namespace {

// Past the longest delay a timer takes (24.8 days); it is then set again.
constexpr int64_t kLongestWaitSeconds = 24 * 86400;
constexpr UINT kBusyRetryMilliseconds = 60 * 1000;
constexpr UINT kUnreadableRetryMilliseconds = 10 * 60 * 1000;

bool SameName(const std::string& a, const std::string& b) {
  return platform::CompareNoCase(a.c_str(), b.c_str()) == 0;
}

}  // namespace

void CSearchScheduler::Start(HWND window, const std::string& folder) {
  m_hWnd = window;
  m_pFile = std::make_unique<CSearchFile>(folder);
  RunDue();
}

void CSearchScheduler::RunDue() {
  if (!m_pFile || m_bExiting || m_run.Running()) return;  // its end comes back here
  ::KillTimer(m_hWnd, kTimerId);
  std::vector<CSearchFile::Scheduled> scheduled;
  // A file held for a moment (a backup, a virus scanner) is read again a
  // little later; the user's own search or delete is waited for.
  if (!m_pFile->ReadSchedules(scheduled)) {
    ::SetTimer(m_hWnd, kTimerId, kUnreadableRetryMilliseconds, nullptr);
    return;
  }
  if (m_fnUserBusy && m_fnUserBusy() && !scheduled.empty()) {
    ::SetTimer(m_hWnd, kTimerId, kBusyRetryMilliseconds, nullptr);
    return;
  }
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  std::optional<int64_t> next;
  for (CSearchFile::Scheduled& search : scheduled) {
    // What this run of the program did counts too: a LastRun it could not
    // write (a held file) must not make the search run again at once.
    const auto ran = std::find_if(m_arrRan.begin(), m_arrRan.end(),
                                  [&](const Ran& r) { return SameName(r.name, search.name); });
    SearchSchedule& schedule = search.schedule;
    if (ran != m_arrRan.end() && (!schedule.m_tLastRun || *schedule.m_tLastRun < ran->time))
      schedule.m_tLastRun = ran->time;
    const bool due = schedule.m_nKind == ScheduleKind::kAtStart ? ran == m_arrRan.end()
                                                                : IsRunDue(schedule, now);
    SearchDefinition definition;
    if (due && m_pFile->LoadSaved(search.name, definition) == CSearchFile::Saved::kYes &&
        m_run.Start(definition,
                    [window = m_hWnd] { ::PostMessageA(window, WM_SCHEDULED_RUN_DONE, 0, 0); })) {
      m_strRunning = search.name;
      return;
    }
    // One that cannot start (no folder, a bad type) waits for its next time
    // as if it had run, without a word.
    if (due) {
      Remember(search.name, now);
      schedule.m_tLastRun = now;
    }
    const std::optional<int64_t> at = NextRunTime(schedule, now);
    if (at && (!next || *at < *next)) next = at;
  }
  if (!next) return;
  const int64_t wait = std::clamp<int64_t>(*next - now, 1, kLongestWaitSeconds);
  ::SetTimer(m_hWnd, kTimerId, static_cast<UINT>(wait * 1000), nullptr);
}

void CSearchScheduler::OnRunDone() {
  if (!m_run.Running()) return;
  const CScheduledRun::Result found = m_run.Finish();
  const std::string name = std::exchange(m_strRunning, {});
  // A run that gave way to the user comes again. One that ended, or failed
  // (a folder gone: nothing to tell), waits for its next time.
  if (!found.stopped) {
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    Remember(name, now);
    m_pFile->WriteLastRun(name, now);
    if (!found.failed && found.found > 0 && m_fnFound) m_fnFound(name, found);
  }
  RunDue();
}

void CSearchScheduler::Remember(const std::string& name, int64_t time) {
  for (Ran& ran : m_arrRan) {
    if (SameName(ran.name, name)) {
      ran.time = time;
      return;
    }
  }
  m_arrRan.push_back({name, time});
}

void CSearchScheduler::YieldToUser() { m_run.Stop(); }

void CSearchScheduler::StopForExit() {
  m_bExiting = true;
  if (m_hWnd) ::KillTimer(m_hWnd, kTimerId);
  m_run.Stop();
  m_run.Finish();
}
