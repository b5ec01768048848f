#include "results/list_export.h"

#include <cstdio>

#include "platform/text.h"
#include "settings/app_data.h"

namespace {

// 2024-01-15T12:30:00; empty when the instant has no local time.
std::string IsoLocalTime(int64_t seconds) {
  platform::LocalTime local;
  if (seconds == platform::kNoFileTime || !platform::ToLocalTime(seconds, local)) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", local.year, local.month,
                local.day, local.hour, local.minute, local.second);
  return text;
}

}  // namespace

std::string QuoteField(std::string_view field, ListFormat format) {
  const char separator = format == ListFormat::Csv ? ',' : '\t';
  if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos)
    return std::string(field);
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string FormatResultList(const CAppData& store, std::span<const int32_t> rows,
                             ListFormat format, std::string_view dateHeader,
                             const ToUtf8Function& toUtf8) {
  const char separator = format == ListFormat::Csv ? ',' : '\t';
  std::string text = "\xEF\xBB\xBF";
  auto line = [&](std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
      if (!first) text += separator;
      first = false;
      text += QuoteField(field, format);
    }
    text += "\r\n";
  };
  line({"Location", "Name", "Type", "Size", toUtf8(dateHeader)});
  for (int32_t storeRow : rows) {
    if (storeRow < 0 || static_cast<size_t>(storeRow) >= store.GetResultCount()) continue;
    const auto row = static_cast<size_t>(storeRow);
    line({toUtf8(store.m_arrFoundLocations[row]), toUtf8(store.m_arrFoundNames[row]),
          toUtf8(store.m_arrFoundTypes[row]), std::to_string(store.m_arrFoundSizes[row]),
          IsoLocalTime(store.m_arrFoundTimes[row])});
  }
  return text;
}
