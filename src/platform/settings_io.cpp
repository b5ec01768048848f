#include "platform/settings_io.h"

#include <algorithm>
#include <cerrno>

#include "platform/file_system.h"

namespace platform {

namespace {

struct Win32Cause {
  uint32_t error;
  int cause;
};

constexpr Win32Cause kWin32Causes[] = {
    {2, kCauseFileNotFound},       // file not found
    {6, kCauseFileNotFound},       // invalid handle
    {18, kCauseFileNotFound},      // no more files
    {3, kCauseBadPath},            // path not found
    {15, kCauseBadPath},           // invalid drive
    {53, kCauseBadPath},           // bad network path
    {67, kCauseBadPath},           // bad network name
    {123, kCauseBadPath},          // invalid name
    {161, kCauseBadPath},          // bad path name
    {206, kCauseBadPath},          // name too long
    {267, kCauseBadPath},          // not a directory
    {4, kCauseTooManyOpenFiles},   // too many open files
    {5, kCauseAccessDenied},       // access denied
    {19, kCauseAccessDenied},      // write protected
    {65, kCauseAccessDenied},      // network access denied
    {1006, kCauseInvalidFile},     // file invalidated
    {16, kCauseRemoveCurrentDir},  // current directory
    {82, kCauseDirectoryFull},     // cannot make the entry
    {25, kCauseBadSeek},           // seek
    {131, kCauseBadSeek},          // negative seek
    {23, kCauseHardIO},            // CRC
    {29, kCauseHardIO},            // write fault
    {30, kCauseHardIO},            // read fault
    {31, kCauseHardIO},            // general failure
    {1117, kCauseHardIO},          // device I/O error
    {32, kCauseSharingViolation},  // sharing violation
    {33, kCauseLockViolation},     // lock violation
    {38, kCauseEndOfFile},         // handle end of file
    {39, kCauseDiskFull},          // handle disk full
    {112, kCauseDiskFull},         // disk full
};

}  // namespace

int CauseFromWin32Error(uint32_t error) {
  if (error == 0) return kCauseNone;
  for (const Win32Cause& entry : kWin32Causes)
    if (entry.error == error) return entry.cause;
  return kCauseGeneric;
}

int CauseFromErrno(int error) {
  switch (error) {
    case 0: return kCauseNone;
    case ENOENT: return kCauseFileNotFound;
    case EBADF: return kCauseInvalidFile;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ENXIO: return kCauseBadPath;
    case EMFILE:
    case ENFILE: return kCauseTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // Windows answers access denied for a folder, and so do we
      return kCauseAccessDenied;
    case EBUSY:
    case ETXTBSY: return kCauseSharingViolation;
    case ESPIPE: return kCauseBadSeek;
    case EIO: return kCauseHardIO;
    case ENOSPC:
    case EFBIG:
#if defined(EDQUOT)
    case EDQUOT:
#endif
      return kCauseDiskFull;
    default: return kCauseGeneric;
  }
}

int WriteFileWhole(const std::string& path, std::string_view bytes, bool& opened, size_t cut) {
  const std::string newPath = path + ".new";
  ExclusiveFile file;
  opened = false;
  if (const int cause = file.CreateForWriting(newPath)) return cause;
  opened = true;
  const size_t size = std::min(bytes.size(), cut);
  int cause = file.Write(bytes.data(), size);
  if (cause == kCauseNone && size < bytes.size()) cause = kCauseDiskFull;
  const int closeCause = file.Close();
  if (cause == kCauseNone) cause = closeCause;
  if (cause == kCauseNone) cause = MoveFileOver(newPath, path);
  if (cause != kCauseNone) RemoveFile(newPath);
  return cause;
}

}  // namespace platform
