#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "dialogs/show_message.h"
#include "platform/file_system.h"
#include "settings/app_data.h"
#include "support/settings_bytes.h"
#include "support/temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// settings.dat images are built here byte by byte, apart from the code under test.
using settings_bytes::Int;
using settings_bytes::kHeader;
const std::string kHash = "2BB80D537B1DA3E38BD30361AA855686BDE0EACD7162FEF6A25FE97BF527A25B";

std::string Image(int32_t left, int32_t splitter, char start, char protection, int32_t length,
                  const std::string& hash) {
  return kHeader + Int(left) + Int(2) + Int(3) + Int(4) + Int(0) + Int(splitter) + start +
         protection + Int(length) + hash;
}

using Fields =
    std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int, int, std::string>;

Fields FieldsOf(const CAppData& data) {
  return {data.m_nWindowLeft,       data.m_nWindowTop,          data.m_nWindowWidth,
          data.m_nWindowHeight,     data.m_nWindowShowCmd,      data.m_nSplitterPos,
          data.m_bStartWithWindows, data.m_bPasswordProtection, data.m_strPasswordHash};
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_data.m_strAppFolder = m_dir.Path() + platform::kSeparator;
    m_previousHandler = SetShowMessageHandler([this](void* owner, const std::string& caption,
                                                     const std::string& groupLabel,
                                                     const std::string& text, int iconId) {
      // Every message of the settings code is an ownerless "Error" box.
      EXPECT_EQ(owner, nullptr);
      EXPECT_EQ(caption, "Error");
      EXPECT_EQ(groupLabel, "");
      EXPECT_EQ(iconId, 201);
      m_messages.push_back(text);
    });
  }
  void TearDown() override {
    SetShowMessageHandler(std::move(m_previousHandler));
    SetSettingsSaveCutForTest(SIZE_MAX);
  }

  std::string Path() const { return m_dir / "settings.dat"; }
  void WriteSettings(const std::string& bytes) const {
    std::ofstream(Path(), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::vector<std::string> TakeMessages() { return std::exchange(m_messages, {}); }

  TempDir m_dir;
  CAppData m_data;
  std::vector<std::string> m_messages;
  ShowMessageHandler m_previousHandler;
};

using Messages = std::vector<std::string>;

TEST_F(SettingsFile, MissingFileGivesDefaultsQuietlyAndCreatesNothing) {
  m_data.m_strPasswordHash = kHash;
  m_data.m_nTask = TASK_DELETE;
  m_data.m_nRunningTask = TASK_SEARCH;
  EXPECT_FALSE(m_data.LoadSettings());
  EXPECT_EQ(FieldsOf(m_data), Fields(20, 20, 650, 450, 1, 140, 0, 0, ""));
  EXPECT_EQ(m_data.m_nTask + m_data.m_nRunningTask, TASK_NONE);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_FALSE(FileExists(Path()));
}

TEST_F(SettingsFile, SavesTheExactRecordAndLoadsItBack) {
  m_data.m_nWindowLeft = -5;
  m_data.m_nWindowTop = 2;
  m_data.m_nWindowWidth = 3;
  m_data.m_nWindowHeight = 4;
  m_data.m_nWindowShowCmd = 0;  // hidden in the notification area at exit
  m_data.m_nSplitterPos = 90;   // the minimum belongs to the load, not the save
  m_data.m_bStartWithWindows = 1;
  ASSERT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()),
            Image(-5, 90, 1, 0, 0, ""));  // 57 bytes, start before protection

  m_data.m_bStartWithWindows = 0;
  m_data.m_bPasswordProtection = 1;
  m_data.m_nSplitterPos = 333;
  m_data.SetPassword("secret");
  ASSERT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()), Image(-5, 333, 0, 1, 64, kHash));  // 121 bytes, no terminator
  EXPECT_FALSE(FileExists(Path() + ".new"));

  CAppData loaded;
  loaded.m_strAppFolder = m_data.m_strAppFolder;
  EXPECT_TRUE(loaded.LoadSettings());
  EXPECT_EQ(FieldsOf(loaded), FieldsOf(m_data));
  EXPECT_TRUE(loaded.IsPasswordCorrect("secret"));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(SettingsFile, SplitterNeverBelow140AfterALoad) {
  for (const auto& [stored, loaded] : {std::pair{90, 140}, {INT32_MIN, 140}, {500, 500}}) {
    WriteSettings(Image(1, stored, 0, 0, 0, ""));
    EXPECT_TRUE(m_data.LoadSettings());
    EXPECT_EQ(m_data.m_nSplitterPos, loaded) << stored;
  }
}

