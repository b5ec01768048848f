#include "search/search_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/show_message.h"
#include "support/exact_files.h"
#include "support/temp_dir.h"

namespace {

class SearchFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = SetShowMessageHandler(
        [this](void*, const std::string& caption, const std::string&, const std::string& text,
               int) { m_messages.push_back(caption + ": " + text); });
  }
  void TearDown() override { SetShowMessageHandler(std::move(m_previous)); }

  std::string Path() const { return m_dir / "quillory.ini"; }
  void WriteIni(const std::string& bytes) const {
    std::ofstream(Path(), std::ios::binary) << bytes;
  }
  CSearchFile File() const { return CSearchFile(m_dir.Path() + platform::kSeparator); }

  // What the page starts with on the day of the tests.
  static RememberedSearch Initial() {
    RememberedSearch search;
    search.m_inputs.m_dtFromDate = search.m_inputs.m_dtToDate = {2024, 6, 1, 9, 30, 0};
    return search;
  }

  TempDir m_dir;
  std::vector<std::string> m_messages;
  ShowMessageHandler m_previous;
};

// Every field of the page, as a routine clean-up sets it up.
RememberedSearch Routine() {
  RememberedSearch search;
  search.m_arrFolders = {"C:\\Build", "D:\\Temp files"};
  SearchPageInputs& in = search.m_inputs;
  in.m_nAllFiles = 0;
  in.m_nSpecifyType = 1;
  in.m_strTypePattern = "*.tmp; *.log";
  in.m_nDateFieldSel = DATE_CREATED;
  in.m_nDateConditionSel = DATE_OLDER;
  in.m_bDateOnly = 0;
  in.m_bDateAndTime = 1;
  in.m_dtFromDate = {2024, 2, 29};
  in.m_dtFromTime = {1899, 12, 30, 8, 15, 30};
  in.m_dtToDate = {2025, 12, 31};
  in.m_dtToTime = {1899, 12, 30, 23, 59, 59};
  in.m_nDays = 30;
  in.m_nSizeConditionSel = SIZE_BETWEEN;
  in.m_nSizeFromValue = 5;
  in.m_nSizeToValue = 18446744073709551615ULL;
  in.m_nSizeUnit = UNIT_KB;
  in.m_strSkipFolders = ".git; node_modules";
  search.m_bRecycle = true;
  return search;
}

}  // namespace

// The file a user may open: one key a line under its section, UTF-8, and
// what it reads back is what was written, a folder beyond ASCII included.
TEST_F(SearchFileTest, TheLastSearchIsWrittenAsTextAndReadBackWhole) {
  RememberedSearch routine = Routine();
  std::string accented;
  ASSERT_TRUE(exact::ToProgramText("C:\\R\xC3\xA9sum\xC3\xA9s", accented));
  routine.m_arrFolders.push_back(accented);
  ASSERT_TRUE(File().SaveLast(routine));
  EXPECT_EQ(ReadWholeFile(Path()),
            "[Last search]\r\nFolder=C:\\Build\r\nFolder=D:\\Temp files\r\n"
            "Folder=C:\\R\xC3\xA9sum\xC3\xA9s\r\nType=Specify type\r\n"
            "TypePattern=*.tmp; *.log\r\nDateField=Created Date\r\nDateCondition=is older than\r\n"
            "DateMode=Date and Time\r\nFromDate=2024-02-29\r\nFromTime=08:15:30\r\n"
            "ToDate=2025-12-31\r\nToTime=23:59:59\r\nDays=30\r\nSizeCondition=is between\r\n"
            "SizeFrom=5\r\nSizeTo=18446744073709551615\r\nSizeUnit=KB\r\n"
            "SkipFolders=.git; node_modules\r\nRecycleBin=1\r\n");
  RememberedSearch read = Initial();
  std::vector<std::string> names;
  CSearchFile file = File();
  ASSERT_TRUE(file.Load(read, names));
  EXPECT_TRUE(file.m_bLastSearchWhole);
  EXPECT_EQ(SearchLines(read), SearchLines(routine));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(m_messages.empty());
}

