#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

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

bool MakeFolderLink(const std::string& linkPath, const std::string& target) {
  return symlink(target.c_str(), linkPath.c_str()) == 0;
}

bool MakeHardLink(const std::string& linkPath, const std::string& target) {
  return link(target.c_str(), linkPath.c_str()) == 0;
}

bool RemoveEntry(const std::string& path, bool directory) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return false;
  if (directory && !S_ISLNK(info.st_mode)) return rmdir(path.c_str()) == 0;
  return unlink(path.c_str()) == 0;
}

void UseTestTimeZone() {
  setenv("TZ", "EST5EDT", 1);
  tzset();
}
