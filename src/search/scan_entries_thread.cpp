#include "search/scan_entries_thread.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/text.h"

const char* const kMsgResultLimit =
    "The number of found files exceeds the %d limit.\nTo ensure normal viewing, the results "
    "will be truncated.\nIf necessary, please set new search criteria.";

namespace {

constexpr int64_t kSeconds1900To1970 = 2208988800;

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

int64_t FileTicksToSeconds(platform::FileTicks ticks) {
  // Zero is what a file system that keeps no such time reports.
  if (ticks == 0 || ticks >= 0x8000000000000000ULL) return platform::kNoFileTime;
  const int64_t seconds = platform::TicksToSeconds(ticks);
  return seconds < -kSeconds1900To1970 ? platform::kNoFileTime : seconds;
}

CWorkerThread::CountTexts CScanEntriesThread::GetCountTexts() const {
  // No blank after the colon on the first line; the window shows them so.
  return {"Number of processed files:" + std::to_string(m_nProcessed.load()),
          "Found " + std::to_string(m_nFound.load()) + " files"};
}

void CScanEntriesThread::Work() {
  m_nMissingAnswer = ASK_NOT_YET;
  m_nProcessed.store(0);
  m_nFound.store(0);
  m_bLimitReached = false;

  const std::vector<std::string>& folders = m_pAppData->m_arrFolders;
  for (const std::string& folder : folders) {
    if (PollStop()) {
      Sink().PostFinished();
      return;
    }
    if (m_bLimitReached) break;  // the warning ended the walk
    ScanFolder(folder);
  }

  Sink().PostProgress();
  // Listed folders that do not exist are reported only now, after the walk.
  for (const std::string& folder : folders) {
    const bool missing = !platform::PathExists(folder);
    if (missing && m_nMissingAnswer != ASK_SKIP_ALL && m_nMissingAnswer != ASK_CANCEL)
      m_nMissingAnswer = Sink().AskChoice(" \"" + folder + "\" not found.");
    if (missing && m_nMissingAnswer == ASK_CANCEL) m_bStop.store(1);
    if (PollStop()) break;
  }
  Sink().PostFinished();
}

// One folder of the walk: its open listing and where its entries lie.
struct CScanEntriesThread::Level {
  platform::FolderListing listing;
  std::string path;
  std::string location;  // the path ending in a separator
  bool fresh = true;     // Open has read the first entry, not yet taken
};

// Depth-first, each folder's entries in listing order and a sub-folder walked
// where it is met, on a stack of open listings of our own rather than the
// thread's: a tree some thousands of folders deep would overflow that.
void CScanEntriesThread::ScanFolder(const std::string& path) {
  const CSkipFolders& skip = m_pCriteria->m_skipFolders;
  const std::vector<std::u32string> skipPaths = skip.PathsUnder(path);
  std::vector<Level> levels;
  EnterFolder(levels, path, nullptr);
  while (!levels.empty()) {
    Level& level = levels.back();
    if (!std::exchange(level.fresh, false) && !level.listing.Next(m_entry)) {
      levels.pop_back();
      continue;
    }
    if (ShouldUnwind()) return;
    if (!(m_entry.attributes & platform::kAttrDirectory)) {
      ExamineFile(level.listing, level.location);
      continue;
    }
    if (IsDotEntry(m_entry.name)) continue;
    // Asked per folder met, never per file: an empty list costs one test.
    if (!skip.Empty() && skip.Matches(m_entry.name, level.location, skipPaths)) continue;
    std::string sub = level.location + m_entry.name;
    // A folder's entries lie on its volume; only a link or mount point leads
    // to another, so only there is it asked again.
    const bool crossing = (m_entry.attributes & platform::kAttrReparsePoint) != 0;
    if (crossing && LeadsBackUp(level.path, sub)) continue;
    const uint64_t volume = level.listing.Volume();
    EnterFolder(levels, std::move(sub), crossing ? nullptr : &volume);  // `level` moves here
  }
}

void CScanEntriesThread::EnterFolder(std::vector<Level>& levels, std::string path,
                                     const uint64_t* volume) {
  // One look tells both whether it exists and whether it is a folder.
  const uint32_t attributes = platform::GetAttributes(path);
  if (attributes == platform::kInvalidAttributes || !(attributes & platform::kAttrDirectory))
    return;
  Level level;
  // A folder that cannot be listed (access denied and the like) is passed
  // over silently.
  if (!level.listing.Open(path, m_scratch, m_entry, volume)) return;
  level.location = platform::EndsWithSeparator(path) ? path : path + platform::kSeparator;
  level.path = std::move(path);
  levels.push_back(std::move(level));
}

// One file of the listing: a fresh look at its attributes (a file gone since
// the listing is passed over uncounted), then the three tests.
void CScanEntriesThread::ExamineFile(const platform::FolderListing& listing,
                                     const std::string& location) {
  m_strFullPath.assign(location).append(m_entry.name);
  if (listing.EntryAttributes(m_strFullPath, m_entry) == platform::kInvalidAttributes) return;
  m_nProcessed.fetch_add(1);

  // The cheap tests first; the time is converted, and the type lower-cased
  // for its row, only for a file that passed them.
  std::string type = ExtensionOf(m_entry.name);
  if (MatchesExtension(*m_pCriteria, type) && MatchesSize(*m_pCriteria, m_entry.size)) {
    const platform::FileTicks ticks = m_pCriteria->m_nDateField == DATE_CREATED ? m_entry.created
                                      : m_pCriteria->m_nDateField == DATE_ACCESSED
                                          ? m_entry.accessed
                                          : m_entry.modified;
    const int64_t time = FileTicksToSeconds(ticks);
    if (MatchesDate(*m_pCriteria, time)) {
      platform::ToLower(type);
      if (!RecordMatch(location, type, time, listing.Identity(m_entry)))
        return;  // the limit: no progress after the warning
    }
  }
  Sink().SendProgress();
}

bool CScanEntriesThread::RecordMatch(const std::string& location, const std::string& type,
                                     int64_t time, const platform::FileIdentity& identity) {
  const uint32_t found = m_nFound.fetch_add(1) + 1;
  if (found > RESULT_LIMIT) {
    m_bLimitReached = true;
    char text[256];
    std::snprintf(text, sizeof text, kMsgResultLimit, static_cast<int>(RESULT_LIMIT));
    Sink().ShowMessage(text);
    return false;
  }
  m_pAppData->m_nFoundCount = found;
  m_pAppData->AddResult(
      m_entry.name, location, type, m_entry.size,
      time == platform::kNoFileTime ? std::string() : platform::FormatDateTime(time), time,
      identity);
  return true;
}

// A link or junction whose target is the folder being walked or one of its
// ancestors would make the walk go round for ever, listing the same files
// again at every turn.
bool CScanEntriesThread::LeadsBackUp(const std::string& folder, const std::string& linkPath) const {
  platform::FolderId target;
  if (!platform::GetFolderId(linkPath, target)) return false;
  // The folder and each of its ancestors, cut at each separator; a root
  // ("C:\\", "/") keeps its separator.
  std::vector<size_t> cuts;
  platform::ForEachSeparator(folder, [&](size_t i) { cuts.push_back(i); });
  cuts.push_back(folder.size());
  for (const size_t cut : cuts) {
    std::string prefix = folder.substr(0, cut);
    if (prefix.empty() || prefix.back() == ':') prefix = folder.substr(0, cut + 1);
    platform::FolderId ancestor;
    if (platform::GetFolderId(prefix, ancestor) && ancestor == target) return true;
  }
  return false;
}
