#include <windows.h>

#include <cstdlib>
#include <ctime>

#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace {

FILETIME ToFileTime(int64_t seconds) {
  const uint64_t ticks = platform::SecondsToTicks(seconds);
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

namespace {

// The host's name of a Windows path, from Wine's own conversion.
std::string UnixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  wchar_t wide[MAX_PATH];
  if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return {};
  char* unixPath = toUnix(wide);
  if (!unixPath) return {};
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

}  // namespace

// Wine starts host programs directly, so the link is made by the host's ln.
bool MakeFolderLink(const std::string& linkPath, const std::string& target) {
  const std::string unixLink = UnixPath(linkPath);
  const std::string unixTarget = target == "." ? target : UnixPath(target);
  if (unixLink.empty() || unixTarget.empty()) return false;
  std::string command = "/bin/ln -s \"" + unixTarget + "\" \"" + unixLink + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // The handle of a host process cannot be waited on; watch for the link.
  for (int i = 0; i < 250; ++i) {
    if (GetFileAttributesA(linkPath.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(20);
  }
  return false;
}

bool MakeHardLink(const std::string& linkPath, const std::string& target) {
  return CreateHardLinkA(linkPath.c_str(), target.c_str(), nullptr) != FALSE;
}

bool RemoveEntry(const std::string& path, bool directory) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return directory ? RemoveDirectoryA(path.c_str()) != FALSE : DeleteFileA(path.c_str()) != FALSE;
}

void UseTestTimeZone() {
  _putenv("TZ=EST5EDT");
  _tzset();
}
