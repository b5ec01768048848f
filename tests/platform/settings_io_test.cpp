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
  EXPECT_EQ(opened.CreateForWriting(dir / "gone/new.dat"), kCauseBadPath);
#if defined(_WIN32)
  EXPECT_EQ(opened.OpenForReading(dir / "gone/plain.dat"), kCauseBadPath);
  // Reading shares, as the scanners that open the file do; writing does not.
  ASSERT_EQ(opened.OpenForReading(file), kCauseNone);
  ExclusiveFile second;
  EXPECT_EQ(second.OpenForReading(file), kCauseNone);
  second.Close();
  EXPECT_EQ(second.CreateForWriting(file), kCauseSharingViolation);
  opened.Close();
  ASSERT_EQ(opened.CreateForWriting(file), kCauseNone);
  EXPECT_EQ(second.OpenForReading(file), kCauseSharingViolation);
#endif
}

}  // namespace
