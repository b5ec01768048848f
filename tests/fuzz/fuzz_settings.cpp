// Random bytes as settings.dat: LoadSettings must not crash, trip a sanitizer
// or allocate by what the file says (scripts/test runs this with a 1 MB malloc
// limit), and whatever it accepts must be a record the program can live with.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_folder.h"
#include "settings/app_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path& folder = FuzzFolder();
  const std::string path = (folder / "settings.dat").string();
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  CAppData appData;
  appData.m_strAppFolder = folder.string() + "/";
  if (appData.LoadSettings() &&
      (appData.m_nSplitterPos < 140 || appData.m_strPasswordHash.size() > 64))
    std::abort();
  return 0;
}
