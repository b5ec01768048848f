#include "search/search_schedule.h"

#include <cstdio>

#include "platform/text.h"
#include "search/ini_values.h"

namespace {

constexpr const char* kKinds[] = {"never", "start", "days"};

// The moment of the schedule's time of day on `day`, `daysBack` days before
// it, counted on the calendar (a day of a clock change has 23 or 25 hours);
// -1 when it cannot be represented.
int64_t TimeOfDay(const SearchSchedule& schedule, const platform::LocalTime& day, int daysBack) {
  return platform::MakeTime(
      {day.year, day.month, day.day - daysBack, schedule.m_nHour, schedule.m_nMinute, 0});
}

bool ReadLastRun(std::string_view text, int64_t& time) {
  platform::LocalTime local;
  if (text.size() != 19 || text[10] != 'T' || !ini::ReadDate(text.substr(0, 10), local) ||
      !ini::ReadTime(text.substr(11), local))
    return false;
  time = platform::MakeTime(local);
  return time != -1;
}

}  // namespace

std::string LastRunLine(int64_t time) {
  platform::LocalTime local;
  if (!platform::ToLocalTime(time, local)) return "LastRun=";
  return "LastRun=" + ini::DateText(local) + "T" + ini::TimeText(local);
}

std::vector<std::string> ScheduleLines(const SearchSchedule& schedule) {
  std::vector<std::string> lines = {"Schedule=" +
                                    ini::ItemOf(static_cast<int32_t>(schedule.m_nKind), kKinds)};
  if (schedule.m_nKind == ScheduleKind::kEveryDays) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", schedule.m_nHour, schedule.m_nMinute);
    lines.push_back("EveryDays=" + std::to_string(schedule.m_nEveryDays));
    lines.push_back(std::string("Time=") + time);
  }
  if (schedule.m_tLastRun) lines.push_back(LastRunLine(*schedule.m_tLastRun));
  return lines;
}

bool ReadScheduleLines(const std::vector<std::string>& lines, SearchSchedule& schedule) {
  SearchSchedule read;
  bool whole = true, days = false, time = false;
  for (const std::string& line : lines) {
    const std::string_view trimmed = ini::Trim(line);
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = ini::Trim(trimmed.substr(0, equals));
    const std::string_view value = ini::Trim(trimmed.substr(equals + 1));
    if (key == "Schedule") {
      const std::optional<int32_t> kind = ini::IndexOf(value, kKinds);
      whole = whole && kind.has_value();
      if (kind) read.m_nKind = static_cast<ScheduleKind>(*kind);
    } else if (key == "EveryDays") {
      const std::optional<uint64_t> every = ini::Number(value, kMaxEveryDays);
      days = every && *every >= 1;
      whole = whole && days;
      if (days) read.m_nEveryDays = static_cast<int32_t>(*every);
    } else if (key == "Time") {
      const std::optional<uint64_t> hour = ini::Number(value.substr(0, 2), 23);
      const std::optional<uint64_t> minute =
          value.size() == 5 && value[2] == ':' ? ini::Number(value.substr(3), 59) : std::nullopt;
      time = hour && minute;
      whole = whole && time;
      if (time) {
        read.m_nHour = static_cast<int32_t>(*hour);
        read.m_nMinute = static_cast<int32_t>(*minute);
      }
    } else if (key == "LastRun") {
      int64_t last = 0;
      const bool ok = ReadLastRun(value, last);
      whole = whole && ok;
      if (ok) read.m_tLastRun = last;
    }
  }
  // "days" without its number or time would run at a time nobody chose.
  if (!whole || (read.m_nKind == ScheduleKind::kEveryDays && !(days && time))) {
    schedule.m_nKind = ScheduleKind::kNever;
    return false;
  }
  schedule = read;
  return true;
}

bool IsRunDue(const SearchSchedule& schedule, int64_t now) {
  platform::LocalTime today;
  if (schedule.m_nKind != ScheduleKind::kEveryDays || !platform::ToLocalTime(now, today))
    return false;
  const int64_t todays = TimeOfDay(schedule, today, 0);
  if (todays == -1 || now < todays) return false;
  if (!schedule.m_tLastRun || *schedule.m_tLastRun > now) return true;
  return *schedule.m_tLastRun < TimeOfDay(schedule, today, schedule.m_nEveryDays - 1);
}

std::optional<int64_t> NextRunTime(const SearchSchedule& schedule, int64_t now) {
  platform::LocalTime today;
  if (schedule.m_nKind != ScheduleKind::kEveryDays || !platform::ToLocalTime(now, today))
    return std::nullopt;
  if (IsRunDue(schedule, now)) return now;
  // Today's time or one of the next N days' comes round: the first of them.
  for (int ahead = 0; ahead <= schedule.m_nEveryDays + 1; ++ahead) {
    const int64_t at = TimeOfDay(schedule, today, -ahead);
    if (at > now && IsRunDue(schedule, at)) return at;
  }
  return std::nullopt;
}
