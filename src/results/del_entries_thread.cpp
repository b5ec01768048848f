#include "results/del_entries_thread.h"

#include <string_view>
#include <unordered_map>
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

std::string RecycleFailedText(const std::string& path) {
  return "File \"" + path + "\" cannot be moved to the Recycle Bin.";
}

std::string RecycleChangedText(const std::string& path) {
  return "File \"" + path + "\" has changed since the search and was not moved to the Recycle Bin.";
}

std::string RecycleReportText(int32_t moved, int32_t total, int32_t failed, int32_t changed) {
  std::string text = "Moved " + std::to_string(moved) + " of " + std::to_string(total) +
                     " files to the Recycle Bin";
  if (failed != 0) text += "; " + std::to_string(failed) + " could not be moved";
  if (changed != 0) text += "; " + std::to_string(changed) + " had changed since the search";
  return text;
}

std::vector<bool> MoveToRecycleBin(const std::vector<std::string>& paths, HandToBinFn hand) {
  std::vector<bool> moved(paths.size(), false);
  // One entry a path, in the order given: a file listed twice goes once.
  std::unordered_map<std::string_view, size_t> firstOf;
  std::vector<size_t> pending;
  for (size_t i = 0; i < paths.size(); ++i)
    if (firstOf.emplace(paths[i], i).second) pending.push_back(i);
  auto handOver = [&](const std::vector<size_t>& which) {
    std::vector<std::string> batch;
    batch.reserve(which.size());
    for (const size_t i : which) batch.push_back(paths[i]);
    hand(batch);
  };
  while (!pending.empty()) {
    handOver(pending);
    std::vector<size_t> left;
    for (const size_t i : pending) {
      moved[i] = !platform::PathExists(paths[i]);
      if (!moved[i]) left.push_back(i);
    }
    if (left.empty() || pending.size() == 1) break;
    // The first that stayed may be what stopped the rest: alone, it either
    // goes or is known not to.
    handOver({left.front()});
    moved[left.front()] = !platform::PathExists(paths[left.front()]);
    pending.assign(left.begin() + 1, left.end());
  }
  for (size_t i = 0; i < paths.size(); ++i) moved[i] = moved[firstOf.at(paths[i])];
  return moved;
}

std::string DeleteReportText(int32_t deleted, int32_t total, int32_t failed, int32_t changed) {
  std::string text =
      "Deleted " + std::to_string(deleted) + " of " + std::to_string(total) + " files";
  if (failed != 0) text += "; " + std::to_string(failed) + " could not be deleted";
  if (changed != 0) text += "; " + std::to_string(changed) + " had changed since the search";
  return text;
}

std::string CDelEntriesThread::GetReportText() const {
  return (m_bRecycle ? RecycleReportText : DeleteReportText)(m_nDeleted.load(), m_nTotal.load(),
                                                             m_nFailed.load(), m_nChanged.load());
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
  // Files checked for the bin, waiting for their batch.
  struct Waiting {
    size_t row;
    IdentityKey key;
  };
  std::vector<Waiting> waiting;
  std::vector<std::string> waitingPaths;

  auto gone = [&](size_t row, const IdentityKey& key) {
    deleted[row] = true;
    deletedFiles.insert(key);
    if (key.identity.fileId != platform::kNoFileId)
      deletedNumbers.insert({key.identity.volume, key.identity.fileId});
    m_nDeleted.store(++deletedCount);
    Sink().PostProgress();
  };
  // Counts and asks about a file left where it was; false on Cancel, which
  // leaves the rest of the store as it is.
  auto leftAlone = [&](platform::RemoveResult result, const std::string& path) {
    const bool changed = result == platform::RemoveResult::Changed;
    (changed ? m_nChanged : m_nFailed).fetch_add(1);
    if (answer != ASK_SKIP_ALL) {
      // Without a window nobody can answer; that is as good as closing the box.
      answer = Sink().AskChoice(m_bRecycle
                                    ? (changed ? RecycleChangedText(path) : RecycleFailedText(path))
                                    : (changed ? FileChangedText(path) : DeleteFailedText(path)));
      if (answer != ASK_SKIP && answer != ASK_SKIP_ALL) {
        m_bStop.store(1);
        return false;
      }
    }
    Sink().PostProgress();
    return true;
  };
  auto toTheBin = [&] {
    const std::vector<bool> moved = MoveToRecycleBin(waitingPaths, m_pfnHandToBin);
    bool goOn = true;
    for (size_t i = 0; i < waiting.size() && goOn; ++i) {
      if (moved[i])
        gone(waiting[i].row, waiting[i].key);
      else
        goOn = leftAlone(platform::RemoveResult::Failed, waitingPaths[i]);
    }
    waiting.clear();
    waitingPaths.clear();
    return goOn;
  };

  const auto take = m_bRecycle ? m_pfnCheckFile : m_pfnRemoveFile;
  std::string path;
  bool cancelled = false;
  for (size_t row = 0; row < deleted.size() && !cancelled; ++row) {
    if (PollStop()) break;
    if (store.m_arrDeleteMarks[row] == 0) continue;
    path.assign(store.m_arrFoundLocations[row]).append(store.m_arrFoundNames[row]);
    const IdentityKey key{store.m_arrFoundIdentities[row], store.m_arrFoundSizes[row]};
    platform::RemoveResult result = take(path, key.identity, key.size, memory);
    const FileNumber number{key.identity.volume, key.identity.fileId};
    if (result == platform::RemoveResult::Changed && number.fileId != platform::kNoFileId &&
        deletedNumbers.count(number) != 0) {
      platform::FileIdentity unchanged = key.identity;
      unchanged.changed = platform::kNoChangeTime;  // the one thing allowed to differ
      result = take(path, unchanged, key.size, memory);
    }
    if (result == platform::RemoveResult::Gone && deletedFiles.count(key) != 0) {
      gone(row, key);
    } else if (result != platform::RemoveResult::Removed) {
      cancelled = !leftAlone(result, path);
    } else if (!m_bRecycle) {
      gone(row, key);
    } else {
      waiting.push_back({row, key});
      waitingPaths.push_back(path);
      if (waiting.size() >= m_nBinBatch) cancelled = !toTheBin();
    }
  }
  // A stop leaves the files still waiting where they are, unmoved and listed.
  if (!cancelled && !m_bStop.load() && !waiting.empty()) toTheBin();
  store.m_arrRemovedRows = std::move(deleted);
  Sink().PostFinished();
}
