// The program's promise to its user: a delete run deletes exactly the files of
// the rows the user selected, whatever the list's sort, and nothing else.
// Checked on real files over many random stores, sorts, selections and
// answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "results/compare_rows.h"
#include "results/del_entries_thread.h"
#include "search/search_criteria.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

constexpr int kSeeds = 80;
constexpr char kSep = platform::kSeparator;

// Folders and names with blanks and code-page letters (é, ä, ü, ß, É: the
// same bytes in code page 1252 and in Latin-1). No name ends in a blank or a
// dot, which Windows would drop.
struct Names {
  std::vector<std::string> folders, stems, extensions;
};
const Names kCodePageNames = {
    {"", "sub dir", "f\xE9ld\xE4r", "sub dir/inner \xFC"},
    {"report", "Notes", "a b", "caf\xE9", "M\xFCller", "x", "data.tar", "gro\xDF"},
    {".txt", ".DOC", "", ".gz", ".T\xC9X"}};
// For a host whose file names cannot hold those letters: Wine in the "C"
// locale keeps its files under names in the host's character set, and refuses
// any it cannot write there.
const Names kPlainNames = {{"", "sub dir", "other dir", "sub dir/inner x"},
                           {"report", "Notes", "a b", "cafe", "Mueller", "x", "data.tar", "gross"},
                           {".txt", ".DOC", "", ".gz", ".TEX"}};

const Names& NamesForThisHost() {
  static const Names* names = [] {
    TempDir probe;
    const std::string path = probe.Path() + kSep + "caf\xE9";
    std::ofstream(path, std::ios::binary) << "probe";
    if (platform::GetAttributes(path) != platform::kInvalidAttributes) return &kCodePageNames;
    std::printf("note: this host takes no code-page letters in file names; plain names used\n");
    return &kPlainNames;
  }();
  return *names;
}

struct FileOnDisk {
  std::string folder;  // relative, '/' between parts
  std::string name;
  std::string content;
  bool exists = true;  // false: a row whose file is already gone
  bool readOnly = false;
};

struct StoreRow {
  size_t file;  // index into the files
  std::string type;
  uint64_t size;
  std::string date;
};

class Random {
 public:
  explicit Random(uint32_t seed) : m_engine(seed) {}
  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_engine); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_engine) < p; }
  std::mt19937& Engine() { return m_engine; }

 private:
  std::mt19937 m_engine;
};

// Every file below a folder, as the program's own listing sees it.
void ListFiles(const std::string& folder, std::set<std::string>& files) {
  platform::FolderListing listing;
  platform::FileEntry entry;
  if (!listing.Open(folder, entry)) return;
  do {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + kSep + entry.name;
    if (entry.attributes & platform::kAttrDirectory)
      ListFiles(path, files);
    else
      files.insert(path);
  } while (listing.Next(entry));
}

