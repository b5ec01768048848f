// The search and the delete from the real search page under Wine, each beside
// its floor, on a tree made by bench/make-window-tree (100000 files in 19400
// folders, 12000 of them "*.doc"):
//
//   walk        the floor of a search: FindFirstFileA / FindNextFileA on every
//               folder and one GetFileAttributesA per file, the calls the
//               design makes and nothing else
//   find-doc    "Find" with the type "*.doc", from the click until the
//               progress window has closed (its 300 ms delay included)
//   scheduled   the same search run by itself, as a saved search's schedule
//               runs it (no window), to its end; beside "find-doc", and the
//               working set of the process before and after it
//               (QB_SCHEDULED_ONLY=1: only these three, each round)
//   find-all    "Find" with "All files" (100000 rows), the same way; then the
//               first sort by Name of its rows, and the peak working set
//   deletea     the floor of a delete: DeleteFileA on each "*.doc" path, in
//               a process of its own (this program started again with
//               --delete-each LIST), as the loop runs bare
//   deletea-in  the same loop in this process, beside it for comparison
//   delete      every row of a "*.doc" search selected, "Delete", "Yes", until
//               the progress window has closed and the worker has ended
//   walk-skip   the floor of a search with a skip list: the walk above, never
//               entering a folder whose name begins with "c1" or "c2"
//   find-skip   "Find" "*.doc" with "c1*; c2*" in "Skip folders:"
//   shfileop    the floor of a move to the Recycle Bin: one SHFileOperationW
//               with FOF_ALLOWUNDO on every "*.doc" path, in a process of its
//               own (--recycle-each LIST)
//   recycle     the delete above with "Move to the Recycle Bin" checked
//
// The bin under Wine is the XDG trash: the bin's runs are made only when
// XDG_DATA_HOME names a folder of the bench's own, whose trash is emptied,
// untimed, before each of them.
//
// Each round runs each floor followed at once by the program's run; the
// ratio of a round is the program's time over its floor's, and the figure is
// the median of the rounds' ratios. Every delete, the floors' and the
// program's, finds the "*.doc" files made again, untimed, just before a
// search of them: files of one age, which Linux deletes at one cost (files
// it is still writing back cost more), after the same work.
//
//   quillory-window-bench TREE [rounds]     (3 rounds by default)
//
// Run it inside a Wine desktop, as scripts/wine-exec does with the build's
// prefix: on a bare X display without a window manager Wine's X driver waits
// about 2 s for every visible window that closes, which no Windows desktop
// does.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/message_box_win.h"
#include "resources/resource.h"
#include "search/scan_entries_thread.h"
#include "search/scheduled_run.h"
#include "search/search_page_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/page_host_ui_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// ---- the floors

struct Walk {
  size_t files = 0;
  std::vector<std::string> docs;  // the "*.doc" paths, for the delete's floor
};

bool IsDoc(const char* name) {
  const char* dot = std::strrchr(name, '.');
  return dot && _stricmp(dot, ".doc") == 0;
}

// The folders the skip list's runs leave out: names beginning "c1" or "c2".
bool IsSkipped(const char* name) {
  return (name[0] == 'c' || name[0] == 'C') && (name[1] == '1' || name[1] == '2');
}

void BareWalk(const std::string& folder, Walk& walk, bool skipping = false) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string path = folder + "\\" + data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0 &&
          !(skipping && IsSkipped(data.cFileName)))
        BareWalk(path, walk, skipping);
    } else if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ++walk.files;
      if (IsDoc(data.cFileName)) walk.docs.push_back(path);
    }
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}

size_t DeleteEach(const std::vector<std::string>& paths) {
  size_t deleted = 0;
  for (const std::string& path : paths) deleted += ::DeleteFileA(path.c_str()) ? 1 : 0;
  return deleted;
}

// Every path to the Recycle Bin in one shell operation; how many went.
size_t RecycleEach(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) list.append(path).push_back('\0');
  list.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NO_UI;
  ::SHFileOperationA(&operation);
  size_t moved = 0;
  for (const std::string& path : paths)
    moved += ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
  return moved;
}

// The XDG trash of this run, emptied; false when the run has none of its own.
bool EmptyOwnTrash() {
  const char* home = std::getenv("XDG_DATA_HOME");
  if (!home || home[0] != '/') return false;
  for (const char* kind : {"files", "info"}) {
    std::string folder = std::string("Z:") + home + "/Trash/" + kind;
    std::replace(folder.begin(), folder.end(), '/', '\\');
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ::DeleteFileA((folder + "\\" + data.cFileName).c_str());
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
  }
  return true;
}

