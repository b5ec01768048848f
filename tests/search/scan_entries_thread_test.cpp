#include "search/scan_entries_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/text.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"
#include "support/worker_run.h"

#if !defined(_WIN32)
#include <pthread.h>
#include <sys/resource.h>
#endif

namespace {

constexpr char kSep = platform::kSeparator;

struct Scan {
  CAppData data;
  SearchCriteria criteria;
  RecordingSink sink;

  void Run(CScanEntriesThread& worker) { ASSERT_TRUE(RunWorker(worker, sink, data, TASK_SEARCH)); }
  void Run(std::vector<std::string> folders) {
    data.m_arrFolders = std::move(folders);
    CScanEntriesThread worker(&criteria, &data);
    Run(worker);
    processed = worker.m_nProcessed.load();
    found = worker.m_nFound.load();
  }

  std::multiset<std::string> Paths() const {
    std::multiset<std::string> paths;
    for (size_t i = 0; i < data.GetResultCount(); ++i) paths.insert(data.GetResultPath(i));
    return paths;
  }

  uint32_t processed = 0;
  uint32_t found = 0;
};

int64_t Utc(int y, int mo, int d, int h, int mi, int s) {
  // Days from civil date, so the test does not depend on the library it checks.
  y -= mo <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = int64_t{era} * 146097 + doe - 719468;
  return days * 86400 + h * 3600 + mi * 60 + s;
}

}  // namespace

TEST(ScanWorker, RecordsEveryColumnOfAMatch) {
  UseTestTimeZone();
  TempDir dir;
  const std::string file = dir.MakeFile("Sub Folder/Report.DOC", 1234);
  // Winter and summer: the text shows each instant in the local time of its
  // own season (TZ=EST5EDT), not shifted by today's daylight-saving bias.
  ASSERT_TRUE(SetFileTimes(file, Utc(2023, 5, 1, 0, 0, 0), Utc(2024, 1, 15, 17, 30, 0),
                           Utc(2024, 7, 15, 17, 30, 0)));
  Scan scan;
  scan.Run({dir.Path()});
  ASSERT_EQ(scan.data.GetResultCount(), 1u);
  EXPECT_EQ(scan.data.m_arrFoundNames[0], "Report.DOC");
  EXPECT_EQ(scan.data.m_arrDeleteMarks[0], 0);
  EXPECT_EQ(scan.data.m_arrFoundLocations[0], dir / "Sub Folder" + kSep);
  EXPECT_EQ(scan.data.m_arrFoundTypes[0], "doc");
  EXPECT_EQ(scan.data.m_arrFoundSizes[0], 1234u);
  EXPECT_EQ(scan.data.m_arrFoundDates[0], "01/15/24 12:30:00");
  EXPECT_EQ(scan.data.m_arrFoundTimes[0], Utc(2024, 1, 15, 17, 30, 0));
  // What a delete will check the file against: the listing's own identity.
  EXPECT_EQ(scan.data.m_arrFoundIdentities[0], ListedIdentity(file));
  EXPECT_NE(scan.data.m_arrFoundIdentities[0].fileId, 0u);
  EXPECT_EQ(scan.data.m_nFoundCount, 1);

  Scan accessed;
  accessed.criteria.m_nDateField = DATE_ACCESSED;
  accessed.Run({dir.Path()});
  ASSERT_EQ(accessed.data.GetResultCount(), 1u);
  EXPECT_EQ(accessed.data.m_arrFoundDates[0], "07/15/24 13:30:00");
}

TEST(ScanWorker, MessagesInTheirOrder) {
  TempDir dir;
  dir.MakeFile("a.txt");
  dir.MakeFile("b/c.txt");
  Scan scan;
  scan.Run({dir.Path()});
  EXPECT_EQ(scan.sink.Sequence(), "started posted-progress finished refill notify");
  EXPECT_EQ(scan.sink.sentProgress, 2u);  // one per examined file
  EXPECT_EQ(scan.processed, 2u);
  EXPECT_EQ(scan.data.m_nTask, TASK_NONE);
  EXPECT_EQ(scan.data.m_nRunningTask, TASK_NONE);

  Scan none;  // the page refuses this, but the worker copes
  none.Run({});
  EXPECT_EQ(none.sink.Sequence(), "started posted-progress finished refill notify");
  EXPECT_EQ(none.data.GetResultCount(), 0u);
}

