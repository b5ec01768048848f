#pragma once
// The folder a fuzz target writes its file into: made once in the system's
// temporary folder and removed when the fuzzer ends. The program's boxes,
// which most inputs would open, stay quiet.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "dialogs/show_message.h"

namespace fuzz_folder {

inline std::filesystem::path& Path() {
  static std::filesystem::path path;
  return path;
}

inline void Remove() {
  std::error_code error;
  std::filesystem::remove_all(Path(), error);
}

}  // namespace fuzz_folder

inline const std::filesystem::path& FuzzFolder() {
  static const bool made = [] {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int n = 0;; ++n) {
      fuzz_folder::Path() =
          base / ("quillory-fuzz-" + std::to_string(std::rand()) + "-" + std::to_string(n));
      if (std::filesystem::create_directory(fuzz_folder::Path())) break;
    }
    std::atexit(fuzz_folder::Remove);
    SetShowMessageHandler(
        [](void*, const std::string&, const std::string&, const std::string&, int) {});
    return true;
  }();
  (void)made;
  return fuzz_folder::Path();
}
