#include "platform/settings_io.h"

#include <cerrno>

namespace platform {

int CauseFromWin32Error(uint32_t error) {
  switch (error) {
    case 0: return kCauseNone;
    case 2:   // file not found
    case 6:   // invalid handle
    case 18:  // no more files
      return kCauseFileNotFound;
    case 3:    // path not found
    case 15:   // invalid drive
    case 53:   // bad network path
    case 67:   // bad network name
    case 123:  // invalid name
    case 161:  // bad path name
    case 206:  // name too long
    case 267:  // not a directory
      return kCauseBadPath;
    case 4: return kCauseTooManyOpenFiles;
    case 5:   // access denied
    case 19:  // write protected
    case 65:  // network access denied
      return kCauseAccessDenied;
    case 1006: return kCauseInvalidFile;  // file invalidated
    case 16: return kCauseRemoveCurrentDir;
    case 82: return kCauseDirectoryFull;  // cannot make the entry
    case 25:   // seek
    case 131:  // negative seek
      return kCauseBadSeek;
    case 23:    // CRC
    case 29:    // write fault
    case 30:    // read fault
    case 31:    // general failure
    case 1117:  // device I/O error
      return kCauseHardIO;
    case 32: return kCauseSharingViolation;
    case 33: return kCauseLockViolation;
    case 38: return kCauseEndOfFile;
    case 39:   // handle disk full
    case 112:  // disk full
      return kCauseDiskFull;
    default: return kCauseGeneric;
  }
}

int CauseFromErrno(int error) {
  switch (error) {
    case 0: return kCauseNone;
    case ENOENT: return kCauseFileNotFound;
    case EBADF: return kCauseInvalidFile;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ENXIO:
      return kCauseBadPath;
    case EMFILE:
    case ENFILE:
      return kCauseTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // Windows answers access denied for a folder, and so do we
      return kCauseAccessDenied;
    case EBUSY:
    case ETXTBSY:
      return kCauseSharingViolation;
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

}  // namespace platform