// A floor in a process of its own: this program again, given the paths in a
// file and `option` (--delete-each, --recycle-each); it prints its seconds and
// how many it took. -1 when it could not run.
double EachElsewhere(const char* option, const std::vector<std::string>& paths, size_t& deleted) {
  char folder[MAX_PATH] = {};
  char list[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  if (!::GetTempFileNameA(folder, "qdl", 0, list)) return -1;
  if (FILE* out = std::fopen(list, "wb")) {
    for (const std::string& path : paths) std::fprintf(out, "%s\n", path.c_str());
    std::fclose(out);
  }
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!::CreatePipe(&read, &write, &inherit, 0)) return -1;
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child{};
  std::string command = std::string("\"") + self + "\" " + option + " \"" + list + "\"";
  const bool started = ::CreateProcessA(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child) != FALSE;
  ::CloseHandle(write);
  std::string said;
  char buffer[256];
  DWORD got = 0;
  while (started && ::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
    said.append(buffer, got);
  ::CloseHandle(read);
  if (started) {
    ::WaitForSingleObject(child.hProcess, INFINITE);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
  }
  ::DeleteFileA(list);
  double seconds = -1;
  unsigned long long count = 0;
  if (std::sscanf(said.c_str(), "%lf %llu", &seconds, &count) != 2) return -1;
  deleted = static_cast<size_t>(count);
  return seconds;
}

int EachFromList(const char* option, const char* list) {
  std::vector<std::string> paths;
  if (FILE* in = std::fopen(list, "rb")) {
    char line[4096];
    while (std::fgets(line, sizeof line, in)) {
      std::string path(line);
      while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
      if (!path.empty()) paths.push_back(path);
    }
    std::fclose(in);
  }
  const Clock::time_point start = Clock::now();
  const size_t deleted =
      std::strcmp(option, "--recycle-each") == 0 ? RecycleEach(paths) : DeleteEach(paths);
  std::printf("%.6f %zu\n", Seconds(start), deleted);
  return 0;
}

// Makes the deleted files again, small and new; false when one cannot be made.
bool MakeAgain(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ::WriteFile(file, "quillory", 8, &written, nullptr);
    ::CloseHandle(file);
  }
  return true;
}

// ---- the search page, hosted as the main window hosts it

class SearchPageRun {
 public:
  explicit SearchPageRun(const std::string& root) {
    m_page.m_fnChooseFolder = [root](std::string& path) {
      path = root;
      return true;
    };
    m_bReady = m_host.Hwnd() && m_page.Create(m_host.Hwnd());
    if (m_bReady) {
      m_page.Show(SW_SHOWNA);
      Click(IDC_ADD);
    }
  }
  ~SearchPageRun() {
    if (m_page.m_wndProgress.m_hWnd) ::DestroyWindow(m_page.m_wndProgress.m_hWnd);
    PumpUntil([&] { return WorkersDone(); }, 60s);
    m_page.DestroyWindow();
  }
  bool Ready() const { return m_bReady; }

  bool WorkersDone() const { return !m_page.m_wndProgress.GetUnfinishedWorker(); }
  // Pumps until the progress window has closed and the worker ended;
  // m_dWorkerEnded is when the worker did, from `since`.
  bool RunToTheEnd(Clock::time_point since = Clock::now()) {
    m_dWorkerEnded = -1;
    return PumpUntil(
        [&] {
          if (m_dWorkerEnded < 0 && WorkersDone()) m_dWorkerEnded = Seconds(since);
          return !m_page.m_wndProgress.m_hWnd && WorkersDone();
        },
        600s);
  }
  double m_dWorkerEnded = -1;
  void Click(int id) { ::SendMessageA(::GetDlgItem(m_page.m_hWnd, id), BM_CLICK, 0, 0); }
  int Rows() const { return m_page.m_view.m_listResults.GetItemCount(); }

  // "Find" with "*.doc" or with all files; the time to the window's close.
  // `skip`: the text of "Skip folders:".
  double Find(bool docs, const char* skip = "") {
    ::SetDlgItemTextA(m_page.m_hWnd, IDC_SKIP_FOLDERS, skip);
    Click(docs ? IDC_SPECIFY_TYPE : IDC_ALL_FILES);
    const Clock::time_point clicked = Clock::now();
    Click(IDC_FIND);
    return RunToTheEnd(clicked) ? Seconds(clicked) : -1;
  }

