#include "search/search_schedule.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/temp_dir.h"

namespace {

int64_t Local(int d, int h, int mi = 0, int s = 0, int month = 3) {
  return platform::MakeTime({2024, month, d, h, mi, s});
}

SearchSchedule Every(int days, std::optional<int64_t> last) {
  SearchSchedule schedule;
  schedule.m_nKind = ScheduleKind::kEveryDays;
  schedule.m_nEveryDays = days;
  schedule.m_tLastRun = last;
  return schedule;  // at 09:00
}

}  // namespace

// Last run, now and the schedule → run or not, and when next. March 2024 in
// New York: the clocks go forward on Sunday the 10th. Mondays are the 4th
// and the 11th.
TEST(SearchSchedule, DueOnceTheDaysTimeHasPassedAndTheLastRunIsOldEnough) {
  UseTestTimeZone();
  struct Case {
    const char* what;
    SearchSchedule schedule;
    int64_t now;
    bool due;
    std::optional<int64_t> next;
  };
  const Case cases[] = {
      {"daily, before today's time", Every(1, Local(5, 9, 0, 5)), Local(6, 8, 59), false,
       Local(6, 9)},
      {"daily, at today's time", Every(1, Local(5, 9, 0, 5)), Local(6, 9), true, Local(6, 9)},
      {"daily, run today already", Every(1, Local(6, 9, 0, 5)), Local(6, 15), false, Local(7, 9)},
      {"never run, time passed", Every(1, std::nullopt), Local(6, 10), true, Local(6, 10)},
      {"never run, time to come", Every(1, std::nullopt), Local(6, 8), false, Local(6, 9)},
      {"every 3 days, the 2nd day", Every(3, Local(4, 9, 0, 5)), Local(6, 10), false, Local(7, 9)},
      {"every 3 days, the 3rd day", Every(3, Local(4, 9, 0, 5)), Local(7, 9), true, Local(7, 9)},
      {"every 3 days, run late", Every(3, Local(4, 15)), Local(7, 9, 30), true, Local(7, 9, 30)},
      {"a missed week, once", Every(1, Local(4, 9)), Local(11, 12), true, Local(11, 12)},
      {"after the missed week's run", Every(1, Local(11, 12)), Local(11, 13), false, Local(12, 9)},
      {"the clock set back", Every(1, Local(8, 9)), Local(6, 10), true, Local(6, 10)},
      {"over the spring change", Every(1, Local(9, 9, 0, 5)), Local(10, 9), true, Local(10, 9)},
      {"next over the spring change", Every(1, Local(9, 9, 0, 5)), Local(9, 23), false,
       Local(10, 9)},
      {"never", SearchSchedule{}, Local(6, 10), false, std::nullopt},
      {"at each start", SearchSchedule{ScheduleKind::kAtStart}, Local(6, 10), false, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRunDue(c.schedule, c.now), c.due) << c.what;
    EXPECT_EQ(NextRunTime(c.schedule, c.now), c.next) << c.what;
  }
}

// The lines as quillory.ini keeps them: a line that cannot be read makes the
// schedule "never", whatever the other lines say.
TEST(SearchSchedule, LinesReadBackAndDamagedOnesNeverRun) {
  UseTestTimeZone();
  SearchSchedule every = Every(3, Local(4, 9, 0, 5));
  every.m_nHour = 18;
  every.m_nMinute = 5;
  const std::vector<std::string> written = ScheduleLines(every);
  EXPECT_EQ(written, (std::vector<std::string>{"Schedule=days", "EveryDays=3", "Time=18:05",
                                               "LastRun=2024-03-04T09:00:05"}));
  SearchSchedule read;
  EXPECT_TRUE(ReadScheduleLines(written, read));
  EXPECT_EQ(read, every);
  EXPECT_TRUE(ReadScheduleLines({" Schedule = start ", "Days=7"}, read));
  EXPECT_EQ(read.m_nKind, ScheduleKind::kAtStart);

  for (const std::vector<std::string>& lines : std::vector<std::vector<std::string>>{
           {"Schedule=days", "EveryDays=0", "Time=09:00"},
           {"Schedule=days", "EveryDays=366", "Time=09:00"},
           {"Schedule=days", "EveryDays=2", "Time=24:00"},
           {"Schedule=days", "EveryDays=2", "Time=9:00"},
           {"Schedule=days", "EveryDays=2"},
           {"Schedule=days", "EveryDays=2", "Time=09:00", "LastRun=yesterday"},
           {"Schedule=daily", "EveryDays=2", "Time=09:00"}}) {
    read = every;
    EXPECT_FALSE(ReadScheduleLines(lines, read)) << lines[1];
    EXPECT_EQ(read.m_nKind, ScheduleKind::kNever) << lines[1];
  }
}
