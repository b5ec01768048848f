// The floor a scan stands on under Wine: the same platform calls per file
// (FindFirstFileA/FindNextFileA and GetFileAttributesA on each file) and
// nothing else. Prints "files N" and the time on stderr.

#include <windows.h>

#include <chrono>
#include <cstring>
#include <cstdio>
#include <string>

namespace {

unsigned long long g_files = 0;

void Walk(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
        Walk(folder + "\\" + data.cFileName);
      continue;
    }
    if (GetFileAttributesA((folder + "\\" + data.cFileName).c_str()) != INVALID_FILE_ATTRIBUTES)
      ++g_files;
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 1; i < argc; ++i) Walk(argv[i]);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("files %llu\n", g_files);
  std::fprintf(stderr, "walk %.3f s\n", seconds);
  return 0;
}
