#include "search/scheduled_run.h"

#include <gtest/gtest.h>

#include <atomic>

#include "support/temp_dir.h"

// A saved search run by itself: what it finds, into a store of its own; a
// listed folder gone fails it; a stop (the user's search) ends it unfinished.
TEST(ScheduledRun, FindsIntoItsOwnStoreFailsOnAGoneFolderAndYields) {
  TempDir dir;
  dir.MakeFile("a.tmp", 100);
  dir.MakeFile("sub/b.tmp", 50);
  dir.MakeFile("c.doc", 7);
  SearchDefinition search;
  search.m_arrFolders = {dir.Path()};
  search.m_inputs.m_nAllFiles = 0;
  search.m_inputs.m_nSpecifyType = 1;
  search.m_inputs.m_strTypePattern = "*.tmp";

  CScheduledRun run;
  std::atomic<int> done{0};
  ASSERT_TRUE(run.Start(search, [&] { done.fetch_add(1); }));
  EXPECT_FALSE(run.Start(search, [] {}));  // one at a time
  const CScheduledRun::Result found = run.Finish();
  EXPECT_EQ(done.load(), 1);
  EXPECT_FALSE(found.stopped || found.failed);
  EXPECT_EQ(found.found, 2u);
  EXPECT_EQ(found.bytes, 150u);
  EXPECT_FALSE(found.limitReached);
  EXPECT_FALSE(run.Running());

  search.m_arrFolders.push_back(dir / "gone");
  ASSERT_TRUE(run.Start(search, [] {}));
  EXPECT_TRUE(run.Finish().failed);

  ASSERT_TRUE(run.Start(search, [] {}));
  run.Stop();
  EXPECT_TRUE(run.Finish().stopped);

  search.m_arrFolders.clear();  // refused as Find refuses it
  EXPECT_FALSE(run.Start(search, [] {}));
}
