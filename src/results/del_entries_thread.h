#pragma once
// The delete worker: walks the result store row by row, deletes the file of
// every marked row for good, asks Cancel / Skip / Skip all when one cannot be
// deleted, and leaves in the store exactly the rows whose files it did not
// delete.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/worker_sink.h"
#include "framework/worker_thread.h"
#include "platform/file_system.h"
#include "settings/app_data.h"

// The failure questions for one path: it cannot be deleted, or it is no
// longer the file that was found (replaced, rewritten, or reached through a
// folder that now leads elsewhere), so it was left alone.
std::string DeleteFailedText(const std::string& path);
std::string FileChangedText(const std::string& path);
// "Deleted D of T files", then "; F could not be deleted" and "; C had
// changed since the search" where they are not 0, and "; cancelled" when the
// run ended before its last row.
std::string DeleteReportText(int32_t deleted, int32_t total, int32_t failed, int32_t changed,
                             bool cancelled = false);
// The same for a run that moves files to the Recycle Bin.
std::string RecycleFailedText(const std::string& path);
std::string RecycleChangedText(const std::string& path);
std::string RecycleReportText(int32_t moved, int32_t total, int32_t failed, int32_t changed,
                              bool cancelled = false);

// One shell operation, handing files to the Recycle Bin (platform::HandToRecycleBin).
using HandToBinFn = void (*)(const std::vector<std::string>& paths);
enum class BinOutcome { kMoved, kRefused, kNotTried };
// What one run to the bin remembers from batch to batch: the volumes whose
// bin refuses every file.
struct RecycleMemory {
  std::vector<uint64_t> refusedVolumes;
};
// Moves the files to the bin in as few operations as it can, a volume at a
// time, and tells what became of each: moved (nothing is found where it
// was), refused, or not tried (the stop flag, read between operations, came
// first). The shell may stop at a file it cannot move (Wine's does) or pass
// over it; so when some stay, the first of them is tried alone, and the rest
// after it are handed on together again. A volume where two such passes in a
// row move nothing, the file tried alone between them included, has no bin
// for this run: the rest of its files are refused without another operation.
std::vector<BinOutcome> MoveToRecycleBin(const std::vector<std::string>& paths,
                                         const std::vector<uint64_t>& volumes, HandToBinFn hand,
                                         RecycleMemory& memory, const std::atomic<int32_t>& stop);

class CDelEntriesThread : public CWorkerThread {
 public:
  // `selectedResults` is the search page's m_arrSelectedResults: its length,
  // read when the run starts, is the number of rows the user chose.
  explicit CDelEntriesThread(const std::vector<int32_t>* selectedResults,
                             CAppData* appData = &g_AppData)
      : CWorkerThread(appData->m_nTask, appData->m_nRunningTask),
        m_pSelectedResults(selectedResults),
        m_pAppData(appData) {}

  const std::vector<int32_t>* m_pSelectedResults;
  CAppData* m_pAppData;
  std::atomic<int32_t> m_nTotal{0};
  std::atomic<int32_t> m_nDeleted{0};
  // Rows whose file could not be deleted, and rows whose file had changed
  // since the search, for the report after the run.
  std::atomic<int32_t> m_nFailed{0};
  std::atomic<int32_t> m_nChanged{0};
  int32_t m_nRowCount = 0;

  CountTexts GetCountTexts() const override;
  const char* GetCaption() const override;
  const char* GetStopQuestion() const override;
  const char* GetExitQuestion() const override;
  std::string GetReportText() const override;

  // How one file is checked and deleted; the benchmark swaps in a stub to
  // time the bookkeeping alone. Set before the thread runs.
  platform::RemoveResult (*m_pfnRemoveFile)(
      const std::string& path, const platform::FileIdentity& identity, uint64_t size,
      platform::RemovalMemory& memory) = &platform::RemoveFileIfSame;

  // Moves the files to the Recycle Bin instead of deleting them for good:
  // the marked rows are taken in batches; each file of a batch is checked as
  // the delete checks it (m_pfnCheckFile), those that pass go to the bin
  // together (m_pfnHandToBin), and only then is anything asked. Set before
  // the thread runs.
  bool m_bRecycle = false;
  platform::RemoveResult (*m_pfnCheckFile)(
      const std::string& path, const platform::FileIdentity& identity, uint64_t size,
      platform::RemovalMemory& memory) = &platform::CheckFileIfSame;
  HandToBinFn m_pfnHandToBin = &platform::HandToRecycleBin;
  // Rows to a batch, at most: a batch costs one shell operation, and its
  // first file's check waits for the checks of the rest.
  size_t m_nBinBatch = 256;

 private:
  void Work() override;
  bool m_bCancelled = false;  // by a Cancel or a stop, before the last row
};
