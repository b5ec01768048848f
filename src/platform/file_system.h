#pragma once
// The few file-system services the workers need, behind one small interface:
// a Win32 implementation and a POSIX one for the native build, where the core
// runs under the sanitizers.
//
// Paths are the program's 8-bit text. On Windows every call goes through the
// wide functions with the exact "\\?\" form of the path, and every name read
// from the disk is converted with a round-trip check: the ANSI functions would
// hand back best-fit look-alikes (an l with a stroke as a plain l, a full-width
// reverse solidus as "\\"), cut long names and drop a final dot or blank, any of which names
// another file. A name that cannot be converted exactly is never listed.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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
inline constexpr int64_t kTicksPerSecond = 10000000;
inline constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
// Seconds that stand for a file time the file system does not keep (a share
// that reports no creation time) or that cannot be converted: no date
// condition but "any" takes it, rather than passing it for a file of 1970.
inline constexpr int64_t kNoFileTime = INT64_MIN;
// Whole seconds since 1970 UTC of a file time, and back (0 for a time before
// 1601, which a file time cannot hold).
inline int64_t TicksToSeconds(FileTicks ticks) {
  return static_cast<int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
}
inline FileTicks SecondsToTicks(int64_t seconds, int64_t nanoseconds = 0) {
  const int64_t since1601 = seconds + kSecondsFrom1601To1970;
  return since1601 < 0 ? 0
                       : static_cast<FileTicks>(since1601 * kTicksPerSecond + nanoseconds / 100);
}

// What makes a listed file the same file at delete time: the volume and the
// file's number on it (which a rename keeps and a new file under the old name
// does not have), its creation time (new for a file made again in a reused
// place, as FAT reuses a directory entry's number), its last-write time
// (which a rewrite changes) and its change time (which moves with any change,
// even where the system reuses a deleted file's number at once). The size is
// compared too, from the store's own size column.
inline constexpr uint64_t kNoFileId = 0;           // a plain listing cannot tell the number
inline constexpr FileTicks kNoChangeTime = ~0ULL;  // nor the change time
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t fileId = kNoFileId;
  FileTicks created = 0;
  FileTicks modified = 0;
  FileTicks changed = kNoChangeTime;
  bool operator==(const FileIdentity&) const = default;
};
// True when `now`, read from the file at delete time, is the file that the
// search listed as `listed`. What the listing could not read is not
// compared; a file system that keeps no change time reports zero both times.
inline bool IsSameFile(const FileIdentity& listed, const FileIdentity& now) {
  return listed.volume == now.volume &&
         (listed.fileId == kNoFileId || listed.fileId == now.fileId) &&
         listed.created == now.created && listed.modified == now.modified &&
         (listed.changed == kNoChangeTime || listed.changed == now.changed);
}

struct FileEntry {
  std::string name;  // long name with its extension
  uint32_t attributes = 0;
  uint64_t size = 0;
  FileTicks created = 0;
  FileTicks modified = 0;
  FileTicks accessed = 0;
  FileTicks changed = kNoChangeTime;
  uint64_t fileId = kNoFileId;  // the file's number on its volume
};

// What a walk's listings read each batch of entries into, before each keeps
// only the bytes its records take. One per walk, owned by the walk: its
// listings read one at a time. Never a thread-local buffer: with this
// toolchain a thread-local object's destructor can run after the thread's
// storage is freed, and the program then frees garbage as the thread ends.
struct ListingScratch {
  std::unique_ptr<uint64_t[]> batch;  // allocated by the first read that needs it
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