TEST(ScanWorker, ExtensionsAsTheUserMeansThem) {
  TempDir dir;
  for (const char* name : {"archive.tar.gz", ".profile", "README", "A.DOC", "b.doc", "c.docx"})
    dir.MakeFile(name);
#if !defined(_WIN32)
  dir.MakeFile("name.");  // Windows drops a final dot when the file is made
#endif
  auto matching = [&](const std::string& extension) {
    Scan scan;
    scan.criteria.m_strExtension = extension;
    scan.Run({dir.Path()});
    std::set<std::string> names;
    for (size_t i = 0; i < scan.data.GetResultCount(); ++i)
      names.insert(std::string(scan.data.m_arrFoundNames[i]));
    return names;
  };
  EXPECT_EQ(matching("doc"), (std::set<std::string>{"A.DOC", "b.doc"}));
  EXPECT_EQ(matching("DOC"), (std::set<std::string>{"A.DOC", "b.doc"}));
  EXPECT_EQ(matching("gz"), (std::set<std::string>{"archive.tar.gz"}));
  EXPECT_EQ(matching("profile"), (std::set<std::string>{".profile"}));
  EXPECT_EQ(matching("doc;*.txt"), (std::set<std::string>{}));
  EXPECT_EQ(matching("*").size(), matching("").size());
  EXPECT_TRUE(matching("*").count("README"));

  Scan types;
  types.Run({dir.Path()});
  for (size_t i = 0; i < types.data.GetResultCount(); ++i) {
    const std::string name(types.data.m_arrFoundNames[i]);
    if (name == "README" || name == "name.") {
      EXPECT_EQ(types.data.m_arrFoundTypes[i], "");
    }
    if (name == ".profile") {
      EXPECT_EQ(types.data.m_arrFoundTypes[i], "profile");
    }
  }
}

TEST(ScanWorker, SizesAtAndBeyondFourGiB) {
  TempDir dir;
  const uint64_t fourGiB = 4ULL << 30;
  for (const auto& [name, size] : {std::pair<const char*, uint64_t>{"under", fourGiB - 1},
                                   {"exact", fourGiB},
                                   {"over", fourGiB + 1}}) {
    const std::string path = dir.MakeFile(name);
    std::filesystem::resize_file(path, size);  // sparse: no disk is used
  }
  auto names = [&](int condition, uint64_t from, uint64_t to) {
    Scan scan;
    scan.criteria.m_nSizeCondition = condition;
    scan.criteria.m_dwSizeFrom = from;
    scan.criteria.m_dwSizeTo = to;
    scan.Run({dir.Path()});
    std::set<std::string> result;
    for (size_t i = 0; i < scan.data.GetResultCount(); ++i)
      result.insert(std::string(scan.data.m_arrFoundNames[i]));
    return result;
  };
  EXPECT_EQ(names(SIZE_MORE, fourGiB, 0), (std::set<std::string>{"exact", "over"}));
  EXPECT_EQ(names(SIZE_LESS, fourGiB, 0), (std::set<std::string>{"under", "exact"}));
  EXPECT_EQ(names(SIZE_BETWEEN, fourGiB, fourGiB), (std::set<std::string>{"exact"}));
  EXPECT_EQ(names(SIZE_LESS, 0xFFFFFFFFULL, 0), (std::set<std::string>{"under"}));

  Scan all;
  all.Run({dir.Path()});
  for (size_t i = 0; i < all.data.GetResultCount(); ++i)
    if (all.data.m_arrFoundNames[i] == "over") {
      EXPECT_EQ(all.data.m_arrFoundSizes[i], fourGiB + 1);
    }
}

