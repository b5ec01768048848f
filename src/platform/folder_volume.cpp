#include "platform/folder_volume.h"

namespace platform {

namespace {

// The length of the root of a Windows path: C:\, \\server\share\, and both
// in their \\?\ forms.
size_t RootLength(const std::string& path) {
  // Past the separators that end `parts` parts from `start`; the whole path
  // when it has fewer.
  auto past = [&](size_t start, int parts) {
    size_t at = start;
    for (int part = 0; part < parts; ++part) {
      at = path.find('\\', at);
      if (at == std::string::npos) return path.size();
      ++at;
    }
    return at;
  };
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return past(8, 2);
  if (path.rfind("\\\\?\\", 0) == 0) return 7;
  if (path.rfind("\\\\", 0) == 0) return past(2, 2);
  return 3;
}

}  // namespace

std::string ParentOnSameVolume(const std::string& folder) {
  const size_t root = RootLength(folder);
  if (folder.size() <= root) return {};
  const size_t cut = folder.find_last_of('\\', folder.size() - 2);
  if (cut == std::string::npos || cut + 1 < root) return {};
  return folder.substr(0, cut + 1);
}

uint64_t VolumeForCheck(const std::string& folder, const FileIdentity& listed,
                        std::unordered_map<std::string, uint64_t>& known, VolumeLookups& lookups) {
  if (listed.fileId == kNoFileId) return lookups.FileVolume();
  uint64_t volume = 0;
  if (const auto hit = known.find(folder); hit != known.end()) {
    volume = hit->second;
  } else {
    bool plain = lookups.IsPlainFolder(folder);
    std::string parent = ParentOnSameVolume(folder);
    const auto above = plain && !parent.empty() ? known.find(parent) : known.end();
    if (above != known.end()) {
      volume = above->second;
      known[folder] = volume;
    } else {
      volume = known[folder] = lookups.FileVolume();
      while (plain && !parent.empty() && known.emplace(parent, volume).second) {
        plain = lookups.IsPlainFolder(parent);
        parent = ParentOnSameVolume(parent);
      }
      return volume;
    }
  }
  if (volume != listed.volume) volume = known[folder] = lookups.FileVolume();
  return volume;
}

}  // namespace platform