// Anything but a whole record as a save writes it: a wrong header, a file cut
// anywhere (inside its hash it would start protected with no hash any password
// matches; after its header, hidden at 0 by 0), a length that is not 0 or 64,
// protection on without a hash, bytes after the record.
TEST_F(SettingsFile, DamagedRecordsRunOnTheDefaultsAndAreRewrittenAtExit) {
  const std::string whole = Image(1, 500, 1, 1, 64, kHash);
  std::string firstLetter = whole, notTerminated = whole, zeroInHash = whole;
  firstLetter[0] = 'Q';
  notTerminated[26] = 'x';
  zeroInHash[100] = '\0';
  for (const std::string& bytes :
       {firstLetter, notTerminated, zeroInHash, std::string(), std::string("quillory"),
        kHeader.substr(0, 26), kHeader, whole.substr(0, 80), whole.substr(0, 120), whole + "x",
        Image(1, 500, 1, 1, 0, ""), Image(1, 500, 1, 2, 0, ""), Image(1, 500, 0, 1, -1, kHash),
        Image(1, 500, 0, 1, 65, kHash + "0"), Image(1, 500, 0, 1, 64, kHash.substr(0, 63) + "a")}) {
    WriteSettings(bytes);
    m_data.m_bPasswordProtection = 1;
    m_data.m_strPasswordHash = kHash;
    // Not the constructor's zeros, which would keep the window hidden at 0 by 0.
    EXPECT_FALSE(m_data.LoadSettings()) << bytes.size();
    EXPECT_EQ(FieldsOf(m_data), Fields(20, 20, 650, 450, 1, 140, 0, 0, "")) << bytes.size();
    EXPECT_EQ(TakeMessages(), Messages{"Wrong settings.dat"});
    EXPECT_FALSE(m_data.m_bKeepUnreadSettingsFile);
  }
  // Protection never goes to the disk without a hash to check it against.
  WriteSettings(whole);
  ASSERT_TRUE(m_data.LoadSettings());
  m_data.m_strPasswordHash = "1234";
  ASSERT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()), Image(1, 500, 1, 0, 0, ""));
}

TEST_F(SettingsFile, OpenErrorsNameTheFileAndTheCause) {
  // Windows refuses to open a folder as a file: access denied.
  m_dir.MakeFolder("settings.dat");
  m_data.m_nSplitterPos = 222;
  EXPECT_FALSE(m_data.LoadSettings());
  EXPECT_EQ(TakeMessages(), Messages{"Could not open file \"" + Path() + "\", open error 5"});
  EXPECT_EQ(m_data.m_nSplitterPos, 140);
  EXPECT_TRUE(m_data.m_bKeepUnreadSettingsFile);
  // Nor can the folder be replaced; the new file is not left behind.
  EXPECT_FALSE(m_data.SaveSettings());
  EXPECT_EQ(TakeMessages(), Messages{"Could not write file \"" + Path() + "\", write error 5"});
  EXPECT_FALSE(FileExists(Path() + ".new"));

  m_data.m_strAppFolder = (m_dir / "gone") + platform::kSeparator;
  EXPECT_FALSE(m_data.SaveSettings());
  EXPECT_EQ(TakeMessages(), Messages{"Could not open file \"" + m_data.m_strAppFolder +
                                     "settings.dat\", open error 3"});
  EXPECT_FALSE(FileExists(m_dir / "gone"));
}

TEST_F(SettingsFile, SaveCutShortKeepsTheOldFile) {
  const std::string old = Image(1, 600, 1, 1, 64, kHash);
  m_data.SetPassword("other");
  for (const size_t cut : {0u, 1u, 27u, 57u, 120u}) {
    WriteSettings(old);
    SetSettingsSaveCutForTest(cut);
    EXPECT_FALSE(m_data.SaveSettings()) << cut;
    EXPECT_EQ(TakeMessages(), Messages{"Could not write file \"" + Path() + "\", write error 13"});
    EXPECT_EQ(ReadWholeFile(Path()), old) << cut;
    EXPECT_FALSE(FileExists(Path() + ".new")) << cut;
  }
  // A crash before the replace leaves a new file beside the old one, whole
  // or not: the load drops it, or deleting settings.dat later (to reset a
  // forgotten password) would bring it back.
  for (const std::string& left : {std::string("quillorysweep"), Image(7, 200, 0, 1, 64, kHash)}) {
    std::ofstream(Path() + ".new", std::ios::binary) << left;
    EXPECT_TRUE(m_data.LoadSettings());
    EXPECT_EQ(m_data.m_strPasswordHash, kHash);
    EXPECT_EQ(m_data.m_nWindowLeft, 1);
    EXPECT_FALSE(FileExists(Path() + ".new"));
  }
  SetSettingsSaveCutForTest(SIZE_MAX);
  m_data.m_nWindowLeft = 9;
  EXPECT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()), Image(9, 600, 1, 1, 64, kHash));
  EXPECT_FALSE(FileExists(Path() + ".new"));
}

