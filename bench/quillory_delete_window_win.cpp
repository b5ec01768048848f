// The delete from the search page under Wine, beside the floors it stands on,
// on the same kind of files (12061 by default, in 1200 folders), made anew
// before each run and never timed:
//
//   bare      a loop making the same per-file calls as the program's checked
//             delete: CreateFileW (DELETE | FILE_READ_ATTRIBUTES, the link
//             itself), GetFileInformationByHandle, the comparison,
//             SetFileInformationByHandle (disposition), CloseHandle; the
//             paths and identities collected beforehand
//   window    the real search page: Find run first (untimed), every row
//             selected, "Delete" clicked and the question answered "Yes" from
//             a helper thread, until the progress window has closed (its
//             300 ms delay included) and the worker has ended
//   deletew   a plain DeleteFileW loop, for reference
//
// Rounds are interleaved, and the order turns each round. Beside them, what
// the results list costs in the window's run (the selection read, the refill
// over the full list at the start, the emptying at the end), and what each
// per-file call costs alone.
//
//   quillory-delete-window [rounds] [files]     (5 and 12061 by default)
//
// Run it inside a Wine desktop, as scripts/wine-exec does with the build's
// prefix: on a bare X display without a window manager Wine's X driver waits
// about 2 s for every visible window that closes (here the question and the
// progress window), a cost no Windows desktop has.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialogs/message_box_win.h"
#include "platform/file_system.h"
#include "platform/wide_text_win.h"
#include "resources/resource.h"
#include "search/search_page_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/page_host_ui_win.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

constexpr int kFolders = 1200;
constexpr DWORD kFileBytes = 1024;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct Listed {
  std::wstring path;
  std::string programPath;
  platform::FileIdentity identity;
  uint64_t size = 0;
};

std::string FolderPath(const std::string& root, int folder) {
  char name[32];
  std::snprintf(name, sizeof name, "\\f%04d", folder);
  return root + name;
}

void MakeFolders(const std::string& root) {
  for (int folder = 0; folder < kFolders; ++folder)
    ::CreateDirectoryW(platform::ExtendedPath(FolderPath(root, folder)).c_str(), nullptr);
}

// `files` files spread over the folders; false when one cannot be made.
bool MakeFiles(const std::string& root, int files) {
  static const std::string content(kFileBytes, 'q');
  for (int i = 0; i < files; ++i) {
    char name[48];
    std::snprintf(name, sizeof name, "\\file %05d.dat", i);
    const std::wstring path = platform::ExtendedPath(FolderPath(root, i % kFolders) + name);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, content.data(), kFileBytes, &written, nullptr) != FALSE;
    ::CloseHandle(file);
    if (!ok) return false;
  }
  return true;
}

// Every file below the root, with the identity the search would record,
// through the program's own listing.
std::vector<Listed> Collect(const std::string& root) {
  std::vector<Listed> listed;
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::string path = FolderPath(root, folder);
    platform::FolderListing listing;
    platform::FileEntry entry;
    for (bool more = listing.Open(path, entry); more; more = listing.Next(entry)) {
      if (entry.attributes & platform::kAttrDirectory) continue;
      listed.push_back({platform::ExtendedPath(path + "\\" + entry.name), path + "\\" + entry.name,
                        listing.Identity(entry), entry.size});
    }
  }
  return listed;
}

// The program's checked delete alone, outside the window. Returns the files
// deleted.
size_t BareCheckedDelete(const std::vector<Listed>& files) {
  size_t deleted = 0;
  platform::RemovalMemory memory;
  for (const Listed& file : files)
    deleted += platform::RemoveFileIfSame(file.programPath, file.identity, file.size, memory) ==
                       platform::RemoveResult::Removed
                   ? 1
                   : 0;
  return deleted;
}

