#include "results/del_entries_thread.h"

#include <unordered_set>

namespace {

struct IdentityKey {
  platform::FileIdentity identity;
  uint64_t size = 0;
  bool operator==(const IdentityKey&) const = default;
};

// A file's number on its volume: what every name of the file shares.
struct FileNumber {
  uint64_t volume = 0;
  uint64_t fileId = 0;
  bool operator==(const FileNumber&) const = default;
};

struct FileNumberHash {
  size_t operator()(const FileNumber& key) const {
    return static_cast<size_t>((key.volume * 0x9E3779B97F4A7C15ULL) ^ key.fileId);
  }
};

struct IdentityKeyHash {
  size_t operator()(const IdentityKey& key) const {
    const platform::FileIdentity& id = key.identity;
    uint64_t h = id.volume * 0x9E3779B97F4A7C15ULL;
    for (const uint64_t part : {id.fileId, id.created, id.modified, id.changed, key.size})
      h = (h ^ part) * 0x100000001B3ULL;
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

}  // namespace

std::string DeleteFailedText(const std::string& path) {
  // "File " and then " \"": two blanks stand before the quote.
  return "File " + (" \"" + path) + "\" cannot be deleted.";
}

std::string FileChangedText(const std::string& path) {
  return "File " + (" \"" + path) + "\" has changed since the search and was not deleted.";
}

std::string DeleteReportText(int32_t deleted, int32_t total, int32_t failed, int32_t changed) {
  std::string text =
      "Deleted " + std::to_string(deleted) + " of " + std::to_string(total) + " files";
  if (failed != 0) text += "; " + std::to_string(failed) + " could not be deleted";
  if (changed != 0) text += "; " + std::to_string(changed) + " had changed since the search";
  return text;
}

std::string CDelEntriesThread::GetReportText() const {
  return DeleteReportText(m_nDeleted.load(), m_nTotal.load(), m_nFailed.load(), m_nChanged.load());
}

CWorkerThread::CountTexts CDelEntriesThread::GetCountTexts() const {
  return {"Total number of files:" + std::to_string(m_nTotal.load()),
          "Number of deleted files: " + std::to_string(m_nDeleted.load())};
}

void CDelEntriesThread::Work() {
  int32_t answer = ASK_NOT_YET;
  m_nDeleted.store(0);
  m_nFailed.store(0);
  m_nChanged.store(0);
  CAppData& store = *m_pAppData;
  m_nTotal.store(m_pSelectedResults ? static_cast<int32_t>(m_pSelectedResults->size()) : 0);
  m_nRowCount = static_cast<int32_t>(store.GetResultCount());
  Sink().PostProgress();

  // Rows of deleted files are only flagged here; the final refill drops them
  // all at once on the user-interface thread, so the list never reads a row
  // that moves under it. Rows keep their places meanwhile, so every mark is
  // read where the page set it.
  std::vector<bool> deleted(static_cast<size_t>(m_nRowCount), false);
  int32_t deletedCount = 0;
  // The files this run deleted, by identity and size: a file listed twice
  // (overlapping folders, a link into another listed folder) is gone when its
  // second row comes, and that row counts as deleted, not as a failure.
  std::unordered_set<IdentityKey, IdentityKeyHash> deletedFiles;
  // The numbers of the files deleted: a second name (hard link) of one of
  // them finds its change time moved by the first name's delete, and
  // nothing else.
  std::unordered_set<FileNumber, FileNumberHash> deletedNumbers;
  platform::RemovalMemory memory;
  std::string path;
  for (size_t row = 0; row < deleted.size(); ++row) {
    if (PollStop()) break;
    if (store.m_arrDeleteMarks[row] == 0) continue;
    path.assign(store.m_arrFoundLocations[row]).append(store.m_arrFoundNames[row]);
    const IdentityKey key{store.m_arrFoundIdentities[row], store.m_arrFoundSizes[row]};
    platform::RemoveResult result = m_pfnRemoveFile(path, key.identity, key.size, memory);
    const FileNumber number{key.identity.volume, key.identity.fileId};
    if (result == platform::RemoveResult::Changed && number.fileId != platform::kNoFileId &&
        deletedNumbers.count(number) != 0) {
      platform::FileIdentity unchanged = key.identity;
      unchanged.changed = platform::kNoChangeTime;  // the one thing allowed to differ
      result = m_pfnRemoveFile(path, unchanged, key.size, memory);
    }
    if (result == platform::RemoveResult::Gone && deletedFiles.count(key) != 0) {
      result = platform::RemoveResult::Removed;
    } else if (result == platform::RemoveResult::Removed) {
      deletedFiles.insert(key);
      if (number.fileId != platform::kNoFileId) deletedNumbers.insert(number);
    }
    if (result == platform::RemoveResult::Removed) {
      deleted[row] = true;
      m_nDeleted.store(++deletedCount);
      Sink().PostProgress();
      continue;
    }
    (result == platform::RemoveResult::Changed ? m_nChanged : m_nFailed).fetch_add(1);
    if (answer != ASK_SKIP_ALL) {
      // Without a window nobody can answer; that is as good as closing the box.
      answer = Sink().AskChoice(result == platform::RemoveResult::Changed ? FileChangedText(path)
                                                                          : DeleteFailedText(path));
      if (answer != ASK_SKIP && answer != ASK_SKIP_ALL) {
        m_bStop.store(1);  // Cancel: the rest of the store stays as it is
        break;
      }
    }
    Sink().PostProgress();
  }
  store.m_arrRemovedRows = std::move(deleted);
  Sink().PostFinished();
}
