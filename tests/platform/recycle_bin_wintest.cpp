// The shell's Recycle Bin as this Wine gives it: the XDG trash under
// XDG_DATA_HOME, which the tests' CMake points into the build folder (and, for
// platform_wintest_no_bin, at /dev/null, where no trash can be made).

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/exact_files.h"
#include "support/temp_dir.h"

namespace {

bool NoBin() { return std::getenv("QUILLORY_EXPECT_NO_BIN") != nullptr; }

// The trash's folder as this process sees it (Wine shows the host as Z:).
std::string TrashFolder(const char* kind) {
  std::string path = std::string("Z:") + std::getenv("XDG_DATA_HOME") + "/Trash/" + kind;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

// Two files go to the trash with their bytes; a name with a final dot, whose
// plain form the shell would read as the file beside it, is not handed over,
// and neither goes.
TEST(RecycleBinShell, MovesFilesAndNeverAPathTheShellWouldReadAsAnother) {
  if (NoBin()) GTEST_SKIP() << "this run has no bin";
  TempDir dir;
  // A name of this run only: the trash outlives the test.
  const std::string name = dir.Path().substr(dir.Path().find_last_of('\\') + 1) + ".tmp";
  const std::string moved = dir.MakeFile(name, 5);
  const std::string twin = dir.MakeFile("twin.tmp", 3);
  ASSERT_TRUE(exact::WriteFile(twin + ".", "dotted"));

  platform::HandToRecycleBin({moved, twin + "."});

  EXPECT_EQ(exact::Snapshot(dir.Path()),
            (std::map<std::string, std::string>{{"twin.tmp", ReadWholeFile(twin)},
                                                {"twin.tmp.", "dotted"}}));
  EXPECT_EQ(ReadWholeFile(TrashFolder("files") + "\\" + name).size(), 5u);
  EXPECT_NE(ReadWholeFile(TrashFolder("info") + "\\" + name + ".trashinfo").find("[Trash Info]"),
            std::string::npos);
  RemoveEntry(TrashFolder("files") + "\\" + name, false);
  RemoveEntry(TrashFolder("info") + "\\" + name + ".trashinfo", false);
}

// Where no bin can take a file, the shell would delete it for good unless it
// warns first: it warns, the warning is answered Cancel, and every file stays.
TEST(RecycleBinShell, WithoutABinEveryFileStays) {
  if (!NoBin()) GTEST_SKIP() << "run by platform_wintest_no_bin";
  TempDir dir;
  const std::vector<std::string> files = {dir.MakeFile("a.tmp", 4), dir.MakeFile("b.tmp", 6)};
  platform::HandToRecycleBin(files);
  EXPECT_EQ(ReadWholeFile(files[0]).size(), 4u);
  EXPECT_EQ(ReadWholeFile(files[1]).size(), 6u);
}
