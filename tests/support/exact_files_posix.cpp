// Natively the program's text is the host's UTF-8: names are used as they are.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/exact_files.h"

namespace fs = std::filesystem;

namespace exact {

bool MakeFolder(const std::string& utf8Path) {
  std::error_code error;
  fs::create_directories(utf8Path, error);
  return !error;
}

bool WriteFile(const std::string& utf8Path, const std::string& content) {
  std::ofstream out(utf8Path, std::ios::binary | std::ios::trunc);
  out << content;
  return static_cast<bool>(out);
}

bool SetReadOnly(const std::string& utf8Path) { return chmod(utf8Path.c_str(), 0444) == 0; }

bool RemoveFile(const std::string& utf8Path) { return unlink(utf8Path.c_str()) == 0; }

bool Rename(const std::string& utf8From, const std::string& utf8To) {
  std::error_code error;
  fs::rename(utf8From, utf8To, error);
  return !error;
}

std::map<std::string, std::string> Snapshot(const std::string& utf8Folder) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(utf8Folder, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) continue;
    const std::string relative = fs::relative(it->path(), utf8Folder, error).generic_string();
    std::ifstream in(it->path(), std::ios::binary);
    files[relative] =
        it->is_symlink(error) ? "(link)" : std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

void RemoveTree(const std::string& utf8Folder) {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(utf8Folder, error);
       it != fs::recursive_directory_iterator(); it.increment(error))
    chmod(it->path().c_str(), it->is_directory(error) ? 0755 : 0644);
  fs::remove_all(utf8Folder, error);
}

bool ToProgramText(const std::string& utf8, std::string& text) {
  text = utf8;
  return true;
}

}  // namespace exact
