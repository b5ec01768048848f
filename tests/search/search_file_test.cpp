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

  TempDir m_dir;
  CSearchFile m_file{m_dir.Path() + platform::kSeparator};
  std::vector<std::string> m_messages;
  ShowMessageHandler m_previous;
};

// Every field of the page away from its initial value.
SearchDefinition Routine() {
  SearchDefinition search;
  search.m_arrFolders = {"C:\\Build"};
  search.m_bRecycle = true;
  SearchPageInputs& in = search.m_inputs;
  in = {0, 1, "*.tmp; *.log", 0, 1, {2024, 2, 29}, {2025, 12, 31}, {1899, 12, 30, 8, 15, 30}};
  in.m_nDateFieldSel = DATE_CREATED;
  in.m_nDateConditionSel = DATE_OLDER;
  in.m_nSizeConditionSel = SIZE_BETWEEN;
  in.m_nSizeFromValue = 5;
  in.m_nSizeToValue = 18446744073709551615ULL;
  in.m_nSizeUnit = UNIT_KB;
  in.m_strSkipFolders = ".git; node_modules";
  return search;
}

// ASCII text as an editor saves it as "Unicode", with its byte-order mark.
std::string Utf16(const std::string& ascii, bool little) {
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char c : ascii) bytes += little ? std::string{c, '\0'} : std::string{'\0', c};
  return bytes;
}

}  // namespace

// The file a user may open: one key a line under its section, UTF-8, read
// back as written, a folder beyond ASCII included.
TEST_F(SearchFileTest, TheLastSearchIsWrittenAsTextAndReadBackWhole) {
  SearchDefinition routine = Routine();
  std::string accented;
  ASSERT_TRUE(exact::ToProgramText("C:\\R\xC3\xA9sum\xC3\xA9s", accented));
  routine.m_arrFolders.push_back(accented);
  ASSERT_TRUE(m_file.SaveLast(routine));
  EXPECT_EQ(ReadWholeFile(Path()),
            "[Last search]\r\nFolder=C:\\Build\r\nFolder=C:\\R\xC3\xA9sum\xC3\xA9s\r\n"
            "Type=Specify type\r\nTypePattern=*.tmp; *.log\r\nDateField=Created Date\r\n"
            "DateCondition=is older than\r\nDateMode=Date and Time\r\nFromDate=2024-02-29\r\n"
            "FromTime=08:15:30\r\nToDate=2025-12-31\r\nToTime=23:59:59\r\nDays=30\r\n"
            "SizeCondition=is between\r\nSizeFrom=5\r\nSizeTo=18446744073709551615\r\n"
            "SizeUnit=KB\r\nSkipFolders=.git; node_modules\r\nRecycleBin=1\r\n"
            "; end of quillory.ini\r\n");
  SearchDefinition read;
  std::vector<std::string> names;
  ASSERT_TRUE(m_file.Load(read, names));
  EXPECT_TRUE(m_file.m_bLastSearchWhole);
  EXPECT_EQ(SearchLines(read), SearchLines(routine));
}

