// Random bytes as settings.dat: LoadSettings must not crash, trip a sanitizer
// or allocate by what the file says (scripts/test runs this with a 1 MB malloc
// limit), and whatever it accepts must be a record the program can live with.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "dialogs/show_message.h"
#include "settings/app_data.h"

namespace {

std::filesystem::path g_folder;

void RemoveFolder() {
  std::error_code error;
  std::filesystem::remove_all(g_folder, error);
}

void MakeFolder() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int n = 0;; ++n) {
    g_folder = base / ("quillory-fuzz-" + std::to_string(std::rand()) + "-" + std::to_string(n));
    if (std::filesystem::create_directory(g_folder)) break;
  }
  std::atexit(RemoveFolder);
  // "Wrong settings.dat" for most inputs: keep the fuzzer's output quiet.
  SetShowMessageHandler(
      [](void*, const std::string&, const std::string&, const std::string&, int) {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (MakeFolder(), true);
  (void)ready;
  const std::string path = (g_folder / "settings.dat").string();
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  CAppData appData;
  appData.m_strAppFolder = g_folder.string() + "/";
  if (appData.LoadSettings() &&
      (appData.m_nSplitterPos < 140 || appData.m_strPasswordHash.size() > 64))
    std::abort();
  return 0;
}
