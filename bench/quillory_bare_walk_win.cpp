// The floor a scan stands on under Wine: the same platform calls per folder
// and per file as the program's listing (the folder opened by its "\\?\"
// path, its volume, its entries with their file numbers in batches, and
// GetFileAttributesW on each file's full path) and nothing else: no name
// conversion, no matching, no store. Prints "files N" and the time on stderr.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

unsigned long long g_files = 0;
constexpr DWORD kBufferBytes = 32 * 1024;

void Walk(const std::wstring& folder) {
  HANDLE handle = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  DWORD serial = 0;
  GetVolumeInformationByHandleW(handle, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
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
        if (name != L"." && name != L"..") Walk(folder + L"\\" + name);
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
  const auto start = std::chrono::steady_clock::now();
  for (int i = 1; i < argc; ++i) {
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, argv[i], -1, wide, MAX_PATH) > 0)
      Walk(std::wstring(L"\\\\?\\") + wide);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("files %llu\n", g_files);
  std::fprintf(stderr, "walk %.3f s\n", seconds);
  return 0;
}
