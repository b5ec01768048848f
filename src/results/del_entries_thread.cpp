#include "results/del_entries_thread.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

std::string RecycleReportText(int32_t moved, int32_t total, int32_t failed, int32_t changed,
                              bool cancelled) {
  std::string text = "Moved " + std::to_string(moved) + " of " + std::to_string(total) +
                     " files to the Recycle Bin";
  if (failed != 0) text += "; " + std::to_string(failed) + " could not be moved";
  if (changed != 0) text += "; " + std::to_string(changed) + " had changed since the search";
  if (cancelled) text += "; cancelled";
  return text;
}

std::vector<BinOutcome> MoveToRecycleBin(const std::vector<std::string>& paths,
                                         const std::vector<uint64_t>& volumes, HandToBinFn hand,
                                         RecycleMemory& memory, const std::atomic<int32_t>& stop) {
  std::vector<BinOutcome> outcome(paths.size(), BinOutcome::kNotTried);
  // One entry a path, in the order given: a file listed twice goes once.
  std::unordered_map<std::string_view, size_t> firstOf;
  // The paths of each volume, volumes in the order they come.
  std::vector<std::pair<uint64_t, std::vector<size_t>>> byVolume;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!firstOf.emplace(paths[i], i).second) continue;
    auto volume = std::find_if(byVolume.begin(), byVolume.end(),
                               [&](const auto& entry) { return entry.first == volumes[i]; });
    if (volume == byVolume.end()) {
      byVolume.emplace_back(volumes[i], std::vector<size_t>{});
      volume = byVolume.end() - 1;
    }
    volume->second.push_back(i);
  }
  auto handOver = [&](const std::vector<size_t>& which) {
    std::vector<std::string> batch;
    batch.reserve(which.size());
    for (const size_t i : which) batch.push_back(paths[i]);
    hand(batch);
  };
  // Gone means the system finds nothing there; a path it cannot read for
  // another reason may still hold the file.
  auto settle = [&](size_t i) {
    outcome[i] = platform::IsNotFound(paths[i]) ? BinOutcome::kMoved : BinOutcome::kRefused;
    return outcome[i] == BinOutcome::kMoved;
  };
  std::vector<uint64_t>& refused = memory.refusedVolumes;
  for (auto& [volume, pending] : byVolume) {
    if (std::find(refused.begin(), refused.end(), volume) != refused.end()) {
      for (const size_t i : pending) outcome[i] = BinOutcome::kRefused;
      continue;
    }
    int idlePasses = 0;  // passes of several files in a row that moved nothing
    // What a stop leaves untried, or tried in a pass that may have ended
    // before it, is not known to be refused.
    auto stopped = [&](const std::vector<size_t>& untried) {
      if (stop.load() == 0) return false;
      for (const size_t i : untried) outcome[i] = BinOutcome::kNotTried;
      return true;
    };
    while (!pending.empty() && !stopped(pending)) {
      handOver(pending);
      std::vector<size_t> left;
      for (const size_t i : pending)
        if (!settle(i)) left.push_back(i);
      if (left.empty() || pending.size() == 1) break;
      if (left.size() < pending.size()) {
        idlePasses = 0;
      } else if (++idlePasses == 2) {
        refused.push_back(volume);
        break;
      }
      if (stopped(left)) break;
      // The first that stayed may be what stopped the rest: alone, it either
      // goes or is known not to.
      handOver({left.front()});
      if (settle(left.front())) idlePasses = 0;
      pending.assign(left.begin() + 1, left.end());
    }
  }
  for (size_t i = 0; i < paths.size(); ++i) outcome[i] = outcome[firstOf.at(paths[i])];
  return outcome;
}

std::string DeleteReportText(int32_t deleted, int32_t total, int32_t failed, int32_t changed,
                             bool cancelled) {
  std::string text =
      "Deleted " + std::to_string(deleted) + " of " + std::to_string(total) + " files";
  if (failed != 0) text += "; " + std::to_string(failed) + " could not be deleted";
  if (changed != 0) text += "; " + std::to_string(changed) + " had changed since the search";
  if (cancelled) text += "; cancelled";
  return text;
}

std::string CDelEntriesThread::GetReportText() const {
  return (m_bRecycle ? RecycleReportText : DeleteReportText)(
      m_nDeleted.load(), m_nTotal.load(), m_nFailed.load(), m_nChanged.load(), m_bCancelled);
}

CWorkerThread::CountTexts CDelEntriesThread::GetCountTexts() const {
  return {"Total number of files:" + std::to_string(m_nTotal.load()),
          (m_bRecycle ? "Number of moved files: " : "Number of deleted files: ") +
              std::to_string(m_nDeleted.load())};
}

const char* CDelEntriesThread::GetCaption() const {
  return m_bRecycle ? "Moving Files to the Recycle Bin" : "Deleting Files";
}

const char* CDelEntriesThread::GetStopQuestion() const {
  return m_bRecycle ? "Do you want to stop moving files to the Recycle Bin?"
                    : "Do you want to terminate deleting?";
}

const char* CDelEntriesThread::GetExitQuestion() const {
  return m_bRecycle ? "Moving Files to the Recycle Bin. Do you really want to exit?"
                    : "Deleting Files. Do you really want to exit?";
}