  // Every row selected, "Delete", "Yes"; the time to the end of it all.
  // `recycle`: "Move to the Recycle Bin" checked.
  double DeleteAll(bool recycle = false) {
    ::CheckDlgButton(m_page.m_hWnd, IDC_RECYCLE, recycle ? BST_CHECKED : BST_UNCHECKED);
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    m_page.m_view.m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(&state));
    BoxAnswerer yes(
        "Warning", [](HWND box) { ClickButton(box, IDOK); }, 60s);
    const Clock::time_point clicked = Clock::now();
    Click(IDC_DELETE);
    const bool ended = RunToTheEnd(clicked);
    const double seconds = Seconds(clicked);
    return ended && yes.Answered() ? seconds : -1;
  }

  double SortByName() {
    const Clock::time_point start = Clock::now();
    m_page.m_view.SortResults(1);
    DrainMessages();
    return Seconds(start);
  }

  PageHost m_host{"Bench host"};
  CAppData m_data;
  CWindowWiperEntries m_page{&m_data};

 private:
  bool m_bReady = false;
};

// The scan worker alone, as the window runs it but with no window to tell
// (the worker's own silent sink): what the window adds is the difference to
// "find-doc".
double ScanAlone(const std::string& root, const char* type, size_t& rows) {
  CAppData data;
  data.m_arrFolders = {root};
  SearchCriteria criteria;
  criteria.m_strExtension = type;
  CScanEntriesThread worker(&criteria, &data);
  data.m_nTask = data.m_nRunningTask = TASK_SEARCH;
  const Clock::time_point start = Clock::now();
  worker.ResumeThread();
  if (!worker.WaitUntilDone(600s)) return -1;
  rows = data.GetResultCount();
  return Seconds(start);
}

// A saved search "*.doc" run by itself, from its start to its end.
double ScheduledRun(const std::string& root, size_t& found) {
  SearchDefinition search;
  search.m_arrFolders = {root};
  search.m_inputs.m_nAllFiles = 0;
  search.m_inputs.m_nSpecifyType = 1;
  search.m_inputs.m_strTypePattern = "*.doc";
  CScheduledRun run;
  const Clock::time_point start = Clock::now();
  if (!run.Start(search, [] {})) return -1;
  const CScheduledRun::Result result = run.Finish();
  found = result.found;
  return Seconds(start);
}

