#include <windows.h>

#include "platform/settings_io.h"

namespace platform {

namespace {

int LastCause() { return CauseFromWin32Error(GetLastError()); }

}  // namespace

int ExclusiveFile::OpenForReading(const std::string& path) {
  Close();
  // Backup, sync and virus scanners open the file for a moment, most of them
  // sharing it: share in turn, and give an exclusive holder a second.
  const ULONGLONG deadline = GetTickCount64() + kSharingRetryMilliseconds;
  for (;;) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      m_handle = handle;
      return kCauseNone;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION || GetTickCount64() >= deadline) {
      return CauseFromWin32Error(error);
    }
    Sleep(50);
  }
}

int ExclusiveFile::CreateForWriting(const std::string& path) {
  Close();
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastCause();
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
  if (MoveFileExA(source.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return kCauseNone;
  return LastCause();
}

}  // namespace platform
