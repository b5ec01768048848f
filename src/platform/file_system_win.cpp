#include <windows.h>
#include <shlwapi.h>

#include "platform/file_system.h"

namespace platform {

namespace {

FileTicks Ticks(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

void Fill(const WIN32_FIND_DATAA& data, FileEntry& entry) {
  entry.name.assign(data.cFileName);
  entry.attributes = data.dwFileAttributes;
  entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.created = Ticks(data.ftCreationTime);
  entry.modified = Ticks(data.ftLastWriteTime);
  entry.accessed = Ticks(data.ftLastAccessTime);
}

}  // namespace

FolderListing::~FolderListing() { Close(); }

FolderListing::FolderListing(FolderListing&& other) noexcept : m_handle(other.m_handle) {
  other.m_handle = nullptr;
}

FolderListing& FolderListing::operator=(FolderListing&& other) noexcept {
  if (this != &other) {
    Close();
    m_handle = other.m_handle;
    other.m_handle = nullptr;
  }
  return *this;
}

bool FolderListing::Open(const std::string& folder, FileEntry& entry) {
  Close();
  std::string pattern = folder;
  if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
  pattern += "*.*";
  WIN32_FIND_DATAA data;
  HANDLE handle = FindFirstFileA(pattern.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) return false;
  m_handle = handle;
  Fill(data, entry);
  return true;
}

bool FolderListing::Next(FileEntry& entry) {
  if (!m_handle) return false;
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(static_cast<HANDLE>(m_handle), &data)) return false;
  Fill(data, entry);
  return true;
}

uint32_t FolderListing::EntryAttributes(const std::string& fullPath, FileEntry&) const {
  return GetFileAttributesA(fullPath.c_str());
}

void FolderListing::Close() {
  if (m_handle) {
    FindClose(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
  }
}

uint32_t GetAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

bool PathExists(const std::string& path) { return PathFileExistsA(path.c_str()) != FALSE; }

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool GetFolderId(const std::string& path, FolderId& id) {
  HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(handle, &info) != FALSE;
  CloseHandle(handle);
  if (!ok) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace platform