TEST(ScanWorker, DateBoundsInclusiveOnTheTestedTime) {
  TempDir dir;
  const int64_t t = Utc(2024, 3, 10, 12, 0, 0);
  ASSERT_TRUE(SetFileTimes(dir.MakeFile("at.txt"), t, t, t));
  ASSERT_TRUE(SetFileTimes(dir.MakeFile("before.txt"), t - 1, t - 1, t - 1));
  ASSERT_TRUE(SetFileTimes(dir.MakeFile("after.txt"), t + 1, t + 1, t + 1));
  auto names = [&](int condition, int64_t from, int64_t to) {
    Scan scan;
    scan.criteria.m_nDateCondition = condition;
    scan.criteria.m_tDateFrom = from;
    scan.criteria.m_tDateTo = to;
    scan.Run({dir.Path()});
    std::set<std::string> result;
    for (size_t i = 0; i < scan.data.GetResultCount(); ++i)
      result.insert(std::string(scan.data.m_arrFoundNames[i]));
    return result;
  };
  EXPECT_EQ(names(DATE_BEFORE, t, 0), (std::set<std::string>{"before.txt", "at.txt"}));
  EXPECT_EQ(names(DATE_AFTER, t, 0), (std::set<std::string>{"at.txt", "after.txt"}));
  EXPECT_EQ(names(DATE_IS, t, t), (std::set<std::string>{"at.txt"}));
  EXPECT_EQ(names(DATE_BETWEEN, t - 1, t), (std::set<std::string>{"before.txt", "at.txt"}));
}

// The C library knows no local time before 1970; such files still show their
// date, and the date conditions test the same instant the row shows.
TEST(ScanWorker, FilesFromBefore1970ShowAndMatchTheirDates) {
  UseTestTimeZone();
  TempDir dir;
  const int64_t t = Utc(1950, 1, 15, 17, 30, 0);  // winter: no rules of any year apply
  ASSERT_TRUE(SetFileTimes(dir.MakeFile("old.txt"), t, t, t));
  Scan scan;
  scan.criteria.m_nDateCondition = DATE_BEFORE;
  scan.criteria.m_tDateFrom = platform::MakeTime({1960, 1, 1, 0, 0, 0});
  ASSERT_NE(scan.criteria.m_tDateFrom, -1);
  scan.Run({dir.Path()});
  ASSERT_EQ(scan.data.GetResultCount(), 1u);
  EXPECT_EQ(scan.data.m_arrFoundDates[0], "01/15/50 12:30:00");
  EXPECT_EQ(scan.data.m_arrFoundTimes[0], t);
}

TEST(ScanWorker, FileTimesNotKeptBeforeNineteenHundredOrUnconvertibleAreNoTime) {
  const uint64_t ticksPerSecond = 10000000;
  const int64_t none = platform::kNoFileTime;
  EXPECT_EQ(FileTicksToSeconds(11644473600ULL * ticksPerSecond), 0);  // 1970
  EXPECT_EQ(FileTicksToSeconds((11644473600ULL + 90) * ticksPerSecond + 9999999), 90);
  EXPECT_EQ(FileTicksToSeconds(0), none);                      // not kept
  EXPECT_EQ(FileTicksToSeconds(0x8000000000000000ULL), none);  // not a time
  const int64_t start1900 = -2208988800;
  EXPECT_EQ(FileTicksToSeconds(static_cast<uint64_t>(start1900 + 11644473600) * ticksPerSecond),
            start1900);
  EXPECT_EQ(FileTicksToSeconds(static_cast<uint64_t>(start1900 - 1 + 11644473600) * ticksPerSecond),
            none);
}

TEST(ScanWorker, FoldersListedTwiceAndHiddenFoldersWalked) {
  TempDir dir;
  dir.MakeFile("top.txt");
  dir.MakeFile(".hidden/inside.txt");
  Scan scan;
  scan.Run({dir.Path(), dir.Path() + kSep, dir / ".hidden"});
  std::multiset<std::string> expected;
  for (int i = 0; i < 2; ++i) {
    expected.insert(dir / "top.txt");
    expected.insert(dir / ".hidden/inside.txt");
  }
  expected.insert(dir / ".hidden/inside.txt");
  EXPECT_EQ(scan.Paths(), expected);
  EXPECT_EQ(scan.processed, 5u);  // "." and ".." are never walked nor counted
}

