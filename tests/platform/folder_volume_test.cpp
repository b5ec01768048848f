// Shares and DFS links exist only on Windows: the decision about which
// volume a file lies on is tried here on made-up folders, with the volumes
// the system would give.

#include "platform/folder_volume.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::FileIdentity;

TEST(FolderVolume, AParentOnTheSameVolumeStopsAtTheRootOfADriveOrShare) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\a\\b\\", "C:\\a\\"},
      {"C:\\a\\", "C:\\"},
      {"C:\\", ""},
      // The server above a share holds every share, each a volume of its own.
      {"\\\\server\\share\\a\\", "\\\\server\\share\\"},
      {"\\\\server\\share\\", ""},
      {"\\\\server\\", ""},
      {"\\\\?\\C:\\a\\", "\\\\?\\C:\\"},
      {"\\\\?\\C:\\", ""},
      {"\\\\?\\UNC\\server\\share\\a\\", "\\\\?\\UNC\\server\\share\\"},
      {"\\\\?\\UNC\\server\\share\\", ""},
  };
  for (const auto& [folder, parent] : cases) {
    EXPECT_EQ(platform::ParentOnSameVolume(folder), parent) << folder;
  }
}

// A made-up system: the folders that are links (a DFS link among them looks
// plain, as it does to a client) and the volume each file truly lies on.
class MadeUpSystem final : public platform::VolumeLookups {
 public:
  std::set<std::string> links;
  std::map<std::string, uint64_t> volumes;  // folder -> the volume of its files
  std::string folder;                       // of the file being checked
  int asked = 0;

  bool IsPlainFolder(const std::string& path) override { return links.count(path) == 0; }
  uint64_t FileVolume() override {
    ++asked;
    return volumes.at(folder);
  }
};

struct Check {
  const char* folder;
  uint64_t listedVolume;
  uint64_t fileId;
  uint64_t expected;  // the volume compared with the listed one
  int asks;           // how often the system was asked for this file
};

void RunChecks(MadeUpSystem& system, const std::vector<Check>& checks) {
  std::unordered_map<std::string, uint64_t> known;
  for (const Check& check : checks) {
    system.folder = check.folder;
    system.asked = 0;
    FileIdentity listed;
    listed.volume = check.listedVolume;
    listed.fileId = check.fileId;
    EXPECT_EQ(platform::VolumeForCheck(check.folder, listed, known, system), check.expected)
        << check.folder;
    EXPECT_EQ(system.asked, check.asks) << check.folder;
  }
}

TEST(FolderVolume, SharesOfOneServerAreVolumesOfTheirOwn) {
  MadeUpSystem system;
  system.volumes = {{"\\\\srv\\a\\", 1}, {"\\\\srv\\a\\sub\\", 1}, {"\\\\srv\\b\\", 2}};
  RunChecks(system, {
                        {"\\\\srv\\a\\sub\\", 1, 7, 1, 1},
                        {"\\\\srv\\a\\", 1, 8, 1, 0},  // above a known plain folder
                        {"\\\\srv\\b\\", 2, 9, 2, 1},  // not the first share's volume
                        {"\\\\srv\\b\\", 2, 10, 2, 0},
                    });
}

TEST(FolderVolume, AnInferredVolumeThatDiffersIsAskedOfTheFileBeforeItCounts) {
  MadeUpSystem system;
  // A DFS link: a plain folder to the client, on another server's volume.
  system.volumes = {
      {"\\\\srv\\a\\", 1}, {"\\\\srv\\a\\dfs\\", 5}, {"C:\\x\\", 3}, {"C:\\x\\y\\", 3}};
  RunChecks(system, {
                        {"\\\\srv\\a\\", 1, 7, 1, 1},
                        {"\\\\srv\\a\\dfs\\", 5, 8, 5, 1},
                        {"\\\\srv\\a\\dfs\\", 5, 9, 5, 0},  // learnt for the folder
                        {"C:\\x\\", 3, 10, 3, 1},
                        // A file that truly moved to another volume: asked
                        // once, and still not the listed volume.
                        {"C:\\x\\y\\", 4, 11, 3, 1},
                    });
}

TEST(FolderVolume, AFileListedWithoutANumberIsAlwaysAsked) {
  MadeUpSystem system;
  system.volumes = {{"C:\\x\\", 3}};
  RunChecks(system, {
                        {"C:\\x\\", 3, 11, 3, 1},
                        {"C:\\x\\", 3, platform::kNoFileId, 3, 1},
                        {"C:\\x\\", 3, platform::kNoFileId, 3, 1},
                        {"C:\\x\\", 3, 12, 3, 0},
                    });
}

TEST(FolderVolume, ALinkTakesNoVolumeFromAbove) {
  MadeUpSystem system;
  system.links = {"C:\\x\\link\\"};
  system.volumes = {{"C:\\x\\", 3}, {"C:\\x\\link\\", 6}, {"C:\\x\\link\\in\\", 6}};
  RunChecks(system, {
                        {"C:\\x\\", 3, 1, 3, 1},
                        {"C:\\x\\link\\in\\", 6, 2, 6, 1},
                        {"C:\\x\\link\\", 6, 3, 6, 0},  // learnt from the folder below
                    });
}

}  // namespace
