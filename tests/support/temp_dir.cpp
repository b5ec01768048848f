#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace {

std::string Native(std::string path) {
#if defined(_WIN32)
  for (char& c : path)
    if (c == '/') c = '\\';
#else
  for (char& c : path)
    if (c == '\\') c = '/';
#endif
  return path;
}

}  // namespace

TempDir::TempDir() : TempDir(fs::temp_directory_path().string()) {}

TempDir::TempDir(const std::string& base) {
  static std::atomic<int> counter{0};
  std::random_device random;
  for (;;) {
    fs::path candidate = fs::path(base) / ("quillory-test-" + std::to_string(random()) + "-" +
                                           std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      m_path = Native(candidate.string());
      break;
    }
  }
}

namespace {

// Removes a folder's contents without ever following a link: a link to "."
// or to another folder must go, not what it points at.
void RemoveTree(const std::string& folder, platform::ListingScratch& scratch) {
  platform::FileEntry entry;
  platform::FolderListing listing;
  if (!listing.Open(folder, scratch, entry)) return;
  do {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + platform::kSeparator + entry.name;
    const bool link = (entry.attributes & platform::kAttrReparsePoint) != 0;
    const bool directory = (entry.attributes & platform::kAttrDirectory) != 0;
    if (directory && !link) RemoveTree(path, scratch);
    RemoveEntry(path, directory);
  } while (listing.Next(entry));
}

}  // namespace

TempDir::~TempDir() {
  platform::ListingScratch scratch;
  RemoveTree(m_path, scratch);
  RemoveEntry(m_path, true);
}

std::string TempDir::operator/(const std::string& relative) const {
  return Native(m_path + "/" + relative);
}

std::string TempDir::MakeFile(const std::string& relative, uint64_t size) {
  const std::string path = *this / relative;
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  std::string block(4096, '\0');
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>('a' + i % 26);
  while (size > 0) {
    const size_t n = size < block.size() ? static_cast<size_t>(size) : block.size();
    out.write(block.data(), static_cast<std::streamsize>(n));
    size -= n;
  }
  return path;
}

std::string TempDir::MakeFolder(const std::string& relative) {
  const std::string path = *this / relative;
  fs::create_directories(path);
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out << bytes);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  std::error_code error;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add, error);
  return !error;
}

platform::FileIdentity ListedIdentity(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  const std::string folder = path.substr(0, cut);
  const std::string name = path.substr(cut + 1);
  platform::ListingScratch scratch;
  platform::FolderListing listing;
  platform::FileEntry entry;
  if (!listing.Open(folder, scratch, entry)) return {};
  do {
    if (entry.name == name && listing.EntryAttributes(path, entry) != platform::kInvalidAttributes)
      return listing.Identity(entry);
  } while (listing.Next(entry));
  return {};
}