// Damaged, partial and foreign files: each line that cannot be read keeps
// its field's initial value, the rest loads, and a damaged last search is
// marked so that the exit does not write it back.
TEST_F(SearchFileTest, DamagedPartialAndForeignFilesLoadWhatTheyCan) {
  struct Case {
    const char* what;
    std::string bytes;
    std::function<void(RememberedSearch&)> expect;  // over the initial values
    bool whole;
  };
  const Case cases[] = {
      {"no file at all", "", [](RememberedSearch&) {}, true},
      {"one line", "[Last search]\nDays=45\n", [](RememberedSearch& s) { s.m_inputs.m_nDays = 45; },
       true},
      {"another program's", "; mine\r\n[Settings]\r\nColor=blue\r\nDays=7\r\n",
       [](RememberedSearch&) {}, true},
      {"a later version's keys", "[Last search]\r\nShape=round\r\nRecycleBin=1\r\n",
       [](RememberedSearch& s) { s.m_bRecycle = true; }, true},
      {"a BOM, blanks and LF", "\xEF\xBB\xBF[ Last search ]\n  Type = Specify type \n",
       [](RememberedSearch& s) {
         s.m_inputs.m_nAllFiles = 0;
         s.m_inputs.m_nSpecifyType = 1;
       },
       true},
      {"unreadable values",
       "[Last search]\r\nDays=36501\r\nDateCondition=is sometimes\r\nFromDate=2023-02-29\r\n"
       "FromTime=24:00:00\r\nSizeFrom=18446744073709551616\r\nFolder=\r\nRecycleBin=yes\r\n"
       "no equals sign\r\nSizeUnit=GB\r\nFolder=C:\\Kept\r\n",
       [](RememberedSearch& s) {
         s.m_inputs.m_nSizeUnit = UNIT_GB;
         s.m_arrFolders = {"C:\\Kept"};
       },
       false},
      {"a folder of bytes that are no UTF-8",
       "[Last search]\r\nFolder=C:\\\xFF\xFE\r\nFolder=C:\\B\r\n",
       [](RememberedSearch& s) { s.m_arrFolders = {"C:\\B"}; }, false},
      {"cut off in a line", "[Last search]\r\nFolder=C:\\A\r\nDateMo",
       [](RememberedSearch& s) { s.m_arrFolders = {"C:\\A"}; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.bytes.empty())
      RemoveEntry(Path(), false);
    else
      WriteIni(c.bytes);
    RememberedSearch read = Initial();
    RememberedSearch expected = Initial();
    c.expect(expected);
    std::vector<std::string> names = {"stale"};
    CSearchFile file = File();
    ASSERT_TRUE(file.Load(read, names));
    EXPECT_EQ(SearchLines(read), SearchLines(expected));
    EXPECT_EQ(file.m_bLastSearchWhole, c.whole);
    EXPECT_TRUE(names.empty());
  }
  EXPECT_TRUE(m_messages.empty());
}

// Saved by name beside the last search: the same name in another letter case
// replaces it in its place, and a write keeps every line it does not own.
TEST_F(SearchFileTest, SearchesSavedByNameKeepEverythingElseInTheFile) {
  WriteIni("; kept\r\n[Other]\r\nx = 1\r\n[Last search]\r\nDays=5\r\n");
  CSearchFile file = File();
  RememberedSearch temp = Routine();
  RememberedSearch logs = Initial();
  logs.m_inputs.m_nDays = 9;
  ASSERT_TRUE(file.SaveNamed("Temp files", temp));
  ASSERT_TRUE(file.SaveNamed(" Logs ", logs));
  temp.m_inputs.m_nDays = 60;
  ASSERT_TRUE(file.SaveNamed("TEMP FILES", temp));

  RememberedSearch last = Initial();
  std::vector<std::string> names;
  ASSERT_TRUE(file.Load(last, names));
  EXPECT_EQ(names, (std::vector<std::string>{"TEMP FILES", "Logs"}));
  EXPECT_EQ(last.m_inputs.m_nDays, 5u);
  RememberedSearch chosen = Initial();
  ASSERT_TRUE(file.LoadSaved("temp files", chosen));
  EXPECT_EQ(SearchLines(chosen), SearchLines(temp));
  EXPECT_TRUE(file.IsSaved("LOGS"));

  ASSERT_TRUE(file.Forget("logs"));
  EXPECT_FALSE(file.IsSaved("Logs"));
  EXPECT_FALSE(file.LoadSaved("Logs", chosen));
  const std::string text = ReadWholeFile(Path());
  EXPECT_EQ(
      text.rfind(
          "; kept\r\n[Other]\r\nx = 1\r\n[Last search]\r\nDays=5\r\n[Search: TEMP FILES]\r\n", 0),
      0u)
      << text;
  EXPECT_TRUE(m_messages.empty());
}

// A file that is there but cannot be read is never written over; a write cut
// short leaves the old file whole; a new file left alone by a cut save is
// the file.
TEST_F(SearchFileTest, NothingIsLostToAFileThatCannotBeReadOrWritten) {
  ASSERT_TRUE(platform::PathExists(m_dir.MakeFolder("quillory.ini")));
  CSearchFile file = File();
  RememberedSearch last = Initial();
  std::vector<std::string> names;
  EXPECT_FALSE(file.Load(last, names));
  EXPECT_FALSE(file.m_bLastSearchWhole);
  EXPECT_FALSE(file.SaveLast(Routine()));
  ASSERT_EQ(m_messages.size(), 2u);
  EXPECT_EQ(m_messages[0].rfind("Error: Could not open file \"" + Path() + "\", open error ", 0),
            0u);
  ASSERT_TRUE(RemoveEntry(Path(), true));

  WriteIni("[Last search]\r\nDays=5\r\n");
  SetSearchFileWriteCutForTest(10);
  EXPECT_FALSE(file.SaveLast(Routine()));
  SetSearchFileWriteCutForTest(SIZE_MAX);
  EXPECT_EQ(ReadWholeFile(Path()), "[Last search]\r\nDays=5\r\n");
  EXPECT_FALSE(FileExists(Path() + ".new"));
  EXPECT_EQ(m_messages.back(), "Error: Could not write file \"" + Path() + "\", write error 13");

  ASSERT_TRUE(RemoveEntry(Path(), false));
  std::ofstream(Path() + ".new", std::ios::binary) << "[Last search]\r\nDays=8\r\n";
  ASSERT_TRUE(file.Load(last, names));
  EXPECT_EQ(last.m_inputs.m_nDays, 8u);
  EXPECT_EQ(ReadWholeFile(Path()), "[Last search]\r\nDays=8\r\n");
}
