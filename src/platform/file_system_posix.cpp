// The native stand-in for the Win32 calls, so the core runs under the
// sanitizers: attributes, sizes and times mapped the way Wine maps them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace platform {

namespace {

FileTicks Ticks(const struct statx_timestamp& ts) { return SecondsToTicks(ts.tv_sec, ts.tv_nsec); }

uint32_t Attributes(const char* name, unsigned mode, bool link, bool targetIsDir) {
  uint32_t attributes = 0;
  if (S_ISDIR(mode) || (link && targetIsDir)) attributes |= kAttrDirectory;
  if (link) attributes |= kAttrReparsePoint;
  if (!(mode & S_IWUSR)) attributes |= kAttrReadOnly;
  if (name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
    attributes |= kAttrHidden;
  if (attributes == 0) attributes = kAttrArchive;
  return attributes;
}

const char* BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path.c_str() : path.c_str() + slash + 1;
}

std::atomic<uint32_t> g_nVolumeQueries{0};
std::atomic<bool> g_bRefuseNumberedListing{false};

// Birth time where the file system keeps it, else the last status change.
FileTicks CreationTicks(const struct statx& info) {
  return Ticks((info.stx_mask & STATX_BTIME) ? info.stx_btime : info.stx_ctime);
}

// Reads one entry relative to the open folder; false when it vanished.
bool Describe(int dirFd, const char* name, FileEntry& entry) {
  struct statx info;
  if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
    return false;
  const bool link = S_ISLNK(info.stx_mode);
  bool targetIsDir = false;
  if (link) {
    struct statx target;
    if (statx(dirFd, name, 0, STATX_BASIC_STATS | STATX_BTIME, &target) == 0) {
      targetIsDir = S_ISDIR(target.stx_mode);
      info.stx_size = target.stx_size;
    }
  }
  entry.name.assign(name);
  entry.attributes = Attributes(name, info.stx_mode, link, targetIsDir);
  entry.size = (S_ISDIR(info.stx_mode) || targetIsDir) ? 0 : info.stx_size;
  entry.created = CreationTicks(info);
  entry.modified = Ticks(info.stx_mtime);
  entry.accessed = Ticks(info.stx_atime);
  // Of the link itself, which is what a delete removes. A plain listing, as
  // on a file system that cannot list numbers, tells neither of these.
  const bool plain = g_bRefuseNumberedListing.load(std::memory_order_relaxed);
  entry.changed = plain ? kNoChangeTime : Ticks(info.stx_ctime);
  entry.fileId = plain ? kNoFileId : info.stx_ino;
  return true;
}

}  // namespace

struct FolderListing::State {
  DIR* dir = nullptr;
  int fd = -1;
  uint64_t volume = 0;
};

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

// Natively the volume is the device number. A mount point without a link on
// the way is not marked as the Windows listing marks every mount point, so a
// sub-folder's inherited device can be wrong there: the delete then finds
// the file changed and asks, which is safe.
bool FolderListing::Open(const std::string& folder, ListingScratch&, FileEntry& entry,
                         const uint64_t* knownVolume) {
  Close();
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  uint64_t volume = 0;
  if (knownVolume) {
    volume = *knownVolume;
  } else {
    g_nVolumeQueries.fetch_add(1, std::memory_order_relaxed);
    struct stat info;
    if (fstat(dirfd(dir), &info) == 0) volume = static_cast<uint64_t>(info.st_dev);
  }
  m_state = new State{dir, dirfd(dir), volume};
  if (Next(entry)) return true;
  Close();
  return false;
}

bool FolderListing::Next(FileEntry& entry) {
  if (!m_state) return false;
  while (struct dirent* item = readdir(m_state->dir)) {
    if (item->d_type == DT_REG || item->d_type == DT_DIR) {
      // Kind and name are enough to walk; EntryAttributes describes a file.
      entry.name.assign(item->d_name);
      const unsigned mode = item->d_type == DT_DIR ? S_IFDIR | S_IWUSR : S_IFREG | S_IWUSR;
      entry.attributes = Attributes(item->d_name, mode, false, false);
      entry.size = 0;
      entry.created = entry.modified = entry.accessed = 0;
      entry.changed = kNoChangeTime;
      entry.fileId = kNoFileId;
      return true;
    }
    if (Describe(m_state->fd, item->d_name, entry)) return true;
  }
  return false;
}