// A listed sub-folder is walked even when its name is on the skip list; the
// folders it skips below any listed folder are neither entered nor counted.
TEST(ScanWorker, SkippedFoldersAreNotEnteredButAListedOneIsWalked) {
  TempDir dir;
  dir.MakeFile("src/main.c");
  dir.MakeFile("src/.git/objects/a.c");
  dir.MakeFile("node_modules/lib/x.c");
  dir.MakeFile("Node_Modules.old/y.c");
  dir.MakeFile("build.tmp/z.c");
  // Paths: one below each listed folder, one in full.
  dir.MakeFile("app/cache/p.c");
  dir.MakeFile("lib/app/cache/q.c");
  dir.MakeFile("full/skip/r.c");
  Scan scan;
  scan.criteria.m_skipFolders =
      CSkipFolders(" .git ; NODE_MODULES;*.tmp; App/Cache ;" + dir / "FULL/skip/");
  scan.Run({dir.Path(), dir / "node_modules"});
  const std::multiset<std::string> expected = {dir / "src/main.c", dir / "Node_Modules.old/y.c",
                                               dir / "node_modules/lib/x.c",
                                               dir / "lib/app/cache/q.c"};
  EXPECT_EQ(scan.Paths(), expected);
  EXPECT_EQ(scan.processed, 4u);
}

TEST(ScanWorker, MissingFoldersAskedAfterTheWalk) {
  TempDir dir;
  dir.MakeFile("here.txt");
  const std::string gone1 = dir / "gone1", gone2 = dir / "gone2";
  const std::string file = dir.MakeFile("plain.file");
  auto run = [&](std::deque<int> answers) {
    auto scan = std::make_unique<Scan>();
    scan->sink.answers = std::move(answers);
    scan->Run({gone1, dir.Path(), file, gone2});
    EXPECT_EQ(scan->data.GetResultCount(), 2u);  // found rows stay whatever the answer
    EXPECT_EQ(scan->sink.calls.back(), "notify");
    return scan;
  };
  auto skip = run({ASK_SKIP, ASK_SKIP});
  ASSERT_EQ(skip->sink.questions.size(), 2u);
  EXPECT_EQ(skip->sink.questions[0], " \"" + gone1 + "\" not found.");
  EXPECT_EQ(skip->sink.questions[1], " \"" + gone2 + "\" not found.");
  EXPECT_EQ(skip->sink.Sequence(), "started posted-progress ask ask finished refill notify");

  EXPECT_EQ(run({ASK_SKIP_ALL})->sink.questions.size(), 1u);
  auto cancel = run({ASK_CANCEL});
  EXPECT_EQ(cancel->sink.questions.size(), 1u);
  EXPECT_EQ(cancel->sink.Sequence(), "started posted-progress ask finished refill notify");
}

TEST(ScanWorker, StopDuringAnEarlierFolderSkipsTheMissingCheck) {
  TempDir dir;
  for (int i = 0; i < 20; ++i) dir.MakeFile("a/" + std::to_string(i) + ".txt");
  dir.MakeFile("b/x.txt");
  Scan scan;
  scan.data.m_arrFolders = {dir / "a", dir / "missing", dir / "b"};
  CScanEntriesThread thread(&scan.criteria, &scan.data);
  scan.sink.onProgress = [&] {
    if (thread.m_nProcessed.load() == 5) thread.Stop();
  };
  scan.Run(thread);
  EXPECT_EQ(thread.m_nProcessed.load(), 5u);  // within one entry of the stop
  EXPECT_EQ(scan.data.GetResultCount(), 5u);
  EXPECT_EQ(scan.sink.Sequence(), "started finished refill notify");
}

TEST(ScanWorker, StopDuringTheLastFolderChecksOnlyTheFirst) {
  TempDir dir;
  for (int i = 0; i < 10; ++i) dir.MakeFile("b/" + std::to_string(i) + ".txt");
  Scan scan;
  scan.data.m_arrFolders = {dir / "missing1", dir / "b"};
  CScanEntriesThread thread(&scan.criteria, &scan.data);
  scan.sink.onProgress = [&] {
    if (thread.m_nProcessed.load() == 3) thread.Stop();
  };
  scan.sink.answers = {ASK_SKIP};
  scan.Run(thread);
  EXPECT_EQ(scan.sink.questions,
            (std::vector<std::string>{" \"" + dir / "missing1" + "\" not found."}));
  EXPECT_EQ(scan.sink.Sequence(), "started posted-progress ask finished refill notify");
  EXPECT_EQ(scan.data.GetResultCount(), 3u);
}