void RunOneSeed(uint32_t seed) {
  Random random(seed);
  const Names& names = NamesForThisHost();
  auto pick = [&](const std::vector<std::string>& from) { return from[random.Below(from.size())]; };
  TempDir dir;
  auto pathOf = [&](const FileOnDisk& file) {
    return (file.folder.empty() ? dir.Path() : dir / file.folder) + kSep + file.name;
  };
  auto locationOf = [&](const FileOnDisk& file) {
    return (file.folder.empty() ? dir.Path() : dir / file.folder) + kSep;
  };

  // Files on disk, some read-only, some never made (their rows point at
  // nothing), and some with no row at all that nothing may touch.
  std::vector<FileOnDisk> files;
  const size_t fileCount = 1 + random.Below(16);
  for (size_t i = 0; i < fileCount; ++i) {
    FileOnDisk file;
    file.folder = pick(names.folders);
    file.name = pick(names.stems) + " " + std::to_string(i) + pick(names.extensions);
    file.exists = !random.Chance(0.1);
    file.readOnly = file.exists && random.Chance(0.2);
    file.content = "seed " + std::to_string(seed) + " file " + std::to_string(i) + ":";
    for (size_t n = random.Below(40); n > 0; --n)
      file.content += static_cast<char>(random.Below(256));
    files.push_back(file);
  }
  const size_t unlisted = random.Below(3);
  for (size_t i = 0; i < unlisted; ++i)
    files.push_back({pick(names.folders), "unlisted " + std::to_string(i),
                     "not in the store " + std::to_string(i), true, random.Chance(0.3)});
  for (const std::string& folder : names.folders)
    if (!folder.empty()) dir.MakeFolder(folder);
  for (const FileOnDisk& file : files) {
    if (!file.exists) continue;
    std::ofstream(pathOf(file), std::ios::binary) << file.content;
    ASSERT_EQ(ReadWholeFile(pathOf(file)), file.content) << pathOf(file);
    if (file.readOnly) {
      ASSERT_TRUE(SetReadOnly(pathOf(file), true)) << pathOf(file);
    }
  }

  // The store: one row per listed file, a second row for some of them (a
  // file reached through two listed folders), in walk order.
  std::vector<StoreRow> rows;
  for (size_t i = 0; i < fileCount; ++i) {
    const size_t copies = random.Chance(0.2) ? 2 : 1;
    for (size_t c = 0; c < copies; ++c) {
      StoreRow row;
      row.file = i;
      row.type = ExtensionOf(files[i].name);
      platform::ToLower(row.type);
      // Sizes across the 32-bit edge, and dates across the century or none.
      row.size = random.Chance(0.3) ? 4294967295ull + random.Below(3) : files[i].content.size();
      row.date = random.Chance(0.15)
                     ? std::string()
                     : platform::FormatDateTime(static_cast<int64_t>(random.Below(3000000000)));
      rows.push_back(row);
    }
  }
  std::shuffle(rows.begin(), rows.end(), random.Engine());
  CAppData data;
  for (const StoreRow& row : rows)
    data.AddResult(files[row.file].name, locationOf(files[row.file]), row.type, row.size, row.date);
  for (int32_t& mark : data.m_arrDeleteMarks) mark = random.Chance(0.5);  // from an earlier run

  // The list: its order of store rows, and the texts as the list shows them.
  auto text = [&](size_t row, int column) -> std::string {
    switch (column) {
      case 0: return std::to_string(row + 1);
      case 1: return std::string(data.m_arrFoundNames[row]);
      case 2: return std::string(data.m_arrFoundTypes[row]);
      case 3: return std::string(data.m_arrFoundLocations[row]);
      case 4: return std::to_string(data.m_arrFoundSizes[row]);
      default: return std::string(data.m_arrFoundDates[row]);
    }
  };
  std::vector<int32_t> list(rows.size());
  for (size_t i = 0; i < list.size(); ++i) list[i] = static_cast<int32_t>(i);
  int lastColumn = -1;
  bool ascending = true;
  for (size_t clicks = random.Below(4); clicks > 0; --clicks) {
    const int column = static_cast<int>(random.Below(6));
    ascending = column == lastColumn ? !ascending : true;
    lastColumn = column;
    const int32_t param = kResultColumnSortKinds[column] * (ascending ? 1 : -1);
    SortRows(data, list, column, param);
    for (size_t i = 0; i + 1 < list.size(); ++i)
      ASSERT_LE(CompareRows(data, list[i], list[i + 1], column, param), 0) << "column " << column;
  }

  // The user's selection, collected top to bottom by its "N" texts.
  const double share[] = {0.0, 0.1, 0.5, 0.9, 1.0};
  const double p = share[random.Below(std::size(share))];
  std::vector<std::string> numberTexts;
  std::vector<size_t> chosen;
  for (int32_t row : list) {
    if (!random.Chance(p)) continue;
    numberTexts.push_back(text(static_cast<size_t>(row), 0));
    chosen.push_back(static_cast<size_t>(row));
  }
  std::vector<int32_t> selected;
  CollectSelectedResults(numberTexts, selected, data.m_arrDeleteMarks);
  ASSERT_EQ(selected.size(), chosen.size());
  for (size_t i = 0; i < chosen.size(); ++i)
    ASSERT_EQ(selected[i], static_cast<int32_t>(chosen[i]));
  const std::set<size_t> chosenRows(chosen.begin(), chosen.end());
  for (size_t i = 0; i < rows.size(); ++i)
    ASSERT_EQ(data.m_arrDeleteMarks[i], chosenRows.count(i) ? 1 : 0);
  const std::vector<int32_t> marks = data.m_arrDeleteMarks;

  // The answers: Skip and Skip all at random; one seed in four cancels at
  // some question.
  const bool cancels = seed % 4 == 3;
  const size_t cancelAt = random.Below(2);
  std::deque<int> answers;
  for (size_t i = 0; i <= rows.size(); ++i)
    answers.push_back(cancels && i == cancelAt ? ASK_CANCEL
                                               : (random.Chance(0.8) ? ASK_SKIP : ASK_SKIP_ALL));

  // What the run must do, row by row in store order.
  std::set<size_t> gone;  // files
  std::vector<bool> rowDeleted(rows.size(), false);
  std::vector<std::string> questions;
  int answer = ASK_NOT_YET;
  size_t nextAnswer = 0;
  size_t posted = 1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!marks[i]) continue;
    const FileOnDisk& file = files[rows[i].file];
    if (file.exists && !file.readOnly && !gone.count(rows[i].file)) {
      gone.insert(rows[i].file);
      rowDeleted[i] = true;
      ++posted;
      continue;
    }
    if (answer != ASK_SKIP_ALL) {
      answer = answers[nextAnswer++];
      questions.push_back("File  \"" + pathOf(file) + "\" cannot be deleted.");
      if (answer == ASK_CANCEL) break;
    }
    ++posted;
  }
  if (!cancels) {
    // Without Cancel the promise reads plainly: a selected file goes exactly
    // when it was there to be deleted.
    std::set<size_t> deletable;
    for (size_t row : chosen)
      if (files[rows[row].file].exists && !files[rows[row].file].readOnly)
        deletable.insert(rows[row].file);
    ASSERT_EQ(gone, deletable);
  }

  RecordingSink sink;
  sink.store = &data;
  sink.answers = answers;
  CDelEntriesThread worker(&selected, &data);
  worker.m_pProgressDlg = &sink;
  worker.ResumeThread();
  ASSERT_TRUE(worker.WaitUntilDone(60s));

  // The disk: the deleted files are gone, everything else is byte for byte
  // as it was, and nothing appeared.
  std::set<std::string> expectedOnDisk;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!files[i].exists) continue;
    if (gone.count(i)) {
      EXPECT_FALSE(FileExists(pathOf(files[i]))) << pathOf(files[i]);
      continue;
    }
    expectedOnDisk.insert(pathOf(files[i]));
    EXPECT_EQ(ReadWholeFile(pathOf(files[i])), files[i].content) << pathOf(files[i]);
  }
  std::set<std::string> onDisk;
  ListFiles(dir.Path(), onDisk);
  EXPECT_EQ(onDisk, expectedOnDisk);

  // The store: the rows not deleted, in their old order, marks as collected.
  std::vector<std::string> expectedRows, storeRows;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rowDeleted[i]) continue;
    const FileOnDisk& file = files[rows[i].file];
    expectedRows.push_back(file.name + "|" + std::to_string(marks[i]) + "|" + locationOf(file) +
                           "|" + rows[i].type + "|" + std::to_string(rows[i].size) + "|" +
                           rows[i].date);
  }
  for (size_t i = 0; i < data.GetResultCount(); ++i) {
    storeRows.push_back(
        std::string(data.m_arrFoundNames[i]) + "|" + std::to_string(data.m_arrDeleteMarks[i]) +
        "|" + std::string(data.m_arrFoundLocations[i]) + "|" +
        std::string(data.m_arrFoundTypes[i]) + "|" + std::to_string(data.m_arrFoundSizes[i]) + "|" +
        std::string(data.m_arrFoundDates[i]));
  }
  EXPECT_EQ(storeRows, expectedRows);
  EXPECT_EQ(data.m_arrDeleteMarks.size(), data.GetResultCount());
  EXPECT_EQ(data.m_arrFoundSizes.size(), data.GetResultCount());
  EXPECT_EQ(data.m_arrFoundLocations.GetSize(), data.GetResultCount());
  EXPECT_EQ(data.m_arrFoundTypes.GetSize(), data.GetResultCount());
  EXPECT_EQ(data.m_arrFoundDates.GetSize(), data.GetResultCount());

  // What the window was told.
  EXPECT_EQ(sink.questions, questions);
  EXPECT_EQ(worker.m_nTotal.load(), static_cast<int32_t>(chosen.size()));
  EXPECT_EQ(worker.m_nDeleted.load(), static_cast<int32_t>(gone.size()));
  size_t postedSeen = 0;
  for (const std::string& call : sink.calls) postedSeen += call == "posted-progress";
  EXPECT_EQ(postedSeen, posted);
  ASSERT_GE(sink.calls.size(), 4u);
  EXPECT_EQ(sink.calls.front(), "started");
  EXPECT_EQ(std::vector<std::string>(sink.calls.end() - 3, sink.calls.end()),
            (std::vector<std::string>{"finished", "refill", "notify"}));
}

}  // namespace

TEST(DeletePromise, DeletesExactlyTheSelectedFilesThatCanBeDeleted) {
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RunOneSeed(seed);
    if (HasFailure()) break;  // one seed's report is enough to go on
  }
}