uint32_t FolderListing::EntryAttributes(const std::string&, FileEntry& entry) const {
  if (!m_state || !Describe(m_state->fd, entry.name.c_str(), entry)) return kInvalidAttributes;
  return entry.attributes;
}

uint64_t FolderListing::Volume() const { return m_state ? m_state->volume : 0; }

FileIdentity FolderListing::Identity(const FileEntry& entry) const {
  return {Volume(), entry.fileId, entry.created, entry.modified, entry.changed};
}

void FolderListing::Close() {
  if (m_state) {
    closedir(m_state->dir);
    delete m_state;
    m_state = nullptr;
  }
}

uint32_t GetAttributes(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return kInvalidAttributes;
  bool targetIsDir = false;
  const bool link = S_ISLNK(info.st_mode);
  if (link) {
    struct stat target;
    targetIsDir = stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
  }
  return Attributes(BaseName(path), info.st_mode, link, targetIsDir);
}

bool PathExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool IsNotFound(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

// Natively no path is made full: only what Windows would read otherwise
// whatever the system (wildcards, device forms) is refused, as there.
bool IsPlainFolderPath(const std::string& path) {
  return !path.empty() && path.find_first_of("*?") == std::string::npos &&
         path.rfind("\\\\.\\", 0) != 0;
}

namespace {

// Windows refuses to delete read-only files and folders; so does this.
bool MayUnlink(unsigned mode) { return !S_ISDIR(mode) && (S_ISLNK(mode) || (mode & S_IWUSR)); }

}  // namespace

bool RemoveFile(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && MayUnlink(info.st_mode) && unlink(path.c_str()) == 0;
}

// The same check as on Windows, of the entry itself (a link is not
// followed). Between the look and the unlink another program could still swap
// the file; Windows deletes through the handle it checked and has no such gap.
// Unlinking takes the name at once here, as the Windows delete does where it
// can.
RemoveResult CheckFileIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                             RemovalMemory&) {
  struct statx info;
  if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &info) !=
      0)
    return errno == ENOENT || errno == ENOTDIR ? RemoveResult::Gone : RemoveResult::Failed;
  const FileIdentity now{makedev(info.stx_dev_major, info.stx_dev_minor), info.stx_ino,
                         CreationTicks(info), Ticks(info.stx_mtime), Ticks(info.stx_ctime)};
  const uint64_t sizeNow = S_ISLNK(info.stx_mode) ? size : info.stx_size;
  if (!IsSameFile(identity, now) || sizeNow != size || S_ISDIR(info.stx_mode))
    return RemoveResult::Changed;
  return MayUnlink(info.stx_mode) ? RemoveResult::Removed : RemoveResult::Failed;
}

// The native build has no bin to hand files to: nothing moves, so the worker
// asks about every file, as about one the bin cannot take.
void HandToRecycleBin(const std::vector<std::string>&) {}

bool CanHandToRecycleBin(const std::string& path) { return IsPlainFolderPath(path); }

RemoveResult RemoveFileIfSame(const std::string& path, const FileIdentity& identity, uint64_t size,
                              RemovalMemory& memory) {
  const RemoveResult check = CheckFileIfSame(path, identity, size, memory);
  if (check != RemoveResult::Removed) return check;
  return unlink(path.c_str()) == 0 ? RemoveResult::Removed : RemoveResult::Failed;
}

uint32_t VolumeQueryCount() { return g_nVolumeQueries.load(); }

void RefuseNumberedListingForTest(bool refuse) { g_bRefuseNumberedListing.store(refuse); }

bool GetFolderId(const std::string& path, FolderId& id) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  id.volume = info.st_dev;
  id.index = info.st_ino;
  return true;
}

}  // namespace platform
