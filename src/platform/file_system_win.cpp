#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_volume.h"
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

std::atomic<uint32_t> g_nVolumeQueries{0};
std::atomic<bool> g_bRefuseNumberedListing{false};

// The volume serial through an open handle of a file or folder on it; 0 when
// the file system will not tell, which the delete's look then reports too.
uint64_t QueryVolume(HANDLE handle) {
  g_nVolumeQueries.fetch_add(1, std::memory_order_relaxed);
  DWORD serial = 0;
  if (!GetVolumeInformationByHandleW(handle, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
    return 0;
  return serial;
}

// ntdll's own calls, present since the first NT: the file's number alone (the
// documented calls that give it also ask the volume, which costs more than
// the rest of the check), and the status behind the last error, which tells
// a file already on its way out from one we may not open.
struct NtCalls {
  using QueryFn = LONG(WINAPI*)(HANDLE, void* ioStatus, void* buffer, ULONG size, int infoClass);
  using LastStatusFn = LONG(WINAPI*)();
  QueryFn query = nullptr;
  LastStatusFn lastStatus = nullptr;

  static const NtCalls& Get() {
    static const NtCalls calls = [] {
      NtCalls c;
      if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        c.query = reinterpret_cast<QueryFn>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
        c.lastStatus = reinterpret_cast<LastStatusFn>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetLastNtStatus")));
      }
      return c;
    }();
    return calls;
  }
};

constexpr int kFileInternalInformation = 6;
constexpr LONG kStatusDeletePending = static_cast<LONG>(0xC0000056);

// The file's number through its handle; kNoFileId when it cannot be read.
uint64_t QueryFileId(HANDLE handle) {
  const NtCalls& nt = NtCalls::Get();
  if (!nt.query) return kNoFileId;
  struct {
    ULONG_PTR status[2];
  } ioStatus{};
  LARGE_INTEGER index{};
  if (nt.query(handle, &ioStatus, &index, sizeof index, kFileInternalInformation) < 0)
    return kNoFileId;
  return static_cast<uint64_t>(index.QuadPart);
}

bool IsDeletePending() {
  const NtCalls& nt = NtCalls::Get();
  return nt.lastStatus && nt.lastStatus() == kStatusDeletePending;
}

// The disposition that unlinks the name at once, as the system's own delete
// does on current Windows (a holder that shares delete keeps its handle, not
// the name). Older systems and some file systems refuse the class.
constexpr int kFileDispositionInfoEx = 21;
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosixSemantics = 0x2;

}  // namespace

// The folder's own handle and one batch of its entries. The listing asks for
// the entries with their file numbers, so the identity a delete checks later
// costs no extra call per file. A folder whose file system refuses that is
// listed plainly, by FindFirstFileExW.
struct FolderListing::State {
  HANDLE folder = INVALID_HANDLE_VALUE;
  uint64_t volume = 0;
  ListingScratch* scratch = nullptr;
  std::unique_ptr<uint64_t[]> batch;  // the records of the batch being read
  size_t batchBytes = 0;
  const FILE_ID_BOTH_DIR_INFO* record = nullptr;
  HANDLE find = INVALID_HANDLE_VALUE;  // the plain listing
  WIN32_FIND_DATAW found{};
  bool foundPending = false;  // `found` holds an entry not yet handed out
};