void CDelEntriesThread::Work() {
  int32_t answer = ASK_NOT_YET;
  m_nDeleted.store(0);
  m_nFailed.store(0);
  m_nChanged.store(0);
  m_bCancelled = false;
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

  auto gone = [&](size_t row, const IdentityKey& key) {
    deleted[row] = true;
    deletedFiles.insert(key);
    if (key.identity.fileId != platform::kNoFileId)
      deletedNumbers.insert({key.identity.volume, key.identity.fileId});
    m_nDeleted.store(++deletedCount);
    Sink().PostProgress();
  };
  // Asks about a file left where it was (counted already); false on Cancel,
  // which leaves the rest of the store as it is.
  auto ask = [&](platform::RemoveResult result, const std::string& path) {
    if (answer != ASK_SKIP_ALL) {
      const bool changed = result == platform::RemoveResult::Changed;
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
  auto count = [&](platform::RemoveResult result) {
    (result == platform::RemoveResult::Changed ? m_nChanged : m_nFailed).fetch_add(1);
  };
  // The file of the row as the search found it: Removed when it still is,
  // and for the delete, gone.
  const auto take = m_bRecycle ? m_pfnCheckFile : m_pfnRemoveFile;
  auto look = [&](const std::string& path, const IdentityKey& key) {
    platform::RemoveResult result = take(path, key.identity, key.size, memory);
    const FileNumber number{key.identity.volume, key.identity.fileId};
    if (result == platform::RemoveResult::Changed && number.fileId != platform::kNoFileId &&
        deletedNumbers.count(number) != 0) {
      platform::FileIdentity unchanged = key.identity;
      unchanged.changed = platform::kNoChangeTime;  // the one thing allowed to differ
      result = take(path, unchanged, key.size, memory);
    }
    return result;
  };

  // The bin's batch: rows taken in order, checked only when it is handed
  // over, so that between a file's check and its move lies this batch's work
  // and never an answer. Every move is counted before any question, so that
  // a Cancel leaves no moved file listed.
  struct BinRow {
    size_t row;
    IdentityKey key;
    std::string path;
    platform::RemoveResult result = platform::RemoveResult::Failed;
    bool checked = false;
    BinOutcome outcome = BinOutcome::kNotTried;
  };
  std::vector<BinRow> batch;
  RecycleMemory binMemory;
  // False when the run is to end: a Cancel, or a stop.
  auto toTheBin = [&] {
    std::vector<std::string> paths;
    std::vector<uint64_t> volumes;
    std::vector<BinRow*> handed;
    bool stopped = false;
    for (BinRow& entry : batch) {
      if ((stopped = m_bStop.load() != 0)) break;
      entry.result = look(entry.path, entry.key);
      entry.checked = true;
      if (entry.result == platform::RemoveResult::Gone && deletedFiles.count(entry.key) != 0) {
        entry.outcome = BinOutcome::kMoved;
      } else if (entry.result == platform::RemoveResult::Removed) {
        if (platform::CanHandToRecycleBin(entry.path)) {
          paths.push_back(entry.path);
          volumes.push_back(entry.key.identity.volume);
          handed.push_back(&entry);
        } else {
          entry.result = platform::RemoveResult::Failed;
        }
      }
    }
    if (!stopped && !paths.empty()) {
      const std::vector<BinOutcome> moved =
          MoveToRecycleBin(paths, volumes, m_pfnHandToBin, binMemory, m_bStop);
      for (size_t i = 0; i < handed.size(); ++i) {
        handed[i]->outcome = moved[i];
        if (moved[i] == BinOutcome::kRefused) handed[i]->result = platform::RemoveResult::Failed;
      }
    }
    for (const BinRow& entry : batch)
      if (entry.outcome == BinOutcome::kMoved) gone(entry.row, entry.key);
    // What stayed: counted, then asked about unless the run is stopping (a
    // stop asked for meanwhile, or while a question of the window was open).
    bool goOn = !PollStop();
    for (const BinRow& entry : batch) {
      const bool left = entry.checked && entry.outcome != BinOutcome::kMoved &&
                        entry.result != platform::RemoveResult::Removed;
      if (!left) continue;
      count(entry.result);
      goOn = goOn && ask(entry.result, entry.path);
    }
    batch.clear();
    return goOn;
  };

  std::string path;
  bool ended = false;  // before the last row, by a Cancel or a stop
  for (size_t row = 0; row < deleted.size() && !ended; ++row) {
    if ((ended = PollStop())) break;
    if (store.m_arrDeleteMarks[row] == 0) continue;
    path.assign(store.m_arrFoundLocations[row]).append(store.m_arrFoundNames[row]);
    const IdentityKey key{store.m_arrFoundIdentities[row], store.m_arrFoundSizes[row]};
    if (m_bRecycle) {
      batch.push_back({row, key, path});
      if (batch.size() >= m_nBinBatch) ended = !toTheBin();
      continue;
    }
    const platform::RemoveResult result = look(path, key);
    if (result == platform::RemoveResult::Removed ||
        (result == platform::RemoveResult::Gone && deletedFiles.count(key) != 0)) {
      gone(row, key);
    } else {
      count(result);
      ended = !ask(result, path);
    }
  }
  if (!ended && !batch.empty()) ended = !toTheBin();
  m_bCancelled = ended;
  store.m_arrRemovedRows = std::move(deleted);
  Sink().PostFinished();
}
