#include <windows.h>

#include "support/temp_dir.h"

namespace {

FILETIME ToFileTime(int64_t seconds) {
  const uint64_t ticks = static_cast<uint64_t>(seconds + 11644473600LL) * 10000000ULL;
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(ticks);
  result.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return result;
}

}  // namespace

bool SetFileTimes(const std::string& path, int64_t created, int64_t modified, int64_t accessed) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME c = ToFileTime(created), m = ToFileTime(modified), a = ToFileTime(accessed);
  const bool ok = SetFileTime(file, &c, &a, &m) != FALSE;
  CloseHandle(file);
  return ok;
}
