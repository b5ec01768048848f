#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs/show_message.h"
#include "platform/file_system.h"
#include "settings/app_data.h"
#include "support/temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// settings.dat images are built here byte by byte, apart from the code under test.
std::string Int(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
          static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
}

const std::string kHeader("quillorysweeptool settings\0", 27);
const std::string kHash = "2BB80D537B1DA3E38BD30361AA855686BDE0EACD7162FEF6A25FE97BF527A25B";

std::string Image(int32_t left, int32_t top, int32_t width, int32_t height, int32_t show,
                  int32_t splitter, char start, char protection, int32_t length,
                  const std::string& hash) {
  return kHeader + Int(left) + Int(top) + Int(width) + Int(height) + Int(show) + Int(splitter) +
         start + protection + Int(length) + hash;
}

using Fields = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int, int, std::string>;

Fields FieldsOf(const CAppData& data) {
  return {data.m_nWindowLeft,         data.m_nWindowTop,          data.m_nWindowWidth,
          data.m_nWindowHeight,       data.m_nWindowShowCmd,      data.m_nSplitterPos,
          data.m_bStartWithWindows,   data.m_bPasswordProtection, data.m_strPasswordHash};
}

struct Message {
  void* owner;
  std::string caption, groupLabel, text;
  int iconId;
};

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_data.m_strAppFolder = m_dir.Path() + platform::kSeparator;
    m_previousHandler = SetShowMessageHandler(
        [this](void* owner, const std::string& caption, const std::string& groupLabel,
               const std::string& text, int iconId) {
          m_messages.push_back({owner, caption, groupLabel, text, iconId});
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
  // Every message of the settings code is an ownerless "Error" box.
  void ExpectOneError(const std::string& text) {
    ASSERT_EQ(m_messages.size(), 1u) << text;
    EXPECT_EQ(m_messages[0].owner, nullptr);
    EXPECT_EQ(m_messages[0].caption, "Error");
    EXPECT_EQ(m_messages[0].groupLabel, "");
    EXPECT_EQ(m_messages[0].text, text);
    EXPECT_EQ(m_messages[0].iconId, 201);
    m_messages.clear();
  }
  void FillFields() {
    m_data.m_nWindowLeft = -5;
    m_data.m_nWindowTop = 7;
    m_data.m_nWindowWidth = 800;
    m_data.m_nWindowHeight = 600;
    m_data.m_nWindowShowCmd = 0;  // hidden in the notification area at exit
    m_data.m_nSplitterPos = 90;
    m_data.m_bStartWithWindows = 1;
    m_data.m_bPasswordProtection = 0;
  }

  TempDir m_dir;
  CAppData m_data;
  std::vector<Message> m_messages;
  ShowMessageHandler m_previousHandler;
};

TEST_F(SettingsFile, MissingFileGivesDefaultsQuietlyAndCreatesNothing) {
  m_data.m_strPasswordHash = kHash;
  m_data.m_nTask = 2;
  m_data.m_nRunningTask = 1;
  EXPECT_FALSE(m_data.LoadSettings());
  EXPECT_EQ(FieldsOf(m_data), Fields(20, 20, 650, 450, 1, 140, 0, 0, ""));
  EXPECT_EQ(m_data.m_nTask, 0);
  EXPECT_EQ(m_data.m_nRunningTask, 0);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_FALSE(FileExists(Path()));
}

TEST_F(SettingsFile, SavesTheExactRecord) {
  FillFields();
  ASSERT_TRUE(m_data.SaveSettings());
  const std::string bytes = ReadWholeFile(Path());
  // The splitter minimum belongs to the load; the save writes 90 as it is.
  EXPECT_EQ(bytes, Image(-5, 7, 800, 600, 0, 90, 1, 0, 0, ""));
  ASSERT_EQ(bytes.size(), 57u);
  EXPECT_EQ(bytes[51], 1) << "start with Windows comes first";
  EXPECT_EQ(bytes[52], 0);
  EXPECT_EQ(bytes.substr(53), std::string(4, '\0'));

  m_data.m_bStartWithWindows = 0;
  m_data.m_bPasswordProtection = 1;
  m_data.SetPassword("secret");
  ASSERT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()), Image(-5, 7, 800, 600, 0, 90, 0, 1, 64, kHash));
  EXPECT_EQ(ReadWholeFile(Path()).size(), 121u);
  EXPECT_FALSE(FileExists(Path() + ".new"));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(SettingsFile, SavedSettingsLoadBack) {
  FillFields();
  m_data.m_nSplitterPos = 333;
  m_data.m_bPasswordProtection = 1;
  m_data.SetPassword("secret");
  ASSERT_TRUE(m_data.SaveSettings());

  CAppData loaded;
  loaded.m_strAppFolder = m_data.m_strAppFolder;
  EXPECT_TRUE(loaded.LoadSettings());
  EXPECT_EQ(FieldsOf(loaded), FieldsOf(m_data));
  EXPECT_TRUE(loaded.IsPasswordCorrect("secret"));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(SettingsFile, SplitterNeverBelow140AfterALoad) {
  WriteSettings(Image(1, 2, 3, 4, 5, 90, 0, 0, 0, ""));
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(FieldsOf(m_data), Fields(1, 2, 3, 4, 5, 140, 0, 0, ""));
  WriteSettings(Image(1, 2, 3, 4, 5, 500, 0, 0, 0, ""));
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(m_data.m_nSplitterPos, 500);
  WriteSettings(Image(1, 2, 3, 4, 5, INT32_MIN, 0, 0, 0, ""));
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(m_data.m_nSplitterPos, 140);
}

TEST_F(SettingsFile, WrongHeaderChangesNothing) {
  std::string firstLetter = Image(1, 2, 3, 4, 5, 500, 1, 1, 0, "");
  firstLetter[0] = 'Q';
  std::string lastLetter = firstLetter;
  lastLetter[0] = 'q';
  lastLetter[25] = 'S';
  std::string notTerminated = lastLetter;
  notTerminated[25] = 's';
  notTerminated[26] = 'x';
  ASSERT_EQ(notTerminated.substr(0, 26), "quillorysweeptool settings");
  for (const std::string& bytes :
       {firstLetter, lastLetter, notTerminated, std::string(), std::string("quillorysweep")}) {
    WriteSettings(bytes);
    // At start-up the record still holds what the constructor made: zeros.
    EXPECT_FALSE(m_data.LoadSettings());
    EXPECT_EQ(FieldsOf(m_data), Fields(0, 0, 0, 0, 0, 0, 0, 0, ""));
    ExpectOneError("Wrong settings.dat");
  }
}

// The header buffer starts zeroed, so a file that ends after the 26 letters
// passes; the fields it cannot supply keep their values.
TEST_F(SettingsFile, HeaderOnlyFilesKeepTheFields) {
  for (const size_t size : {26u, 27u}) {
    m_data.m_nWindowLeft = 11;
    m_data.m_nWindowShowCmd = 3;
    m_data.m_nSplitterPos = 100;
    m_data.m_bPasswordProtection = 1;
    m_data.m_strPasswordHash = kHash;
    WriteSettings(kHeader.substr(0, size));
    EXPECT_TRUE(m_data.LoadSettings()) << size;
    EXPECT_EQ(FieldsOf(m_data), Fields(11, 0, 0, 0, 3, 140, 0, 1, "")) << size;
    EXPECT_TRUE(m_messages.empty());
  }
}

TEST_F(SettingsFile, ShortFileKeepsWhatItCannotSupply) {
  m_data.m_nWindowTop = 77;
  // Ends two bytes into the second number: that one is not half overwritten.
  WriteSettings(Image(-1, 0x01020304, 3, 4, 5, 600, 1, 1, 0, "").substr(0, 27 + 4 + 2));
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(FieldsOf(m_data), Fields(-1, 77, 0, 0, 0, 140, 0, 0, ""));

  // Ends inside the hash.
  WriteSettings(Image(1, 2, 3, 4, 5, 600, 1, 1, 64, kHash).substr(0, 57 + 10));
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(FieldsOf(m_data), Fields(1, 2, 3, 4, 5, 600, 1, 1, ""));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(SettingsFile, HashLengthOutOfBoundsLeavesTheHashEmpty) {
  for (const int32_t length : {-1, INT32_MIN, 65, 100000, INT32_MAX}) {
    m_data.m_strPasswordHash = kHash;
    WriteSettings(Image(1, 2, 3, 4, 5, 600, 1, 1, length, kHash + kHash));
    EXPECT_TRUE(m_data.LoadSettings()) << length;
    EXPECT_EQ(FieldsOf(m_data), Fields(1, 2, 3, 4, 5, 600, 1, 1, "")) << length;
  }
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(SettingsFile, HashStopsAtAZeroByteAndTrailingBytesAreIgnored) {
  std::string hash = kHash;
  hash[10] = '\0';
  WriteSettings(Image(1, 2, 3, 4, 5, 600, 0, 1, 64, hash) + "trailing");
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(m_data.m_strPasswordHash, kHash.substr(0, 10));

  WriteSettings(Image(1, 2, 3, 4, 5, 600, 0, 1, 64, kHash) + "trailing");
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(m_data.m_strPasswordHash, kHash);
}

TEST_F(SettingsFile, FileThatCannotBeOpened) {
  // Windows refuses to open a folder as a file: access denied.
  m_dir.MakeFolder("settings.dat");
  m_data.m_nSplitterPos = 222;
  EXPECT_FALSE(m_data.LoadSettings());
  ExpectOneError("Could not open file \"" + Path() + "\", open error 5");
  EXPECT_EQ(m_data.m_nSplitterPos, 222);

  // The folder cannot be replaced either; the new file is not left behind.
  EXPECT_FALSE(m_data.SaveSettings());
  ExpectOneError("Could not write file \"" + Path() + "\", write error 5");
  EXPECT_FALSE(FileExists(Path() + ".new"));
}

TEST_F(SettingsFile, SaveIntoAMissingFolderIsABadPath) {
  m_data.m_strAppFolder = (m_dir / "gone") + platform::kSeparator;
  const std::string path = m_data.m_strAppFolder + "settings.dat";
  EXPECT_FALSE(m_data.SaveSettings());
  ExpectOneError("Could not open file \"" + path + "\", open error 3");
  EXPECT_FALSE(FileExists(m_dir / "gone"));
}

TEST_F(SettingsFile, SaveCutShortKeepsTheOldFile) {
  const std::string old = Image(1, 2, 3, 4, 5, 600, 1, 1, 64, kHash);
  FillFields();
  m_data.SetPassword("other");
  for (const size_t cut : {0u, 1u, 27u, 56u, 57u, 120u}) {
    WriteSettings(old);
    SetSettingsSaveCutForTest(cut);
    EXPECT_FALSE(m_data.SaveSettings()) << cut;
    ExpectOneError("Could not write file \"" + Path() + "\", write error 13");
    EXPECT_EQ(ReadWholeFile(Path()), old) << cut;
    EXPECT_FALSE(FileExists(Path() + ".new")) << cut;
  }
  SetSettingsSaveCutForTest(SIZE_MAX);
  EXPECT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()).size(), 121u);
}

// A crash between writing the new file and replacing the old one leaves both.
TEST_F(SettingsFile, LeftoverNewFileIsHarmless) {
  WriteSettings(Image(1, 2, 3, 4, 5, 600, 0, 0, 0, ""));
  std::ofstream(Path() + ".new", std::ios::binary) << "quillorysweep";
  EXPECT_TRUE(m_data.LoadSettings());
  EXPECT_EQ(FieldsOf(m_data), Fields(1, 2, 3, 4, 5, 600, 0, 0, ""));
  m_data.m_nWindowLeft = 9;
  EXPECT_TRUE(m_data.SaveSettings());
  EXPECT_EQ(ReadWholeFile(Path()), Image(9, 2, 3, 4, 5, 600, 0, 0, 0, ""));
  EXPECT_FALSE(FileExists(Path() + ".new"));
}

#if defined(_WIN32)
// A second instance loading while the first holds the file gets code 11.
TEST_F(SettingsFile, FileHeldByAnotherOpener) {
  const std::string old = Image(1, 2, 3, 4, 5, 600, 0, 0, 0, "");
  WriteSettings(old);
  HANDLE held = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(m_data.LoadSettings());
  ExpectOneError("Could not open file \"" + Path() + "\", open error 11");
  EXPECT_EQ(FieldsOf(m_data), Fields(0, 0, 0, 0, 0, 0, 0, 0, ""));

  m_data.m_nWindowLeft = 9;
  EXPECT_FALSE(m_data.SaveSettings());
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0].text.rfind("Could not write file \"" + Path() + "\", write error ", 0),
            0u)
      << m_messages[0].text;
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(Path()), old);
  EXPECT_FALSE(FileExists(Path() + ".new"));
}
#endif

}  // namespace
