#include <windows.h>

#include "platform/retry_held_win.h"
#include "platform/settings_io.h"

namespace platform {

namespace {

int LastCause() { return CauseFromWin32Error(GetLastError()); }

// Opens `path` as CreateFileA does, giving a holder that shares less than
// asked a second to let go. INVALID_HANDLE_VALUE and the error on failure.
HANDLE OpenRetrying(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                    DWORD& error) {
  HANDLE handle = INVALID_HANDLE_VALUE;
  error = RetryWhileHeld(
      [&] {
        handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        return handle != INVALID_HANDLE_VALUE;
      },
      {ERROR_SHARING_VIOLATION});
  return handle;
}

}  // namespace

int ExclusiveFile::OpenForReading(const std::string& path) {
  Close();
  // Most holders share the file: share in turn.
  DWORD error = ERROR_SUCCESS;
  HANDLE handle =
      OpenRetrying(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, error);
  if (handle == INVALID_HANDLE_VALUE) return CauseFromWin32Error(error);
  m_handle = handle;
  return kCauseNone;
}

int ExclusiveFile::CreateForWriting(const std::string& path) {
  Close();
  DWORD error = ERROR_SUCCESS;
  HANDLE handle = OpenRetrying(path, GENERIC_WRITE, 0, CREATE_ALWAYS, error);
  if (handle == INVALID_HANDLE_VALUE) return CauseFromWin32Error(error);
  m_handle = handle;
  m_bWritten = true;
  return kCauseNone;
}

size_t ExclusiveFile::Read(void* buffer, size_t size) {
  if (!m_handle) return 0;
  size_t total = 0;
  while (total < size) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(size - total);
    if (!ReadFile(static_cast<HANDLE>(m_handle), static_cast<char*>(buffer) + total, want, &got,
                  nullptr) ||
        got == 0)
      break;
    total += got;
  }
  return total;
}

int ExclusiveFile::Write(const void* data, size_t size) {
  if (!m_handle) return kCauseInvalidFile;
  size_t total = 0;
  while (total < size) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(size - total);
    if (!WriteFile(static_cast<HANDLE>(m_handle), static_cast<const char*>(data) + total, want,
                   &put, nullptr))
      return LastCause();
    if (put == 0) return kCauseDiskFull;
    total += put;
  }
  return kCauseNone;
}

int ExclusiveFile::Close() {
  if (!m_handle) return kCauseNone;
  HANDLE handle = static_cast<HANDLE>(m_handle);
  m_handle = nullptr;
  int cause = kCauseNone;
  if (m_bWritten && !FlushFileBuffers(handle)) cause = LastCause();
  m_bWritten = false;
  if (!CloseHandle(handle) && cause == kCauseNone) cause = LastCause();
  return cause;
}

int MoveFileOver(const std::string& source, const std::string& target) {
  // A file open elsewhere cannot be replaced: sharing violation, or access
  // denied where the holder shares delete.
  return CauseFromWin32Error(RetryWhileHeld(
      [&] {
        return MoveFileExA(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
      },
      {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED}));
}

}  // namespace platform