TEST(ScanWorker, ALinkBackToAnAncestorIsNotEntered) {
  TempDir dir;
  dir.MakeFile("top.txt");
  dir.MakeFile("sub/inner.txt");
  ASSERT_TRUE(MakeFolderLink(dir / "sub/loop", "."));  // sub/loop -> sub
  ASSERT_TRUE(MakeFolderLink(dir / "self", "."));      // self -> the listed folder
  Scan scan;
  scan.Run({dir.Path()});
  EXPECT_EQ(scan.Paths(), (std::multiset<std::string>{dir / "top.txt", dir / "sub/inner.txt"}));
  EXPECT_EQ(scan.processed, 2u);
}

TEST(ScanWorker, OtherLinkedFoldersAreWalked) {
  TempDir target;
  target.MakeFile("far.txt");
  TempDir dir;
  ASSERT_TRUE(MakeFolderLink(dir / "elsewhere", target.Path()));
  Scan scan;
  scan.Run({dir.Path()});
  EXPECT_EQ(scan.Paths(), (std::multiset<std::string>{dir / "elsewhere/far.txt"}));
}

// A folder's entries lie on its volume: the volume is asked once for a listed
// folder and again only across a link, never for each plain sub-folder.
TEST(ScanWorker, TheVolumeIsAskedPerListedFolderAndAcrossALink) {
  TempDir target;
  target.MakeFile("far/deeper/far.txt");
  TempDir dir;
  dir.MakeFile("a/b/c/one.txt");
  dir.MakeFile("a/two.txt");
  dir.MakeFile("d/three.txt");
  ASSERT_TRUE(MakeFolderLink(dir / "a/elsewhere", target / "far"));
  Scan scan;
  const uint32_t before = platform::VolumeQueryCount();
  scan.Run({dir.Path(), dir / "d"});
  EXPECT_EQ(platform::VolumeQueryCount() - before, 3u);
  EXPECT_EQ(scan.data.GetResultCount(), 5u);
  // What each row carries is what its own folder's listing gives.
  for (size_t row = 0; row < scan.data.GetResultCount(); ++row)
    EXPECT_EQ(scan.data.m_arrFoundIdentities[row], ListedIdentity(scan.data.GetResultPath(row)))
        << scan.data.GetResultPath(row);
}

// A file system that cannot list file numbers (some network and virtual
// ones) is listed plainly: its files are found, and the delete checks the
// rest of their identity, so a rewrite is still caught.
TEST(ScanWorker, AFolderListedPlainlyIsFoundAndItsFilesStillChecked) {
  TempDir dir;
  const std::string kept = dir.MakeFile("sub/kept.txt", 10);
  const std::string goes = dir.MakeFile("goes.txt", 10);
  Scan scan;
  platform::RefuseNumberedListingForTest(true);
  scan.Run({dir.Path()});
  platform::RefuseNumberedListingForTest(false);
  ASSERT_EQ(scan.Paths(), (std::multiset<std::string>{kept, goes}));
  platform::RemovalMemory memory;
  for (size_t row = 0; row < 2; ++row) {
    const platform::FileIdentity& identity = scan.data.m_arrFoundIdentities[row];
    EXPECT_EQ(identity.fileId, platform::kNoFileId);
    EXPECT_EQ(identity.changed, platform::kNoChangeTime);
    const std::string path = scan.data.GetResultPath(row);
    if (path == kept) {
      ASSERT_TRUE(SetFileTimes(kept, 1500000000, 1500000000, 1500000000));
      EXPECT_EQ(platform::RemoveFileIfSame(path, identity, 10, memory),
                platform::RemoveResult::Changed);
    } else {
      EXPECT_EQ(platform::RemoveFileIfSame(path, identity, 10, memory),
                platform::RemoveResult::Removed);
    }
  }
  EXPECT_TRUE(FileExists(kept));
  EXPECT_FALSE(FileExists(goes));
}

