// Runs the real scan worker over folders and prints what it recorded:
//   location<TAB>name<TAB>type<TAB>size<TAB>date ... then "processed N found M".
// Options follow the search page's controls; see --help.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "search/scan_entries_thread.h"

namespace {

class QuietSink : public IWorkerSink {
 public:
  void SendStarted() override {}
  void SendProgress() override {}
  void PostProgress() override {}
  void PostFinished() override {}
  int AskChoice(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return ASK_SKIP_ALL;
  }
  void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  void RefillResults(const std::string&) override {}
  void NotifyShell() override {}
};

[[noreturn]] void Usage(int code) {
  std::fputs(
      "usage: quillory-scan-bench [--type *.EXT] [--date-field created|modified|accessed]\n"
      "  [--date any|is|before|after|between] [--date-mode date|datetime]\n"
      "  [--from YYYY-MM-DD[THH:MM:SS]] [--to ...] [--size any|more|less|between]\n"
      "  [--size-from N] [--size-to N] [--unit B|KB|MB|GB] [--skip 'NAME; PATTERN']\n"
      "  FOLDER...\n",
      stderr);
  std::exit(code);
}

int IndexOf(const char* value, std::initializer_list<const char*> names) {
  int index = 0;
  for (const char* name : names) {
    if (std::strcmp(value, name) == 0) return index;
    ++index;
  }
  Usage(1);
}

// Parses YYYY-MM-DD[THH:MM:SS] into a picker date and a picker time; `timeGiven`
// tells whether a time was there.
bool ParseDateTime(const char* text, platform::LocalTime& date, platform::LocalTime& time,
                   bool& timeGiven) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  const int n = std::sscanf(text, "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  if (n != 3 && n != 6) return false;
  date = {y, mo, d, 0, 0, 0};
  time = {1899, 12, 30, h, mi, s};
  timeGiven = n == 6;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  SearchPageInputs in;
  // The page's initial pickers show today.
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  platform::LocalTime today;
  platform::ToLocalTime(now, today);
  in.m_dtFromDate = in.m_dtToDate = {today.year, today.month, today.day, 0, 0, 0};
  const char* fromText = nullptr;
  const char* toText = nullptr;
  std::vector<std::string> folders;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage(1);
      return argv[++i];
    };
    if (arg == "--help")
      Usage(0);
    else if (arg == "--type") {
      in.m_nAllFiles = 0;
      in.m_nSpecifyType = 1;
      in.m_strTypePattern = value();
    } else if (arg == "--date-field") {
      in.m_nDateFieldSel = IndexOf(value(), {"created", "modified", "accessed"});
    } else if (arg == "--date") {
      in.m_nDateConditionSel = IndexOf(value(), {"any", "is", "before", "after", "between"});
    } else if (arg == "--date-mode") {
      in.m_bDateAndTime = IndexOf(value(), {"date", "datetime"});
      in.m_bDateOnly = 1 - in.m_bDateAndTime;
    } else if (arg == "--from") {
      fromText = value();
    } else if (arg == "--to") {
      toText = value();
    } else if (arg == "--size") {
      in.m_nSizeConditionSel = IndexOf(value(), {"any", "more", "less", "between"});
    } else if (arg == "--size-from") {
      in.m_nSizeFromValue = std::strtoull(value(), nullptr, 10);
    } else if (arg == "--size-to") {
      in.m_nSizeToValue = std::strtoull(value(), nullptr, 10);
    } else if (arg == "--unit") {
      in.m_nSizeUnit = IndexOf(value(), {"B", "KB", "MB", "GB"});
    } else if (arg == "--skip") {
      in.m_strSkipFolders = value();
    } else if (!arg.empty() && arg[0] == '-') {
      Usage(1);
    } else {
      folders.push_back(arg);
    }
  }

  bool timeGiven = false;
  if (fromText) {
    if (!ParseDateTime(fromText, in.m_dtFromDate, in.m_dtFromTime, timeGiven)) Usage(1);
    if (!timeGiven) in.m_dtFromTime = {1899, 12, 30, 0, 0, 0};
    in.m_dtToDate = in.m_dtFromDate;
  }
  if (toText && !ParseDateTime(toText, in.m_dtToDate, in.m_dtToTime, timeGiven)) Usage(1);
  if (!toText || !timeGiven) in.m_dtToTime = {1899, 12, 30, 23, 59, 59};

  SearchCriteria criteria;
  CAppData& data = g_AppData;
  data.m_arrFolders = folders;
  const CriteriaCheck check =
      BuildSearchCriteria(in, folders.size(), criteria,
                          [](const std::string& text) { std::printf("%s\n", text.c_str()); });
  if (check != CriteriaCheck::Ok) return 2;

  QuietSink sink;
  CScanEntriesThread worker(&criteria, &data);
  worker.m_pProgressDlg = &sink;
  const auto start = std::chrono::steady_clock::now();
  worker.InitInstance();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::string out;
  for (size_t i = 0; i < data.GetResultCount(); ++i) {
    out.append(data.m_arrFoundLocations[i]).append("\t");
    out.append(data.m_arrFoundNames[i]).append("\t");
    out.append(data.m_arrFoundTypes[i]).append("\t");
    out.append(std::to_string(data.m_arrFoundSizes[i])).append("\t");
    out.append(data.m_arrFoundDates[i]).append("\n");
    if (out.size() > (1 << 16)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::printf("processed %u found %u\n", worker.m_nProcessed.load(), worker.m_nFound.load());

  // The store's cost per row beyond the characters of its texts.
  const size_t rows = data.GetResultCount();
  if (rows > 0) {
    size_t characters = 0;
    for (size_t i = 0; i < rows; ++i)
      characters += data.m_arrFoundNames[i].size() + data.m_arrFoundLocations[i].size() +
                    data.m_arrFoundTypes[i].size() + data.m_arrFoundDates[i].size();
    const size_t bytes = data.m_arrFoundNames.CharBytes() + data.m_arrFoundNames.IndexBytes() +
                         data.m_arrFoundLocations.CharBytes() +
                         data.m_arrFoundLocations.IndexBytes() + data.m_arrFoundTypes.CharBytes() +
                         data.m_arrFoundTypes.IndexBytes() + data.m_arrFoundDates.CharBytes() +
                         data.m_arrFoundDates.IndexBytes() +
                         data.m_arrDeleteMarks.capacity() * sizeof(int32_t) +
                         data.m_arrFoundSizes.capacity() * sizeof(uint64_t) +
                         data.m_arrFoundTimes.capacity() * sizeof(int64_t) +
                         data.m_arrFoundIdentities.capacity() * sizeof(platform::FileIdentity) +
                         data.m_arrRemovedRows.capacity() / 8;
    std::fprintf(stderr, "scan %.3f s; store %zu rows, %.1f bytes a row beyond %zu characters\n",
                 seconds, rows, static_cast<double>(bytes - characters) / static_cast<double>(rows),
                 characters);
  } else {
    std::fprintf(stderr, "scan %.3f s; no rows\n", seconds);
  }
  return 0;
}
