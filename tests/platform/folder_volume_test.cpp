// Shares and DFS links exist only on Windows: the decision on a file's
// volume is tried on made-up folders, with the volumes Windows would give.

#include "platform/folder_volume.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

TEST(FolderVolume, AParentOnTheSameVolumeStopsAtTheRootOfADriveOrShare) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\a\\b\\", "C:\\a\\"},
      {"C:\\", ""},
      {"\\\\srv\\share\\a\\", "\\\\srv\\share\\"},
      {"\\\\srv\\share\\", ""},  // not \\srv\, which holds every share
      {"\\\\?\\UNC\\srv\\share\\a\\", "\\\\?\\UNC\\srv\\share\\"},
      {"\\\\?\\UNC\\srv\\share\\", ""},
  };
  for (const auto& [folder, parent] : cases)
    EXPECT_EQ(platform::ParentOnSameVolume(folder), parent) << folder;
}

// `dfs` looks like a plain folder; `link` is a link.
class MadeUpSystem final : public platform::VolumeLookups {
 public:
  std::map<std::string, uint64_t> volumes = {{"\\\\srv\\a\\", 1},      {"\\\\srv\\b\\", 2},
                                             {"\\\\srv\\a\\dfs\\", 5}, {"C:\\x\\", 3},
                                             {"C:\\x\\link\\", 6},     {"C:\\x\\link\\in\\", 6}};
  std::string folder;  // of the file being checked
  int asked = 0;

  bool IsPlainFolder(const std::string& path) override { return path != "C:\\x\\link\\"; }
  uint64_t FileVolume() override { return ++asked, volumes.at(folder); }
};

TEST(FolderVolume, InferredOnlyWhereSafeAndAskedBeforeAFileCountsAsChanged) {
  struct Check {
    const char* folder;
    uint64_t listedVolume, fileId, expected;
    int asks;
  };
  const Check checks[] = {
      {"\\\\srv\\a\\", 1, 7, 1, 1},
      {"\\\\srv\\b\\", 2, 8, 2, 1},  // another share
      {"\\\\srv\\a\\dfs\\", 5, 9, 5, 1},
      {"\\\\srv\\a\\dfs\\", 5, 10, 5, 0},
      {"C:\\x\\link\\in\\", 6, 11, 6, 1},
      {"C:\\x\\link\\", 6, 12, 6, 0},  // past a link
      {"C:\\x\\", 3, 13, 3, 1},
      {"C:\\x\\", 4, 14, 3, 1},  // moved to another volume: still not the listed one
      {"C:\\x\\", 3, platform::kNoFileId, 3, 1},  // a plain listing's thin identity
  };
  MadeUpSystem system;
  std::unordered_map<std::string, uint64_t> known;
  for (const Check& check : checks) {
    system.folder = check.folder;
    system.asked = 0;
    platform::FileIdentity listed;
    listed.volume = check.listedVolume;
    listed.fileId = check.fileId;
    EXPECT_EQ(platform::VolumeForCheck(check.folder, listed, known, system), check.expected)
        << check.folder << " " << check.fileId;
    EXPECT_EQ(system.asked, check.asks) << check.folder << " " << check.fileId;
  }
}

}  // namespace