namespace {

constexpr DWORD kListingBufferBytes = 32 * 1024;

// Reads the next batch of records and keeps only the bytes they take: a walk
// holds one listing open per level, and a tree thousands of folders deep
// should not hold 32 KB at each. False at the end or on failure.
bool ReadBatch(HANDLE folder, ListingScratch& scratch, std::unique_ptr<uint64_t[]>& kept,
               size_t& keptBytes, bool first) {
  if (g_bRefuseNumberedListing.load(std::memory_order_relaxed)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  // 8-byte aligned, as the records require.
  std::unique_ptr<uint64_t[]>& batch = scratch.batch;
  if (!batch) batch.reset(new uint64_t[kListingBufferBytes / 8]);
  if (!GetFileInformationByHandleEx(
          folder, first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo, batch.get(),
          kListingBufferBytes))
    return false;
  const char* begin = reinterpret_cast<const char*>(batch.get());
  const auto* last = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(begin);
  while (last->NextEntryOffset != 0)
    last = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const char*>(last) +
                                                          last->NextEntryOffset);
  const size_t used = static_cast<size_t>(reinterpret_cast<const char*>(last->FileName) - begin) +
                      last->FileNameLength;
  if (used > keptBytes) {
    keptBytes = (used + 7) / 8 * 8;
    kept.reset(new uint64_t[keptBytes / 8]);
  }
  std::memcpy(kept.get(), begin, used);
  return true;
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

bool FolderListing::Open(const std::string& folder, ListingScratch& scratch, FileEntry& entry,
                         const uint64_t* knownVolume) {
  Close();
  const std::wstring path = ExtendedPath(folder);
  if (path.empty()) return false;
  // Opening a folder follows a link or junction at its end, as listing it by
  // name always did.
  m_state = new State;
  m_state->scratch = &scratch;
  m_state->folder = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (knownVolume) {
    m_state->volume = *knownVolume;
  } else if (m_state->folder != INVALID_HANDLE_VALUE) {
    m_state->volume = QueryVolume(m_state->folder);
  }
  if (m_state->folder != INVALID_HANDLE_VALUE &&
      ReadBatch(m_state->folder, *m_state->scratch, m_state->batch, m_state->batchBytes, true)) {
    m_state->record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(m_state->batch.get());
    if (Next(entry)) return true;
  } else if (const DWORD error = GetLastError();
             error != ERROR_ACCESS_DENIED && error != ERROR_FILE_NOT_FOUND &&
             error != ERROR_PATH_NOT_FOUND && error != ERROR_NO_MORE_FILES) {
    // The file system cannot list file numbers, or the folder cannot be
    // opened as a handle: a plain listing still finds its files.
    std::wstring pattern = path;
    if (pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    m_state->find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &m_state->found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    m_state->foundPending = m_state->find != INVALID_HANDLE_VALUE;
    if (Next(entry)) return true;
  }
  Close();
  return false;
}

bool FolderListing::Next(FileEntry& entry) {
  if (!m_state) return false;
  while (m_state->foundPending) {
    const WIN32_FIND_DATAW& data = m_state->found;
    const bool exact = NarrowExact(data.cFileName, entry.name);
    if (exact) {
      entry.attributes = data.dwFileAttributes;
      entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      entry.created = Ticks(data.ftCreationTime);
      entry.modified = Ticks(data.ftLastWriteTime);
      entry.accessed = Ticks(data.ftLastAccessTime);
      entry.changed = kNoChangeTime;
      entry.fileId = kNoFileId;
    }
    // Step on only now: the next entry overwrites this one.
    m_state->foundPending = FindNextFileW(m_state->find, &m_state->found) != FALSE;
    if (exact) return true;
  }
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
      entry.changed = Ticks(info->ChangeTime);
      entry.fileId = static_cast<uint64_t>(info->FileId.QuadPart);
    }
    // Step on only now: the next batch overwrites the record.
    if (info->NextEntryOffset != 0) {
      m_state->record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(
          reinterpret_cast<const char*>(info) + info->NextEntryOffset);
    } else {
      m_state->record =
          ReadBatch(m_state->folder, *m_state->scratch, m_state->batch, m_state->batchBytes, false)
              ? reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(m_state->batch.get())
              : nullptr;
    }
    if (exact) return true;
  }
  return false;
}

uint64_t FolderListing::Volume() const { return m_state ? m_state->volume : 0; }

uint32_t FolderListing::EntryAttributes(const std::string& fullPath, FileEntry&) const {
  return GetAttributes(fullPath);
}

FileIdentity FolderListing::Identity(const FileEntry& entry) const {
  return {Volume(), entry.fileId, entry.created, entry.modified, entry.changed};
}

void FolderListing::Close() {
  if (m_state) {
    if (m_state->folder != INVALID_HANDLE_VALUE) CloseHandle(m_state->folder);
    if (m_state->find != INVALID_HANDLE_VALUE) FindClose(m_state->find);
    delete m_state;
    m_state = nullptr;
  }
}

uint32_t GetAttributes(const std::string& path) {
  const std::wstring wide = ExtendedPath(path);
  return wide.empty() ? kInvalidAttributes : GetFileAttributesW(wide.c_str());
}

bool PathExists(const std::string& path) { return GetAttributes(path) != kInvalidAttributes; }

bool IsNotFound(const std::string& path) {
  const std::wstring wide = ExtendedPath(path);
  if (wide.empty() || GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsPlainFolderPath(const std::string& path) {
  std::wstring wide;
  return WidenExact(path, wide) && IsPlainPath(wide);
}

bool RemoveFile(const std::string& path) {
  const std::wstring wide = ExtendedPath(path);
  return !wide.empty() && DeleteFileW(wide.c_str()) != FALSE;
}

namespace {

// What the volume decision asks, of the file being checked.
class FileVolumeLookups final : public VolumeLookups {
 public:
  explicit FileVolumeLookups(HANDLE file) : m_file(file) {}

  bool IsPlainFolder(const std::string& folder) override {
    // Without its final separator, or the path would name the link's target;
    // a drive's root keeps it.
    const bool root = folder.size() == 3 && folder[1] == ':';
    const uint32_t attributes = GetAttributes(root ? folder : folder.substr(0, folder.size() - 1));
    return attributes != kInvalidAttributes && (attributes & kAttrDirectory) &&
           !(attributes & kAttrReparsePoint);
  }
  uint64_t FileVolume() override { return QueryVolume(m_file); }

 private:
  HANDLE m_file;
};

// The look of RemoveFileIfSame: Removed when `file`, opened here, is the one
// listed; `basic` then holds its times and attributes.
RemoveResult OpenIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                        RemovalMemory& memory, Handle& file, FILE_BASIC_INFO& basic) {
  const std::wstring wide = ExtendedPath(path);
  if (wide.empty()) return RemoveResult::Failed;
  // A link at the end of the path is opened itself, not its target; a link
  // or junction earlier on the path leads to another file, whose number then
  // differs. The handle shares everything, so opening disturbs no other
  // program, and the delete goes through it, so nothing can take the file's
  // place between the check and the delete.
  file.value = CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (!file.IsValid()) {
    const DWORD error = GetLastError();
    const bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                      (error == ERROR_ACCESS_DENIED && IsDeletePending());
    return gone ? RemoveResult::Gone : RemoveResult::Failed;
  }
  // Times, size and number through calls that leave the volume alone; the
  // volume is asked only where it cannot be inferred safely (VolumeForCheck).
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(file.value, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(file.value, FileStandardInfo, &standard, sizeof standard))
    return RemoveResult::Failed;
  FileVolumeLookups lookups(file.value);
  const FileIdentity now{VolumeForCheck(path.substr(0, path.find_last_of('\\') + 1), identity,
                                        memory.folderVolumes, lookups),
                         QueryFileId(file.value), Ticks(basic.CreationTime),
                         Ticks(basic.LastWriteTime), Ticks(basic.ChangeTime)};
  if (!IsSameFile(identity, now) || static_cast<uint64_t>(standard.EndOfFile.QuadPart) != size ||
      standard.Directory || (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return RemoveResult::Changed;
  return RemoveResult::Removed;
}

}  // namespace

RemoveResult CheckFileIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                             RemovalMemory& memory) {
  Handle file(INVALID_HANDLE_VALUE);
  FILE_BASIC_INFO basic;
  const RemoveResult look = OpenIfSame(path, identity, size, memory, file, basic);
  if (look != RemoveResult::Removed) return look;
  return (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) ? RemoveResult::Failed
                                                          : RemoveResult::Removed;
}

RemoveResult RemoveFileIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                              RemovalMemory& memory) {
  Handle file(INVALID_HANDLE_VALUE);
  FILE_BASIC_INFO basic;
  const RemoveResult look = OpenIfSame(path, identity, size, memory, file, basic);
  if (look != RemoveResult::Removed) return look;
  // A read-only file refuses either way, as it should: the user is asked.
  std::vector<uint64_t>& classic = memory.classicDeleteVolumes;
  if (std::find(classic.begin(), classic.end(), identity.volume) == classic.end()) {
    struct {
      DWORD flags;
    } at_once{kDispositionDelete | kDispositionPosixSemantics};
    if (SetFileInformationByHandle(file.value,
                                   static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileDispositionInfoEx),
                                   &at_once, sizeof at_once))
      return RemoveResult::Removed;
    const DWORD error = GetLastError();
    if (error != ERROR_INVALID_PARAMETER && error != ERROR_INVALID_FUNCTION &&
        error != ERROR_NOT_SUPPORTED)
      return RemoveResult::Failed;
    classic.push_back(identity.volume);
  }
  // Marked for deletion, the file goes when the last handle closes.
  FILE_DISPOSITION_INFO disposition = {TRUE};
  if (!SetFileInformationByHandle(file.value, FileDispositionInfo, &disposition,
                                  sizeof disposition))
    return RemoveResult::Failed;
  return RemoveResult::Removed;
}

uint32_t VolumeQueryCount() { return g_nVolumeQueries.load(); }

void RefuseNumberedListingForTest(bool refuse) { g_bRefuseNumberedListing.store(refuse); }

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
