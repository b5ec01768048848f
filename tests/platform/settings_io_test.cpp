#include "platform/settings_io.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using namespace platform;

TEST(SettingsIo, OpenFailuresGiveTheirCauses) {
  TempDir dir;
  const std::string file = dir.MakeFile("plain.dat", 3);
  ExclusiveFile opened;
  EXPECT_EQ(opened.OpenForReading(dir / "missing.dat"), kCauseFileNotFound);
  EXPECT_EQ(opened.OpenForReading(dir / "plain.dat/inside.dat"), kCauseBadPath);
  EXPECT_EQ(opened.OpenForReading(dir.MakeFolder("folder.dat")), kCauseAccessDenied);
  EXPECT_EQ(opened.CreateForWriting(dir / "gone/new.dat"), kCauseBadPath);
#if defined(_WIN32)
  EXPECT_EQ(opened.OpenForReading(dir / "gone/plain.dat"), kCauseBadPath);
  // No sharing: the file is ours alone while open.
  ASSERT_EQ(opened.OpenForReading(file), kCauseNone);
  ExclusiveFile second;
  EXPECT_EQ(second.OpenForReading(file), kCauseSharingViolation);
  EXPECT_EQ(second.CreateForWriting(file), kCauseSharingViolation);
#endif
}

TEST(SettingsIo, ReadStopsAtTheEndAndWritesReachTheDisk) {
  TempDir dir;
  const std::string path = dir / "data.dat";
  ExclusiveFile file;
  ASSERT_EQ(file.CreateForWriting(path), kCauseNone);
  EXPECT_EQ(file.Write("abcde", 5), kCauseNone);
  EXPECT_EQ(file.Close(), kCauseNone);
  EXPECT_EQ(ReadWholeFile(path), "abcde");

  char buffer[16] = {};
  ASSERT_EQ(file.OpenForReading(path), kCauseNone);
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

TEST(SettingsIo, ErrorsWithoutAReproductionMapByTheTable) {
  EXPECT_EQ(CauseFromWin32Error(6), kCauseFileNotFound);
  EXPECT_EQ(CauseFromWin32Error(18), kCauseFileNotFound);
  EXPECT_EQ(CauseFromWin32Error(15), kCauseBadPath);
  EXPECT_EQ(CauseFromWin32Error(4), kCauseTooManyOpenFiles);
  EXPECT_EQ(CauseFromWin32Error(16), kCauseRemoveCurrentDir);
  EXPECT_EQ(CauseFromWin32Error(33), kCauseLockViolation);
  EXPECT_EQ(CauseFromWin32Error(38), kCauseEndOfFile);
  EXPECT_EQ(CauseFromWin32Error(39), kCauseDiskFull);
  EXPECT_EQ(CauseFromWin32Error(112), kCauseDiskFull);
  EXPECT_EQ(CauseFromWin32Error(87), kCauseGeneric);  // invalid parameter: no code of its own
}

}  // namespace