// A save is a whole new file put in the old one's place; on FAT that is a
// delete and a rename, and a cut between them leaves only settings.dat.new.
// The next start takes it when it is whole, and leaves a damaged one alone.
TEST_F(SettingsFile, AnInterruptedReplaceIsCompletedAtTheNextStart) {
  const std::string whole = Image(5, 300, 1, 1, 64, kHash);
  const struct {
    std::string bytes;
    bool taken;
  } cases[] = {
      {whole, true},
      {Image(5, 300, 0, 0, 0, ""), true},
      {whole.substr(0, whole.size() - 1), false},         // cut short
      {whole + "0", false},                               // longer than its hash
      {Image(5, 300, 1, 1, 63, kHash.substr(1)), false},  // no hash is 63 digits
      {Image(5, 300, 1, 1, 64, std::string(64, 'g')), false},
      {Image(5, 300, 2, 1, 64, kHash), false},
  };
  for (const auto& c : cases) {
    std::remove(Path().c_str());
    std::ofstream(Path() + ".new", std::ios::binary | std::ios::trunc) << c.bytes;
    CAppData data;
    data.m_strAppFolder = m_data.m_strAppFolder;
    EXPECT_EQ(data.LoadSettings(), c.taken) << c.bytes.size();
    EXPECT_EQ(FileExists(Path()), c.taken);
    EXPECT_EQ(FileExists(Path() + ".new"), !c.taken);
    if (c.taken) {
      EXPECT_EQ(ReadWholeFile(Path()), c.bytes);
      EXPECT_EQ(data.m_nWindowLeft, 5);
      EXPECT_EQ(data.m_nSplitterPos, 300);
    } else {
      EXPECT_EQ(FieldsOf(data), Fields(20, 20, 650, 450, 1, 140, 0, 0, ""));
      EXPECT_EQ(ReadWholeFile(Path() + ".new"), c.bytes);
    }
  }
  EXPECT_TRUE(TakeMessages().empty());
}

#if defined(_WIN32)
// A whole new file that cannot take settings.dat's place (a write-protected
// stick; here a holder that refuses to share its deletion) is loaded where it
// is: starting unprotected would be worse.
TEST_F(SettingsFile, AWholeNewFileThatCannotBeMovedIsLoadedWhereItIs) {
  const std::string whole = Image(5, 300, 0, 1, 64, kHash);
  std::ofstream(Path() + ".new", std::ios::binary) << whole;
  HANDLE holder = CreateFileA((Path() + ".new").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(m_data.LoadSettings());
  CloseHandle(holder);
  EXPECT_EQ(FieldsOf(m_data), Fields(5, 2, 3, 4, 0, 300, 0, 1, kHash));
  EXPECT_EQ(ReadWholeFile(Path() + ".new"), whole);
}

// A holder that shares nothing for longer than the load waits: code 11, the
// defaults, and the file is marked to be kept.
TEST_F(SettingsFile, FileHeldByAnotherOpener) {
  const std::string old = Image(1, 600, 0, 0, 0, "");
  WriteSettings(old);
  HANDLE held = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(m_data.LoadSettings());
  EXPECT_EQ(TakeMessages(), Messages{"Could not open file \"" + Path() + "\", open error 11"});
  EXPECT_EQ(FieldsOf(m_data), Fields(20, 20, 650, 450, 1, 140, 0, 0, ""));
  EXPECT_TRUE(m_data.m_bKeepUnreadSettingsFile);

  EXPECT_FALSE(m_data.SaveSettings());
  const Messages messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Could not write file \"" + Path() + "\", write error ", 0), 0u)
      << messages[0];
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(Path()), old);
  EXPECT_FALSE(FileExists(Path() + ".new"));
  // A save of this run replaces it, and the exit may then save again.
  EXPECT_TRUE(m_data.SaveSettings());
  EXPECT_FALSE(m_data.m_bKeepUnreadSettingsFile);
}

// Scanners that share the file do not stop the load; one that shares
// nothing but lets go within the second does not either.
TEST_F(SettingsFile, FileHeldForAMomentOrSharedStillLoads) {
  WriteSettings(Image(1, 600, 1, 1, 64, kHash));
  HANDLE shared =
      CreateFileA(Path().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(shared, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(m_data.LoadSettings());
  CloseHandle(shared);
  EXPECT_EQ(m_data.m_strPasswordHash, kHash);

  m_data.m_strPasswordHash.clear();
  HANDLE held = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::atomic<bool> loading{false};
  std::thread releaser([&] {
    while (!loading) std::this_thread::yield();
    CloseHandle(held);
  });
  loading = true;
  EXPECT_TRUE(m_data.LoadSettings());
  releaser.join();
  EXPECT_EQ(m_data.m_strPasswordHash, kHash);

  // A save waits the same second for a reader, which keeps the file from
  // being replaced, to let go.
  held = CreateFileA(Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::atomic<bool> saving{false};
  std::thread saveReleaser([&] {
    while (!saving) std::this_thread::yield();
    Sleep(200);
    CloseHandle(held);
  });
  m_data.m_nWindowLeft = 7;
  saving = true;
  EXPECT_TRUE(m_data.SaveSettings());
  saveReleaser.join();
  EXPECT_EQ(ReadWholeFile(Path()), Image(7, 600, 1, 1, 64, kHash));
  EXPECT_TRUE(m_messages.empty());
}
#endif

}  // namespace
