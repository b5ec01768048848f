#include "search/scan_entries_thread.h"

#include <cstdio>
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
  if (ticks >= 0x8000000000000000ULL) return 0;  // beyond what the system converts
  const int64_t seconds = platform::TicksToSeconds(ticks);
  return seconds < -kSeconds1900To1970 ? 0 : seconds;
}

bool CScanEntriesThread::InitInstance() {
  m_bStop.store(0);
  m_nMissingAnswer = ASK_NOT_YET;
  m_nProcessed.store(0);
  m_nFound.store(0);
  m_strStatus.clear();
  m_bLimitReached = false;
  IWorkerSink* sink = m_pProgressDlg;

  if (sink) sink->SendStarted();

  const std::vector<std::string>& folders = m_pAppData->m_arrFolders;
  m_nFolderCount = static_cast<int32_t>(folders.size());
  bool finished = false;
  for (const std::string& folder : folders) {
    if (PollStop()) {
      if (sink) sink->PostFinished();
      finished = true;
      break;
    }
    if (m_bLimitReached) break;  // the warning ended the walk
    ScanFolder(folder);
  }

  if (!finished) {
    if (sink) sink->PostProgress();
    // Listed folders that do not exist are reported only now, after the walk.
    for (const std::string& folder : folders) {
      m_strFolder = folder;
      const bool missing = !platform::PathExists(m_strFolder);
      if (missing && m_nMissingAnswer != ASK_SKIP_ALL && m_nMissingAnswer != ASK_CANCEL) {
        m_nMissingAnswer = sink ? sink->AskChoice(" \"" + m_strFolder + "\" not found.") : ASK_CANCEL;
      }
      if (missing && m_nMissingAnswer == ASK_CANCEL) m_bStop.store(1);
      if (PollStop()) break;
    }
    if (sink) sink->PostFinished();
  }

  m_pAppData->m_nRunningTask = 0;
  m_pAppData->m_nTask = 0;
  m_bStop.store(1);
  if (sink) {
    sink->RefillResults();
    sink->NotifyShell();
  }
  return true;
}

void CScanEntriesThread::ScanFolder(std::string path) {
  if (!platform::PathExists(path)) return;
  const uint32_t attributes = platform::GetAttributes(path);
  if (attributes == platform::kInvalidAttributes || !(attributes & platform::kAttrDirectory))
    return;

  platform::FolderListing listing;
  if (!listing.Open(path, m_entry)) return;  // access denied and the like: silently
  const std::string location =
      platform::EndsWithSeparator(path) ? path : path + platform::kSeparator;
  std::string fullPath;
  do {
    if (ShouldUnwind()) return;
    if (m_entry.attributes & platform::kAttrDirectory) {
      if (IsDotEntry(m_entry.name)) continue;
      std::string sub = location + m_entry.name;
      if ((m_entry.attributes & platform::kAttrReparsePoint) && LeadsBackUp(path, sub)) continue;
      ScanFolder(std::move(sub));
      continue;
    }
    fullPath.assign(location).append(m_entry.name);
    if (listing.EntryAttributes(fullPath, m_entry) == platform::kInvalidAttributes) continue;

    m_nProcessed.fetch_add(1);
    m_bNameMatch = m_bSizeMatch = m_bDateMatch = 0;
    m_strFileName = m_entry.name;
    m_strFileType = ExtensionOf(m_strFileName);
    platform::ToLower(m_strFileType);

    m_bNameMatch = MatchesExtension(*m_pCriteria, m_strFileType);
    m_nFileSize = m_entry.size;
    m_bSizeMatch = MatchesSize(*m_pCriteria, m_nFileSize);
    const platform::FileTicks ticks = m_pCriteria->m_nDateField == DATE_CREATED    ? m_entry.created
                                      : m_pCriteria->m_nDateField == DATE_ACCESSED ? m_entry.accessed
                                                                                   : m_entry.modified;
    m_timeFile = FileTicksToSeconds(ticks);
    m_bDateMatch = MatchesDate(*m_pCriteria, m_timeFile);

    if (m_bNameMatch && m_bSizeMatch && m_bDateMatch &&
        !RecordMatch(location, listing.Identity(m_entry)))
      return;
    if (m_pProgressDlg) m_pProgressDlg->SendProgress();
  } while (listing.Next(m_entry));
}

bool CScanEntriesThread::RecordMatch(const std::string& location,
                                     const platform::FileIdentity& identity) {
  const uint32_t found = m_nFound.fetch_add(1) + 1;
  if (found > RESULT_LIMIT) {
    m_bLimitReached = true;
    char text[256];
    std::snprintf(text, sizeof text, kMsgResultLimit, static_cast<int>(RESULT_LIMIT));
    if (m_pProgressDlg) m_pProgressDlg->ShowMessage(text);
    return false;
  }
  m_pAppData->m_nFoundCount = found;
  m_pAppData->AddResult(m_strFileName, location, m_strFileType, m_nFileSize,
                        platform::FormatDateTime(m_timeFile), m_timeFile, identity);
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
