#include <windows.h>

#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "platform/wide_text_win.h"

namespace platform {

namespace {

FileTicks Ticks(const LARGE_INTEGER& value) { return static_cast<FileTicks>(value.QuadPart); }
FileTicks Ticks(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle closed on every path out.
struct Handle {
  HANDLE value;
  explicit Handle(HANDLE h) : value(h) {}
  ~Handle() {
    if (value != INVALID_HANDLE_VALUE) CloseHandle(value);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool IsValid() const { return value != INVALID_HANDLE_VALUE; }
};

}  // namespace

// The folder's own handle and one batch of its entries. The listing asks for
// the entries with their file numbers, so the identity a delete checks later
// costs no extra call per file.
struct FolderListing::State {
  HANDLE folder = INVALID_HANDLE_VALUE;
  uint64_t volume = 0;
  std::unique_ptr<uint64_t[]> buffer;  // 8-byte aligned, as the records require
  const FILE_ID_BOTH_DIR_INFO* record = nullptr;
};

namespace {

constexpr DWORD kListingBufferBytes = 32 * 1024;

// The next batch of records; false at the end or on failure.
bool ReadBatch(HANDLE folder, void* buffer, bool first) {
  return GetFileInformationByHandleEx(
             folder, first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo, buffer,
             kListingBufferBytes) != FALSE;
}

}  // namespace

FolderListing::~FolderListing() { Close(); }

FolderListing::FolderListing(FolderListing&& other) noexcept : m_state(other.m_state) {
  other.m_state = nullptr;
}

FolderListing& FolderListing::operator=(FolderListing&& other) noexcept {
  if (this != &other) {
    Close();
    m_state = other.m_state;
    other.m_state = nullptr;
  }
  return *this;
}

bool FolderListing::Open(const std::string& folder, FileEntry& entry) {
  Close();
  const std::wstring path = ExtendedPath(folder);
  if (path.empty()) return false;
  // Opening a folder follows a link or junction at its end, as listing it by
  // name always did.
  auto state = std::make_unique<State>();
  state->folder = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (state->folder == INVALID_HANDLE_VALUE) return false;
  m_state = state.release();
  DWORD serial = 0;
  m_state->buffer.reset(new uint64_t[kListingBufferBytes / sizeof(uint64_t)]);
  if (GetVolumeInformationByHandleW(m_state->folder, nullptr, 0, &serial, nullptr, nullptr, nullptr,
                                    0) &&
      ReadBatch(m_state->folder, m_state->buffer.get(), true)) {
    m_state->volume = serial;
    m_state->record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(m_state->buffer.get());
    if (Next(entry)) return true;
  }
  Close();
  return false;
}

bool FolderListing::Next(FileEntry& entry) {
  if (!m_state) return false;
  while (const FILE_ID_BOTH_DIR_INFO* info = m_state->record) {
    // A name with no exact form in the program's text is passed over, as a
    // file whose attributes cannot be read: a look-alike would name another.
    const bool exact = NarrowExact(
        std::wstring_view(info->FileName, info->FileNameLength / sizeof(WCHAR)), entry.name);
    if (exact) {
      entry.attributes = info->FileAttributes;
      entry.size = static_cast<uint64_t>(info->EndOfFile.QuadPart);
      entry.created = Ticks(info->CreationTime);
      entry.modified = Ticks(info->LastWriteTime);
      entry.accessed = Ticks(info->LastAccessTime);
      entry.fileId = static_cast<uint64_t>(info->FileId.QuadPart);
    }
    // Step on only now: the next batch overwrites the record.
    if (info->NextEntryOffset != 0) {
      m_state->record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(
          reinterpret_cast<const char*>(info) + info->NextEntryOffset);
    } else {
      m_state->record = ReadBatch(m_state->folder, m_state->buffer.get(), false)
                            ? reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(m_state->buffer.get())
                            : nullptr;
    }
    if (exact) return true;
  }
  return false;
}

uint32_t FolderListing::EntryAttributes(const std::string& fullPath, FileEntry&) const {
  return GetAttributes(fullPath);
}

FileIdentity FolderListing::Identity(const FileEntry& entry) const {
  return {m_state ? m_state->volume : 0, entry.fileId, entry.modified};
}

void FolderListing::Close() {
  if (m_state) {
    CloseHandle(m_state->folder);
    delete m_state;
    m_state = nullptr;
  }
}

uint32_t GetAttributes(const std::string& path) {
  const std::wstring wide = ExtendedPath(path);
  return wide.empty() ? kInvalidAttributes : GetFileAttributesW(wide.c_str());
}

bool PathExists(const std::string& path) { return GetAttributes(path) != kInvalidAttributes; }

bool RemoveFile(const std::string& path) {
  const std::wstring wide = ExtendedPath(path);
  return !wide.empty() && DeleteFileW(wide.c_str()) != FALSE;
}

RemoveResult RemoveFileIfSame(const std::string& path, const FileIdentity& identity,
                              uint64_t size) {
  const std::wstring wide = ExtendedPath(path);
  if (wide.empty()) return RemoveResult::Failed;
  // A link at the end of the path is opened itself, not its target; a link
  // or junction earlier on the path leads to another file, whose number then
  // differs. The handle shares everything, so opening disturbs no other
  // program, and the delete goes through it, so nothing can take the file's
  // place between the check and the delete.
  Handle file(CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.IsValid()) return RemoveResult::Failed;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.value, &info)) return RemoveResult::Failed;
  const FileIdentity now{info.dwVolumeSerialNumber,
                         (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                         Ticks(info.ftLastWriteTime)};
  const uint64_t sizeNow = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (!(now == identity) || sizeNow != size || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return RemoveResult::Changed;
  // Marked for deletion, the file goes when the last handle closes. A
  // read-only file refuses, as it should: the user is asked.
  FILE_DISPOSITION_INFO disposition = {TRUE};
  if (!SetFileInformationByHandle(file.value, FileDispositionInfo, &disposition,
                                  sizeof disposition))
    return RemoveResult::Failed;
  return RemoveResult::Removed;
}

bool GetFolderId(const std::string& path, FolderId& id) {
  const std::wstring wide = ExtendedPath(path);
  if (wide.empty()) return false;
  Handle handle(CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.IsValid()) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle.value, &info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace platform
