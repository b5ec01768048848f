#pragma once
// The application-wide data object: the user's settings, the activity state
// of searching and deleting, the folder list and the result store. One
// instance, g_AppData, lives for the whole process.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "settings/string_column.h"

// The values of the activity fields.
enum TaskKind : int32_t { TASK_NONE = 0, TASK_SEARCH = 1, TASK_DELETE = 2 };

class CAppData {
 public:
  // Settings, saved in settings.dat.
  std::string m_strAppFolder;  // the executable's folder, ending in a backslash
  int32_t m_nWindowLeft = 0;
  int32_t m_nWindowTop = 0;
  int32_t m_nWindowWidth = 0;
  int32_t m_nWindowHeight = 0;
  int32_t m_nWindowShowCmd = 0;
  int32_t m_nSplitterPos = 0;
  uint8_t m_bPasswordProtection = 0;
  std::string m_strPasswordHash;  // 64 upper-case hex digits, or empty
  uint8_t m_bStartWithWindows = 0;
  // settings.dat exists but could not be read: the exit leaves it as it is
  // rather than overwrite the user's password with the defaults, unless a
  // save of this run has already replaced it.
  bool m_bKeepUnreadSettingsFile = false;

  // settings.dat in m_strAppFolder. Load and save show their failures to the
  // user themselves; callers may ignore the results.
  void SetDefaults();
  bool LoadSettings();
  bool SaveSettings();
  // The password is kept only as its SHA-256 digest in m_strPasswordHash, of
  // the bytes of the program's text. A digest of the legacy code page's bytes
  // (from before the text became UTF-8) is accepted too, and then saved anew.
  void SetPassword(std::string password);
  bool IsPasswordCorrect(std::string typed);

  // Activity state: the task the search page asked for and the worker the
  // progress window started (TaskKind). Read by the user-interface thread
  // while a worker clears them.
  std::atomic<int32_t> m_nTask{TASK_NONE};
  std::atomic<int32_t> m_nRunningTask{TASK_NONE};
  int64_t m_nFoundCount = 0;  // rows the last search recorded

  std::vector<std::string> m_arrFolders;  // the disks and folders to search

  // The result store: six parallel columns, one row per found file.
  CStringColumn m_arrFoundNames;
  std::vector<int32_t> m_arrDeleteMarks;  // 1 = chosen for deletion
  CStringColumn m_arrFoundLocations;      // folder path ending in the separator
  CStringColumn m_arrFoundTypes;          // lower-case extension
  std::vector<uint64_t> m_arrFoundSizes;  // bytes
  CStringColumn m_arrFoundDates;          // the tested time as local text
  // Beside the design's columns: the tested time as seconds since 1970 UTC
  // (what the date conditions and the sort use; the text cannot order 1950
  // against 2050), and what the delete checks the file against.
  std::vector<int64_t> m_arrFoundTimes;
  std::vector<platform::FileIdentity> m_arrFoundIdentities;
  // Rows whose files a delete run removed. The worker only flags them; the
  // next refill drops them on the user-interface thread, so the list never
  // reads rows that move under it.
  std::vector<bool> m_arrRemovedRows;

  size_t GetResultCount() const { return m_arrFoundNames.GetSize(); }
  void ClearResults();
  // Appends one row, column by column in the store's order.
  void AddResult(std::string_view name, std::string_view location, std::string_view type,
                 uint64_t size, std::string_view date, int64_t time = 0,
                 const platform::FileIdentity& identity = {});
  // Drops the flagged rows from every column at once, keeping the order.
  void RemoveResults(const std::vector<bool>& removed);
  // Drops the rows in m_arrRemovedRows, if any. User-interface thread.
  void DropRemovedResults();
  std::string GetResultPath(size_t row) const;
};

extern CAppData g_AppData;

// Test seam: saves stop after writing this many bytes, as on a full disk.
// SIZE_MAX, the default, turns it off.
void SetSettingsSaveCutForTest(size_t bytes);
