#pragma once
// File access for settings.dat: it is written with no sharing, so a second
// opener fails with a sharing violation meanwhile, and read sharing reading
// and writing; every failure comes back as one of the cause codes the
// program's open-error message shows.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum FileCause : int {
  kCauseNone = 0,
  kCauseGeneric = 1,  // any error without a code of its own
  kCauseFileNotFound = 2,
  kCauseBadPath = 3,
  kCauseTooManyOpenFiles = 4,
  kCauseAccessDenied = 5,
  kCauseInvalidFile = 6,
  kCauseRemoveCurrentDir = 7,
  kCauseDirectoryFull = 8,
  kCauseBadSeek = 9,
  kCauseHardIO = 10,
  kCauseSharingViolation = 11,
  kCauseLockViolation = 12,
  kCauseDiskFull = 13,
  kCauseEndOfFile = 14,
};

int CauseFromWin32Error(uint32_t error);
int CauseFromErrno(int error);

class ExclusiveFile {
 public:
  ExclusiveFile() = default;
  ~ExclusiveFile() { Close(); }
  ExclusiveFile(const ExclusiveFile&) = delete;
  ExclusiveFile& operator=(const ExclusiveFile&) = delete;

  // Both return 0 or a cause code. On Windows each waits about a second
  // for a holder to let go (platform/retry_held_win.h).
  int OpenForReading(const std::string& path);
  int CreateForWriting(const std::string& path);  // created, or truncated if present
  // Reads until `size` bytes or the end of the file; returns the bytes that arrived.
  size_t Read(void* buffer, size_t size);
  int Write(const void* data, size_t size);
  // A written file is flushed to the disk before it is closed; 0 or a cause code.
  int Close();

 private:
#if defined(_WIN32)
  void* m_handle = nullptr;
#else
  int m_fd = -1;
#endif
  bool m_bWritten = false;
};

// Puts `source` in the place of `target` in one step, replacing it; 0 or a cause code.
int MoveFileOver(const std::string& source, const std::string& target);

// Writes `bytes` whole beside `path`, as `path` + ".new", which then takes
// the place of `path` in one step: a write cut short never leaves a truncated
// file. Only the first `cut` bytes are written (a test's write cut short,
// which fails as a full disk does). 0 or a cause code, with `opened` false
// when the new file could not even be made; a failed write leaves no ".new".
int WriteFileWhole(const std::string& path, std::string_view bytes, bool& opened,
                   size_t cut = SIZE_MAX);

}  // namespace platform