// Damaged, partial and foreign files: a line that cannot be read keeps its
// field's initial value, the rest loads, and a damaged last search is marked
// so that the exit does not write it back.
TEST_F(SearchFileTest, DamagedPartialAndForeignFilesLoadWhatTheyCan) {
  struct Case {
    const char* what;
    std::string bytes;
    std::function<void(SearchDefinition&)> expect;  // over the initial values
    bool whole;
  };
  const Case cases[] = {
      {"another program's", "; mine\r\n[Settings]\r\nDays=7\r\n", [](SearchDefinition&) {}, true},
      {"a later version's key, a BOM, blanks and LF",
       "\xEF\xBB\xBF[ Last search ]\nShape=round\n  RecycleBin = 1 \n",
       [](SearchDefinition& s) { s.m_bRecycle = true; }, true},
      {"unreadable values",
       "[Last search]\r\nDays=36501\r\nDateCondition=is sometimes\r\nFromDate=2023-02-29\r\n"
       "FromTime=24:00:00\r\nSizeFrom=18446744073709551616\r\nFolder=\r\nRecycleBin=yes\r\n"
       "no equals sign\r\nSizeUnit=GB\r\n",
       [](SearchDefinition& s) { s.m_inputs.m_nSizeUnit = UNIT_GB; }, false},
      {"a folder of bytes that are no UTF-8",
       "[Last search]\r\nFolder=C:\\\xFF\r\nFolder=C:\\B\r\n",
       [](SearchDefinition& s) { s.m_arrFolders = {"C:\\B"}; }, false},
      // As an editor saves "Unicode", and with old Mac line ends.
      {"UTF-16 little-endian", Utf16("[Last search]\r\nRecycleBin=1", true),
       [](SearchDefinition& s) { s.m_bRecycle = true; }, true},
      {"UTF-16 big-endian", Utf16("[Last search]\nDays=7", false),
       [](SearchDefinition& s) { s.m_inputs.m_nDays = 7; }, true},
      {"CR alone", "[Last search]\rDays=7\rRecycleBin=1\r",
       [](SearchDefinition& s) {
         s.m_inputs.m_nDays = 7;
         s.m_bRecycle = true;
       },
       true},
      {"folders the folder browser never gives",
       "[Last search]\r\nFolder=\\\\?\\C:\\B\r\nFolder=\\\\.\\C:\\B\r\nFolder=C:\\B*\r\n"
       "Folder=C:\\B\r\n",
       [](SearchDefinition& s) { s.m_arrFolders = {"C:\\B"}; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni(c.bytes);
    SearchDefinition read, expected;
    c.expect(expected);
    std::vector<std::string> names = {"stale"};
    ASSERT_TRUE(m_file.Load(read, names));
    EXPECT_EQ(SearchLines(read), SearchLines(expected));
    EXPECT_EQ(m_file.m_bLastSearchWhole, c.whole);
    EXPECT_TRUE(names.empty());
  }
  EXPECT_TRUE(m_messages.empty());
}

// Saved by name beside the last search: the same name in other letters
// replaces it where it stood, and every write keeps the lines it does not own.
TEST_F(SearchFileTest, SearchesSavedByNameKeepEverythingElseInTheFile) {
  WriteIni("; kept\r\n[Other]\r\nx = 1\r\n[Last search]\r\nDays=5\r\n");
  SearchDefinition temp = Routine(), logs;
  ASSERT_TRUE(m_file.SaveNamed("Temp files", temp));
  ASSERT_TRUE(m_file.SaveNamed(" Logs ", logs));
  temp.m_inputs.m_nDays = 60;
  ASSERT_TRUE(m_file.SaveNamed("TEMP FILES", temp));
  ASSERT_TRUE(m_file.Forget("logs"));

  std::vector<std::string> names;
  ASSERT_TRUE(m_file.SavedNames(names));
  EXPECT_EQ(names, std::vector<std::string>{"TEMP FILES"});
  SearchDefinition chosen;
  ASSERT_EQ(m_file.LoadSaved("temp files", chosen), CSearchFile::Saved::kYes);
  EXPECT_EQ(SearchLines(chosen), SearchLines(temp));
  EXPECT_EQ(m_file.IsSaved("Logs"), CSearchFile::Saved::kNo);
  std::string spelling;
  EXPECT_EQ(m_file.IsSaved("temp files", &spelling), CSearchFile::Saved::kYes);
  EXPECT_EQ(spelling, "TEMP FILES");
  EXPECT_EQ(
      ReadWholeFile(Path()).rfind(
          "; kept\r\n[Other]\r\nx = 1\r\n[Last search]\r\nDays=5\r\n[Search: TEMP FILES]\r\n", 0),
      0u);
}

// A file that is there but cannot be read is never written over, and a write
// cut short leaves the old file whole.
TEST_F(SearchFileTest, NothingIsLostToAFileThatCannotBeReadOrWritten) {
  m_dir.MakeFolder("quillory.ini");
  SearchDefinition last;
  std::vector<std::string> names;
  EXPECT_FALSE(m_file.Load(last, names));
  EXPECT_FALSE(m_file.m_bLastSearchWhole);
  EXPECT_FALSE(m_file.SaveLast(Routine()));  // said at the start already
  // "Save…" asks whether the name is saved: one message, and no save after it.
  EXPECT_EQ(m_file.IsSaved("Logs"), CSearchFile::Saved::kUnreadable);
  ASSERT_EQ(m_messages.size(), 2u);
  EXPECT_EQ(m_messages[0].rfind("Error: Could not open file \"" + Path() + "\", open error ", 0),
            0u);
  ASSERT_TRUE(RemoveEntry(Path(), true));

  // Too large, or no text: said once, and never written over.
  for (const std::string& bytes : {std::string(4 << 20, 'x') + "\n", std::string("[A]\0\n", 5),
                                   std::string("\xFF\xFE\x00\xD8", 4)}) {
    m_messages.clear();
    WriteIni(bytes);
    CSearchFile file(m_dir.Path() + platform::kSeparator);
    EXPECT_FALSE(file.Load(last, names));
    EXPECT_FALSE(file.SaveLast(Routine()));
    EXPECT_FALSE(file.SaveNamed("Logs", Routine()));
    EXPECT_EQ(m_messages.size(), 2u) << bytes.size();
    EXPECT_EQ(ReadWholeFile(Path()), bytes);
  }

  // A write cut short leaves the old file whole, and every Find after the
  // first says nothing more of it.
  m_messages.clear();
  WriteIni("[Last search]\r\nDays=5\r\n");
  SetSearchFileWriteCutForTest(10);
  CSearchFile file(m_dir.Path() + platform::kSeparator);
  EXPECT_FALSE(file.SaveLast(Routine()));
  EXPECT_FALSE(file.SaveLast(Routine()));
  SetSearchFileWriteCutForTest(SIZE_MAX);
  EXPECT_EQ(ReadWholeFile(Path()), "[Last search]\r\nDays=5\r\n");
  EXPECT_FALSE(FileExists(Path() + ".new"));
  EXPECT_EQ(m_messages, std::vector<std::string>{"Error: Could not write file \"" + Path() +
                                                 "\", write error 13"});

  // The new file of a save that stopped before its rename counts only whole.
  ASSERT_TRUE(RemoveEntry(Path(), false));
  const std::string whole = "[Last search]\r\nDays=9\r\n; end of quillory.ini\r\n";
  for (const size_t cut : {whole.size() - 3, whole.size()}) {
    std::ofstream(Path() + ".new", std::ios::binary) << whole.substr(0, cut);
    SearchDefinition read;
    ASSERT_TRUE(file.Load(read, names));
    EXPECT_EQ(read.m_inputs.m_nDays, cut == whole.size() ? 9u : 30u);
    EXPECT_EQ(FileExists(Path()), cut == whole.size());
  }
}