size_t PlainDelete(const std::vector<Listed>& files) {
  size_t deleted = 0;
  for (const Listed& file : files) deleted += ::DeleteFileW(file.path.c_str()) ? 1 : 0;
  return deleted;
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
  bool RunToTheEnd() {
    return PumpUntil([&] { return !m_page.m_wndProgress.m_hWnd && WorkersDone(); }, 300s);
  }
  void Click(int id) { ::SendMessageA(::GetDlgItem(m_page.m_hWnd, id), BM_CLICK, 0, 0); }
  int Rows() const { return m_page.m_view.m_listResults.GetItemCount(); }
  void SelectAll() {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    m_page.m_view.m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(&state));
  }

  PageHost m_host{"Bench host"};
  CAppData m_data;
  CWindowWiperEntries m_page{&m_data};

 private:
  bool m_bReady = false;
};

struct WindowRun {
  double total = 0;        // click to the end
  double answered = 0;     // click to the "Yes"
  double started = 0;      // click to the page's return: question, window, first refill
  double workerEnded = 0;  // click to the worker's end, its final refill included
  double collect = 0;      // the selection read, alone
  double refill = 0;       // a refill over the full list, alone (the start's)
  double clear = 0;        // emptying the full list, alone (the end's)
  size_t deleted = 0;
};