// Wine leaves the private bytes at 0: the working set tells instead.
double WorkingSetMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 &&
      (std::strcmp(argv[1], "--delete-each") == 0 || std::strcmp(argv[1], "--recycle-each") == 0))
    return EachFromList(argv[1], argv[2]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: quillory-window-bench TREE [rounds]\n");
    return 2;
  }
  const std::string root = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  InstallDialogKit();
  SearchPageRun host(root);
  if (!host.Ready()) {
    std::fprintf(stderr, "the search page could not be created\n");
    return 1;
  }

  std::map<std::string, std::vector<double>> times, ratios;
  std::vector<double> sorts;
  // The program's time after its floor's, which ran just before it.
  auto record = [&](int round, const char* name, double seconds, const char* floor) {
    times[name].push_back(seconds);
    std::printf("round %d %-9s %8.3f s", round, name, seconds);
    if (floor) {
      ratios[name].push_back(seconds / times[floor].back());
      std::printf("  %.2f x %s", ratios[name].back(), floor);
    }
    std::printf("\n");
    std::fflush(stdout);
  };
  for (int round = 1; round <= rounds; ++round) {
    Walk walk;
    Clock::time_point start = Clock::now();
    BareWalk(root, walk);
    record(round, "walk", Seconds(start), nullptr);
    size_t scanned = 0;
    record(round, "scan-doc", ScanAlone(root, "doc", scanned), "walk");
    const double findDoc = host.Find(true);
    if (findDoc < 0 || static_cast<size_t>(host.Rows()) != walk.docs.size()) {
      std::fprintf(stderr, "find listed %d rows, the walk %zu\n", host.Rows(), walk.docs.size());
      return 1;
    }
    record(round, "find-doc", findDoc, "walk");
    if (std::getenv("QB_SLOW")) {
      host.m_page.m_wndProgress.m_nProgressSendInterval = 2000;
      const double slow = host.Find(true);
      record(round, "find-slow", slow, "walk");
      host.m_page.m_wndProgress.m_nProgressSendInterval = 20;
    }
    std::printf("        (its worker ended at %.3f s)\n", host.m_dWorkerEnded);
    const double before = WorkingSetMegabytes();
    const double scheduled = ScheduledRun(root, scanned);
    if (scheduled < 0 || scanned != walk.docs.size()) {
      std::fprintf(stderr, "the run by itself found %zu files, the walk %zu\n", scanned,
                   walk.docs.size());
      return 1;
    }
    record(round, "scheduled", scheduled, "find-doc");
    std::printf("        (working set %.1f MB before it, %.1f MB after)\n", before,
                WorkingSetMegabytes());
    if (std::getenv("QB_SCHEDULED_ONLY")) continue;

    walk = {};
    start = Clock::now();
    BareWalk(root, walk);
    record(round, "walk-all", Seconds(start), nullptr);
    const double findAll = host.Find(false);
    if (findAll < 0 || static_cast<size_t>(host.Rows()) != walk.files) {
      std::fprintf(stderr, "find listed %d rows, the walk %zu\n", host.Rows(), walk.files);
      return 1;
    }
    record(round, "find-all", findAll, "walk-all");
    sorts.push_back(host.SortByName());

    // The same files for each delete: made again and searched for, untimed.
    auto freshFiles = [&] {
      DeleteEach(walk.docs);
      return MakeAgain(walk.docs) && host.Find(true) >= 0;
    };
    if (!freshFiles()) return 1;
    size_t floorDeleted = 0;
    record(round, "deletea", EachElsewhere("--delete-each", walk.docs, floorDeleted), nullptr);
    if (floorDeleted != walk.docs.size() || !freshFiles()) return 1;
    start = Clock::now();
    floorDeleted = DeleteEach(walk.docs);
    record(round, "deletea-in", Seconds(start), "deletea");
    if (floorDeleted != walk.docs.size() || !freshFiles()) return 1;
    const double deleted = host.DeleteAll();
    if (deleted < 0 || host.Rows() != 0) {
      std::fprintf(stderr, "the delete did not run to its end: %d rows left\n", host.Rows());
      return 1;
    }
    record(round, "delete", deleted, "deletea");
    if (!MakeAgain(walk.docs)) return 1;

    // The skip list against the walk that never enters those folders.
    Walk skipping;
    start = Clock::now();
    BareWalk(root, skipping, true);
    record(round, "walk-skip", Seconds(start), nullptr);
    const double findSkip = host.Find(true, "c1*; c2*");
    if (findSkip < 0 || static_cast<size_t>(host.Rows()) != skipping.docs.size()) {
      std::fprintf(stderr, "find listed %d rows, the walk %zu\n", host.Rows(),
                   skipping.docs.size());
      return 1;
    }
    record(round, "find-skip", findSkip, "walk-skip");

    if (!EmptyOwnTrash()) continue;
    if (!freshFiles() || !EmptyOwnTrash()) return 1;
    size_t floorMoved = 0;
    record(round, "shfileop", EachElsewhere("--recycle-each", walk.docs, floorMoved), nullptr);
    if (floorMoved != walk.docs.size() || !freshFiles() || !EmptyOwnTrash()) return 1;
    const double recycled = host.DeleteAll(true);
    if (recycled < 0 || host.Rows() != 0) {
      std::fprintf(stderr, "the move to the bin left %d rows\n", host.Rows());
      return 1;
    }
    times["recycle-by-delete"].push_back(recycled / times["delete"].back());
    record(round, "recycle", recycled, "shfileop");
    if (!MakeAgain(walk.docs) || !EmptyOwnTrash()) return 1;
  }

  std::printf("\n%d rounds; medians of the times and of the rounds' ratios\n", rounds);
  const std::pair<const char*, const char*> runs[] = {
      {"scan-doc", "walk"},       {"find-doc", "walk"},      {"scheduled", "find-doc"},
      {"find-all", "walk-all"},   {"deletea-in", "deletea"}, {"delete", "deletea"},
      {"find-skip", "walk-skip"}, {"recycle", "shfileop"}};
  for (const auto& [name, floor] : runs) {
    if (times[name].empty()) continue;
    std::printf("%-9s %8.3f s  %.2f x its floor (%s %.3f s)\n", name, Median(times[name]),
                Median(ratios[name]), floor, Median(times[floor]));
  }
  if (!times["recycle-by-delete"].empty())
    std::printf("recycle   %.2f x the delete for good (median of the rounds)\n",
                Median(times["recycle-by-delete"]));
  std::printf("first sort by Name of the 100000 rows: %.3f s; peak working set %.1f MB\n",
              Median(sorts), PeakMegabytes());
  return 0;
}
