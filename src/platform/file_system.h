#pragma once
// The few file-system services the workers need, behind one small interface:
// a Win32 implementation over the ANSI find/attribute/delete calls, and a POSIX
// one for the native build, where the core runs under the sanitizers.

#include <cstdint>
#include <string>

namespace platform {

// Attribute bits as Windows defines them; the POSIX implementation maps onto them.
inline constexpr uint32_t kAttrReadOnly = 0x0001;
inline constexpr uint32_t kAttrHidden = 0x0002;
inline constexpr uint32_t kAttrSystem = 0x0004;
inline constexpr uint32_t kAttrDirectory = 0x0010;
inline constexpr uint32_t kAttrArchive = 0x0020;
inline constexpr uint32_t kAttrNormal = 0x0080;
inline constexpr uint32_t kAttrReparsePoint = 0x0400;
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// A file time as Windows keeps it: 100-nanosecond ticks since 1601-01-01 UTC.
using FileTicks = uint64_t;

// What makes a listed file the same file at delete time: the volume and the
// file's number on it (which a rename keeps and a new file under the old name
// does not have), and its last-write time (which a rewrite changes). The size
// is compared too, from the store's own size column.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t fileId = 0;
  FileTicks modified = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileEntry {
  std::string name;  // long name with its extension
  uint32_t attributes = 0;
  uint64_t size = 0;
  FileTicks created = 0;
  FileTicks modified = 0;
  FileTicks accessed = 0;
  uint64_t fileId = 0;  // the file's number on its volume
};

// Lists one folder, "." and ".." included where the system reports them.
// Move-only; closes the listing on destruction.
class FolderListing {
 public:
  FolderListing() = default;
  ~FolderListing();
  FolderListing(FolderListing&& other) noexcept;
  FolderListing& operator=(FolderListing&& other) noexcept;
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  // Opens the folder (a path without the "\*.*" pattern) and reads the first
  // entry into `entry`. False when the folder cannot be listed.
  bool Open(const std::string& folder, FileEntry& entry);
  // Reads the next entry; false at the end.
  bool Next(FileEntry& entry);
  // A fresh look at the file just read, whose full path is `fullPath`: its
  // attributes now (GetAttributes on that path), kInvalidAttributes when it
  // is gone. Natively the listing reads only the names and kinds of plain
  // files, and this one call relative to the open folder fills in their size,
  // times and attributes: one call per file, as the Windows listing has.
  uint32_t EntryAttributes(const std::string& fullPath, FileEntry& entry) const;
  void Close();

 private:
  void* m_handle = nullptr;  // HANDLE or DIR*
#if !defined(_WIN32)
  int m_dirFd = -1;
#endif
};

uint32_t GetAttributes(const std::string& path);  // kInvalidAttributes on failure
bool PathExists(const std::string& path);
// Deletes one file for good; false when it cannot (read-only, in use, gone).
bool RemoveFile(const std::string& path);

// Identity of a folder, following links: equal ids mean the same folder.
struct FolderId {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FolderId&) const = default;
};
bool GetFolderId(const std::string& path, FolderId& id);

// The program's separator and the listing pattern it appends to a folder.
#if defined(_WIN32)
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

}  // namespace platform