// Natively only: making 100001 files under Wine takes many minutes, and the
// limit is the same portable code in both builds.
#if !defined(_WIN32)
TEST(ScanWorker, ResultLimitWarnsOnceAndEndsTheWalk) {
  TempDir dir;
  for (uint32_t i = 0; i < RESULT_LIMIT; ++i) dir.MakeFile("many/" + std::to_string(i));
  dir.MakeFile("later/x");
  Scan exact;
  exact.Run({dir / "many"});
  EXPECT_EQ(exact.data.GetResultCount(), RESULT_LIMIT);
  EXPECT_TRUE(exact.sink.messages.empty());

  dir.MakeFile("many/one-more");
  Scan over;
  over.Run({dir / "many", dir / "later", dir / "missing"});
  EXPECT_EQ(over.data.GetResultCount(), RESULT_LIMIT);
  EXPECT_EQ(over.data.m_nFoundCount, static_cast<int64_t>(RESULT_LIMIT));
  ASSERT_EQ(over.sink.messages.size(), 1u);
  EXPECT_EQ(over.sink.messages[0],
            "The number of found files exceeds the 100000 limit.\nTo ensure normal viewing, the "
            "results will be truncated.\nIf necessary, please set new search criteria.");
  EXPECT_EQ(over.processed, RESULT_LIMIT + 1);  // "later" was never walked
  // The rows found stay and are listed; missing folders are still reported.
  EXPECT_EQ(over.sink.Sequence(), "started show posted-progress ask finished refill notify");
}
#endif

TEST(ScanWorker, StopFromAnotherThreadWhilePaused) {
  TempDir dir;
  for (int i = 0; i < 200; ++i) dir.MakeFile(std::to_string(i % 7) + "/" + std::to_string(i));
  Scan scan;
  scan.data.m_arrFolders = {dir.Path()};
  CScanEntriesThread thread(&scan.criteria, &scan.data);
  thread.Pause();  // held at its first poll until resumed
  StartWorker(thread, scan.sink, scan.data, TASK_SEARCH);
  EXPECT_FALSE(thread.WaitUntilDone(std::chrono::milliseconds(50)));
  EXPECT_EQ(thread.m_nProcessed.load(), 0u);
  thread.Stop();
  thread.Resume();
  ASSERT_TRUE(thread.WaitUntilDone(std::chrono::seconds(30)));
  EXPECT_EQ(thread.m_nProcessed.load(), 0u);
  EXPECT_EQ(scan.sink.Sequence(), "started finished refill notify");
}

#if !defined(_WIN32)
// A tree far deeper than a thread's stack would allow one call a level, on a
// thread with a small stack; the rows come in the walk's order: depth-first,
// each folder's entries in listing order, a sub-folder walked where it is met.
TEST(ScanWorker, ADeepTreeOnASmallStackInWalkOrder) {
  constexpr int kDepth = 1500;
  TempDir dir;
  std::string folder = dir.Path();
  for (int level = 0; level < kDepth; ++level) {
    std::ofstream(folder + "/a" + std::to_string(level % 7) + ".txt").put('x');
    std::ofstream(folder + "/z.txt").put('x');
    folder += "/d";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
  }
  std::vector<std::string> expected;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
    if (entry.is_regular_file()) expected.push_back(entry.path().string());
  ASSERT_EQ(expected.size(), 2u * kDepth);
  rlimit files{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
  if (files.rlim_cur < kDepth + 100) {
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, kDepth + 100);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
  }

  Scan scan;
  scan.data.m_arrFolders = {dir.Path()};
  CScanEntriesThread worker(&scan.criteria, &scan.data);
  worker.m_pProgressDlg = &scan.sink;
  struct Walk {
    CScanEntriesThread* worker;
    std::string root;
  } walk{&worker, dir.Path()};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* arg) -> void* {
                  auto* w = static_cast<Walk*>(arg);
                  w->worker->ScanFolder(w->root);
                  return nullptr;
                },
                &walk),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  std::vector<std::string> rows;
  for (size_t i = 0; i < scan.data.GetResultCount(); ++i)
    rows.push_back(scan.data.GetResultPath(i));
  EXPECT_EQ(rows, expected);
}
#endif
