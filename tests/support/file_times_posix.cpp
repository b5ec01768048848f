#include <fcntl.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

// Birth times cannot be set on Linux; the created time stays as the system has it.
bool SetFileTimes(const std::string& path, int64_t, int64_t modified, int64_t accessed) {
  struct timespec times[2];
  times[0].tv_sec = static_cast<time_t>(accessed);
  times[0].tv_nsec = 0;
  times[1].tv_sec = static_cast<time_t>(modified);
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}