bool RunWindow(SearchPageRun& host, size_t files, WindowRun& run) {
  host.Click(IDC_FIND);
  if (!host.RunToTheEnd() || static_cast<size_t>(host.Rows()) != files) {
    std::fprintf(stderr, "find listed %d rows, not %zu\n", host.Rows(), files);
    return false;
  }
  // What the list costs in the run, each measured alone on the same rows;
  // the list ends full again, as Find left it.
  CResultsView& view = host.m_page.m_view;
  auto start = Clock::now();
  view.m_listResults.DeleteAllItems();
  run.clear = Seconds(start);
  view.RefillResults();
  start = Clock::now();
  view.RefillResults();
  run.refill = Seconds(start);
  host.SelectAll();
  start = Clock::now();
  view.CollectSelectedResults();
  run.collect = Seconds(start);

  std::atomic<Clock::rep> answeredAt{0};
  BoxAnswerer yes(
      "Warning",
      [&](HWND box) {
        answeredAt = Clock::now().time_since_epoch().count();
        ClickButton(box, IDOK);
      },
      60s);
  const Clock::time_point clicked = Clock::now();
  host.Click(IDC_DELETE);
  run.started = Seconds(clicked);
  const CWindowProgressUnDelete& progress = host.m_page.m_wndProgress;
  const bool ended = PumpUntil(
      [&] {
        if (!run.workerEnded && host.WorkersDone()) run.workerEnded = Seconds(clicked);
        return !progress.m_hWnd && host.WorkersDone();
      },
      300s);
  run.total = Seconds(clicked);
  run.answered =
      std::chrono::duration<double>(Clock::time_point(Clock::duration(answeredAt.load())) - clicked)
          .count();
  if (!yes.Answered() || !ended) {
    std::fprintf(stderr, "the delete did not run to its end\n");
    return false;
  }
  run.deleted = files - static_cast<size_t>(host.Rows());
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Per-file costs of single calls, on freshly made files: microseconds a file.
struct CallCosts {
  double attributes = 0;  // GetFileAttributesExW
  double openInfo = 0;    // CreateFileW + GetFileInformationByHandle + CloseHandle
};

CallCosts MeasureCalls(const std::vector<Listed>& files) {
  CallCosts costs;
  const double count = static_cast<double>(files.size());
  auto start = Clock::now();
  for (const Listed& file : files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    ::GetFileAttributesExW(file.path.c_str(), GetFileExInfoStandard, &data);
  }
  costs.attributes = Seconds(start) * 1e6 / count;
  start = Clock::now();
  for (const Listed& file : files) {
    HANDLE handle = ::CreateFileW(file.path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) continue;
    BY_HANDLE_FILE_INFORMATION info;
    ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
  }
  costs.openInfo = Seconds(start) * 1e6 / count;
  return costs;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int files = argc > 2 ? std::max(1, std::atoi(argv[2])) : 12061;
  InstallDialogKit();

  TempDir dir;
  const std::string root = dir.Path();
  MakeFolders(root);
  SearchPageRun host(root);
  if (!host.Ready()) {
    std::fprintf(stderr, "the search page could not be created\n");
    return 1;
  }

  std::map<std::string, std::vector<double>> times;
  std::vector<double> answered, started, workerEnded, collect, refill, clear, attributes, openInfo;
  const std::vector<std::string> order = {"bare", "window", "deletew"};
  for (int round = 0; round < rounds; ++round) {
    for (size_t step = 0; step < order.size(); ++step) {
      const std::string& name = order[(step + static_cast<size_t>(round)) % order.size()];
      if (!MakeFiles(root, files)) {
        std::fprintf(stderr, "could not make the files\n");
        return 1;
      }
      size_t deleted = 0;
      double seconds = 0;
      if (name == "window") {
        WindowRun run;
        if (!RunWindow(host, static_cast<size_t>(files), run)) return 1;
        seconds = run.total;
        deleted = run.deleted;
        answered.push_back(run.answered);
        started.push_back(run.started);
        workerEnded.push_back(run.workerEnded);
        collect.push_back(run.collect);
        refill.push_back(run.refill);
        clear.push_back(run.clear);
      } else {
        const std::vector<Listed> listed = Collect(root);
        const auto start = Clock::now();
        deleted = name == "bare" ? BareCheckedDelete(listed) : PlainDelete(listed);
        seconds = Seconds(start);
      }
      if (deleted != static_cast<size_t>(files)) {
        std::fprintf(stderr, "%s deleted %zu of %d files\n", name.c_str(), deleted, files);
        return 1;
      }
      times[name].push_back(seconds);
      std::printf("round %d %-8s %.3f s\n", round + 1, name.c_str(), seconds);
      std::fflush(stdout);
    }
    // The single calls, on files of their own.
    if (!MakeFiles(root, files)) return 1;
    const std::vector<Listed> listed = Collect(root);
    const CallCosts costs = MeasureCalls(listed);
    attributes.push_back(costs.attributes);
    openInfo.push_back(costs.openInfo);
    PlainDelete(listed);
  }

  const double bare = Median(times["bare"]);
  const double window = Median(times["window"]);
  const double deletew = Median(times["deletew"]);
  const double list = Median(collect) + Median(refill) + Median(clear);
  const double perFile = 1e6 / files;
  std::printf("\n%d files, %d rounds, medians\n", files, rounds);
  std::printf("bare checked delete      %.3f s  %.0f us a file\n", bare, bare * perFile);
  std::printf("window delete            %.3f s  %.2f x bare, %.3f s beyond it\n", window,
              window / bare, window - bare);
  std::printf("plain DeleteFileW        %.3f s  %.0f us a file\n", deletew, deletew * perFile);
  std::printf(
      "  from the click: question answered %.3f s, page returned %.3f s, worker ended"
      " %.3f s, window closed %.3f s\n",
      Median(answered), Median(started), Median(workerEnded), window);
  std::printf(
      "  list: selection read %.3f s, refill over full %.3f s, emptying %.3f s"
      " (%.3f s together)\n",
      Median(collect), Median(refill), Median(clear), list);
  std::printf("  window without the list  %.3f s  %.2f x bare, %.3f s beyond it\n", window - list,
              (window - list) / bare, window - list - bare);
  std::printf(
      "per call, us a file: GetFileAttributesExW %.0f, CreateFileW + "
      "GetFileInformationByHandle + CloseHandle %.0f, disposition (bare minus that) %.0f,"
      " DeleteFileW %.0f\n",
      Median(attributes), Median(openInfo), bare * perFile - Median(openInfo), deletew * perFile);
  return 0;
}
