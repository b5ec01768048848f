// The floor a scan stands on under Wine: the cheapest way to learn what a
// search learns, FindFirstFileA / FindNextFileA on every folder and the one
// GetFileAttributesA per file that the design asks for; nothing else.
//
// With --numbered, the program's own calls instead, as a second line: each
// folder opened by its "\\?\" path and listed with its file numbers in 32 KB
// batches (GetFileInformationByHandleEx), the volume asked once for the
// listed folder, GetFileAttributesW on each file's "\\?\" path. No name
// conversion, matching or store.
//
// Prints "files N" on stdout and the time on stderr.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

unsigned long long g_files = 0;
constexpr DWORD kBufferBytes = 32 * 1024;

void PlainWalk(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string path = folder + "\\" + data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
        PlainWalk(path);
    } else if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ++g_files;
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

void NumberedWalk(const std::wstring& folder, bool listed) {
  HANDLE handle = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  if (listed) {
    DWORD serial = 0;
    GetVolumeInformationByHandleW(handle, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  }
  auto buffer = std::make_unique<uint64_t[]>(kBufferBytes / sizeof(uint64_t));
  for (bool first = true;; first = false) {
    if (!GetFileInformationByHandleEx(
            handle, first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo, buffer.get(),
            kBufferBytes))
      break;
    auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.get());
    for (;;) {
      const std::wstring name(info->FileName, info->FileNameLength / sizeof(WCHAR));
      if (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (name != L"." && name != L"..") NumberedWalk(folder + L"\\" + name, false);
      } else if (GetFileAttributesW((folder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES) {
        ++g_files;
      }
      if (info->NextEntryOffset == 0) break;
      info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const char*>(info) +
                                                            info->NextEntryOffset);
    }
  }
  CloseHandle(handle);
}

}  // namespace

int main(int argc, char** argv) {
  const bool numbered = argc > 1 && std::strcmp(argv[1], "--numbered") == 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = numbered ? 2 : 1; i < argc; ++i) {
    if (!numbered) {
      PlainWalk(argv[i]);
      continue;
    }
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, argv[i], -1, wide, MAX_PATH) > 0)
      NumberedWalk(std::wstring(L"\\\\?\\") + wide, true);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("files %llu\n", g_files);
  std::fprintf(stderr, "walk %.3f s\n", seconds);
  return 0;
}
