#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/settings_io.h"

// POSIX has no sharing modes; the native build only serves the sanitizers and
// the fuzzer, which never open the file twice.

namespace platform {

namespace {

int LastCause() { return CauseFromErrno(errno); }

}  // namespace

int ExclusiveFile::OpenForReading(const std::string& path) {
  Close();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return LastCause();
  // A folder opens for reading here but not on Windows.
  struct stat info;
  int cause = kCauseNone;
  if (fstat(fd, &info) != 0)
    cause = LastCause();
  else if (S_ISDIR(info.st_mode))
    cause = kCauseAccessDenied;
  if (cause != kCauseNone) {
    ::close(fd);
    return cause;
  }
  m_fd = fd;
  return kCauseNone;
}

int ExclusiveFile::CreateForWriting(const std::string& path) {
  Close();
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  // With O_CREAT a missing entry can only be a folder on the way, which
  // Windows calls a bad path.
  if (fd < 0) return errno == ENOENT ? kCauseBadPath : LastCause();
  m_fd = fd;
  m_bWritten = true;
  return kCauseNone;
}

size_t ExclusiveFile::Read(void* buffer, size_t size) {
  size_t total = 0;
  while (m_fd >= 0 && total < size) {
    const ssize_t got = ::read(m_fd, static_cast<char*>(buffer) + total, size - total);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += static_cast<size_t>(got);
  }
  return total;
}

int ExclusiveFile::Write(const void* data, size_t size) {
  if (m_fd < 0) return kCauseInvalidFile;
  size_t total = 0;
  while (total < size) {
    const ssize_t put = ::write(m_fd, static_cast<const char*>(data) + total, size - total);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return LastCause();
    if (put == 0) return kCauseDiskFull;
    total += static_cast<size_t>(put);
  }
  return kCauseNone;
}

int ExclusiveFile::Close() {
  if (m_fd < 0) return kCauseNone;
  const int fd = m_fd;
  m_fd = -1;
  int cause = kCauseNone;
  if (m_bWritten && fsync(fd) != 0) cause = LastCause();
  m_bWritten = false;
  if (::close(fd) != 0 && cause == kCauseNone) cause = LastCause();
  return cause;
}

int MoveFileOver(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0 ? kCauseNone : LastCause();
}

}  // namespace platform
