// Times a delete run's own bookkeeping over a full store: 100000 marked rows,
// the file calls stubbed out and the progress window replaced by a sink that
// only counts, so what is left is the row loop and the removal of the
// deleted rows from the six columns.
//
//   quillory-delete-bench [rows]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "results/del_entries_thread.h"

namespace {

class CountingSink : public IWorkerSink {
 public:
  void SendStarted() override {}
  void SendProgress() override {}
  void PostProgress() override { m_nPosted.fetch_add(1, std::memory_order_relaxed); }
  void PostFinished() override {}
  int AskChoice(const std::string&) override { return ASK_SKIP_ALL; }
  void ShowMessage(const std::string&) override {}
  // The rows of deleted files go in the refill, as in the window.
  void RefillResults(const std::string&) override { m_pStore->DropRemovedResults(); }
  void NotifyShell() override {}
  std::atomic<int> m_nPosted{0};
  CAppData* m_pStore = nullptr;
};

using RemoveFn = platform::RemoveResult (*)(const std::string&, const platform::FileIdentity&,
                                            uint64_t, platform::RemovalMemory&);

platform::RemoveResult RemoveEveryFile(const std::string&, const platform::FileIdentity&, uint64_t,
                                       platform::RemovalMemory&) {
  return platform::RemoveResult::Removed;
}
// Every other file "fails": half the rows stay, spread through the store.
platform::RemoveResult RemoveEveryOtherFile(const std::string& path, const platform::FileIdentity&,
                                            uint64_t, platform::RemovalMemory&) {
  return (path[path.size() - 5] - '0') % 2 == 0 ? platform::RemoveResult::Removed
                                                : platform::RemoveResult::Failed;
}

struct Result {
  double ms;
  size_t rowsLeft;
  int32_t deleted;
};

Result RunOnce(size_t rows, RemoveFn removeFile) {
  CAppData data;
  char name[48];
  for (size_t i = 0; i < rows; ++i) {
    std::snprintf(name, sizeof name, "document %06zu.txt", i);
    data.AddResult(name, "C:\\Users\\someone\\Documents\\projects\\2024\\", "txt", 37 * i + 1,
                   "01/15/24 12:30:00");
  }
  std::vector<int32_t> selected(rows);
  for (size_t i = 0; i < rows; ++i) {
    data.m_arrDeleteMarks[i] = 1;
    selected[i] = static_cast<int32_t>(i);
  }
  CountingSink sink;
  sink.m_pStore = &data;
  CDelEntriesThread worker(&selected, &data);
  worker.m_pProgressDlg = &sink;
  worker.m_pfnRemoveFile = removeFile;

  const auto start = std::chrono::steady_clock::now();
  worker.ResumeThread();
  if (!worker.WaitUntilDone(std::chrono::minutes(10))) {
    std::fprintf(stderr, "the run did not finish\n");
    std::exit(1);
  }
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  return {elapsed.count(), data.GetResultCount(), worker.m_nDeleted.load()};
}

void Measure(const char* label, size_t rows, RemoveFn removeFile) {
  std::vector<double> times;
  Result result{};
  for (int i = 0; i < 5; ++i) {
    result = RunOnce(rows, removeFile);
    times.push_back(result.ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("%-28s %zu rows, %d deleted, %zu left: median %.1f ms (min %.1f, max %.1f)\n", label,
              rows, result.deleted, result.rowsLeft, times[2], times[0], times[4]);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  std::printf("delete run, file deletions stubbed out, 5 runs each\n");
  Measure("every marked file deleted", rows, &RemoveEveryFile);
  Measure("every other file fails", rows, &RemoveEveryOtherFile);
  return 0;
}
