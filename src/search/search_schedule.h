#pragma once
// When a saved search runs by itself: never (as saved by default), at each
// start of the program, or every N days at a time of day, local time. Kept in
// the search's own section of quillory.ini, which other tools and people may
// write too:
//
//   Schedule=never | start | days
//   EveryDays=N            (1 to 365, with "days")
//   Time=HH:MM             (24-hour, local, with "days")
//   LastRun=YYYY-MM-DDTHH:MM:SS   (local; written by the program after a run)
//
// A line that cannot be read makes the schedule "never": a damaged line
// never makes a search run.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ScheduleKind { kNever, kAtStart, kEveryDays };

inline constexpr int32_t kMaxEveryDays = 365;

struct SearchSchedule {
  ScheduleKind m_nKind = ScheduleKind::kNever;
  int32_t m_nEveryDays = 1;
  int32_t m_nHour = 9;  // the time of day of an "every N days" run
  int32_t m_nMinute = 0;
  // The end of the last run, in seconds since 1970 UTC; none before the first.
  std::optional<int64_t> m_tLastRun;

  bool operator==(const SearchSchedule&) const = default;
};

// The schedule's lines, and back over `schedule`; false (and "never") when a
// schedule line could not be read. Other keys are passed over.
std::vector<std::string> ScheduleLines(const SearchSchedule& schedule);
bool ReadScheduleLines(const std::vector<std::string>& lines, SearchSchedule& schedule);
// "LastRun=..." for `time`, in local time.
std::string LastRunLine(int64_t time);

// Whether an "every N days" search is due at `now` (seconds since 1970 UTC):
// the day's time has passed today, and its last run was before that time of
// the day N-1 days ago, so that a run a little after its time still comes
// round on the Nth day. A run missed while the program was closed is due
// once at the next start, however many days it missed. A last run later than
// now (the clock was set back) counts as none. "Never" and "at each start"
// are never due here: a start runs the latter.
bool IsRunDue(const SearchSchedule& schedule, int64_t now);
// The first moment from `now` on at which IsRunDue holds; none for a
// schedule that is not "every N days".
std::optional<int64_t> NextRunTime(const SearchSchedule& schedule, int64_t now);