  // Opens the folder (a path without the "\\*.*" pattern) and reads the first
  // entry into `entry`. False when the folder cannot be listed. The entries'
  // volume is `*knownVolume` when the caller knows it (a sub-folder reached
  // without crossing a link or mount point lies on its parent's volume), and
  // is otherwise asked of the system once, here. A folder whose file system
  // cannot list file numbers is listed plainly: its entries carry neither
  // number nor change time. `scratch` must outlive the listing.
  bool Open(const std::string& folder, ListingScratch& scratch, FileEntry& entry,
            const uint64_t* knownVolume = nullptr);
  // Reads the next entry; false at the end. Entries whose names cannot be
  // expressed exactly in the program's text are passed over.
  bool Next(FileEntry& entry);
  uint64_t Volume() const;
  // A fresh look at the file just read, whose full path is `fullPath`: its
  // attributes now (GetAttributes on that path), kInvalidAttributes when it
  // is gone. Natively the listing reads only the names and kinds of plain
  // files, and this one call relative to the open folder fills in their size,
  // times and attributes: one call per file, as the Windows listing has.
  uint32_t EntryAttributes(const std::string& fullPath, FileEntry& entry) const;
  // The identity of the entry just read (after EntryAttributes natively).
  FileIdentity Identity(const FileEntry& entry) const;
  void Close();

 private:
  struct State;
  State* m_state = nullptr;
};

uint32_t GetAttributes(const std::string& path);  // kInvalidAttributes on failure
bool PathExists(const std::string& path);
// True only when the system says nothing is there (file or path not found):
// a path it cannot read for another reason (access denied, a network error)
// may still hold the file.
bool IsNotFound(const std::string& path);
// A folder's path in the plain form the folder browser gives: full, neither
// of the device forms "\\?\" and "\\.\", no wildcard, and nothing the system
// would change in making it full (a final dot or blank, "." or "..", "/").
bool IsPlainFolderPath(const std::string& path);

enum class RemoveResult {
  Removed,
  Failed,   // cannot be opened or refuses deletion: read-only, in use
  Gone,     // nothing by that name any more, or it is already on its way out
  Changed,  // another file stands there now, or this one was rewritten
};
// Deletes one file for good; false when it cannot (read-only, in use, gone).
bool RemoveFile(const std::string& path);

// What one delete run remembers from file to file: the volume of each folder
// it has checked (a folder's files lie on its volume, which is its parent's
// unless it is a link or mount point), and the volumes that refused the
// delete that takes the name away at once.
struct RemovalMemory {
  std::unordered_map<std::string, uint64_t> folderVolumes;
  std::vector<uint64_t> classicDeleteVolumes;
};
// Deletes one file for good, but only when it is still the file that was
// listed (IsSameFile, the size and not a folder). On Windows the file is
// opened without following a link at its end, compared and deleted through
// that one handle, so nothing can slip in between; the read-only attribute is
// respected, and the name goes at once even while another program holds the
// file open, where the file system allows it.
RemoveResult RemoveFileIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                              RemovalMemory& memory);

// The look RemoveFileIfSame takes before it deletes, and nothing more, for a
// caller that hands the file on (to the Recycle Bin): Removed when the file
// is still the one listed and the delete would have gone ahead; a read-only
// file is Failed, as the delete refuses it.
RemoveResult CheckFileIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                             RemovalMemory& memory);

// Whether the shell reads `path` as the file it names, and so may be handed
// it: the plain form of IsPlainFolderPath, shorter than the shell's MAX_PATH.
// The shell takes "*" and "?" for wildcards, "\\?\" and "\\.\" paths as they
// stand, and a final dot or blank as nothing; any of these would name
// another file than the one checked.
bool CanHandToRecycleBin(const std::string& path);
// Hands the files to the shell in one operation, to be moved to the Recycle
// Bin; the caller tells what went by what is no longer there. A file the bin
// cannot take (no bin on its drive, too large, a share, a path
// CanHandToRecycleBin refuses) stays where it is: never deleted for good.
// Natively there is no bin, and nothing moves.
void HandToRecycleBin(const std::vector<std::string>& paths);

// How many times the listing and the delete have asked the system for a
// volume: the one call of theirs that costs more than a folder's listing.
uint32_t VolumeQueryCount();
// Test seam: listings behave as on a file system that cannot list file
// numbers (some network and virtual ones), and fall back to a plain listing.
void RefuseNumberedListingForTest(bool refuse);

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
