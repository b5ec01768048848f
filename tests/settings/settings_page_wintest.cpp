#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/show_message.h"
#include "resources/product.h"
#include "resources/resource.h"
#include "settings/app_data.h"
#include "settings/check_password_win.h"
#include "settings/settings_page_win.h"
#include "shell/main_window_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/page_host_ui_win.h"
#include "support/settings_bytes.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

constexpr char kOldPassword[] = "correct horse";

using settings_bytes::kHashAt;
using settings_bytes::kProtectFlagAt;
using settings_bytes::kStartFlagAt;

std::string HashOf(const std::string& password) {
  CAppData data;
  data.SetPassword(password);
  return data.m_strPasswordHash;
}

std::optional<std::string> ReadRunValue(const std::string& name, DWORD* type = nullptr) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  DWORD kind = 0;
  LONG status =
      ::RegQueryValueExA(key, name.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(data), &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  if (type) *type = kind;
  return std::string(data);  // up to the first zero, whether stored or not
}

void DeleteRunValue(const std::string& name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueA(key, name.c_str());
  ::RegCloseKey(key);
}

// The Run value's data: the program's path in quotes.
std::string QuotedModulePath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string quoted(1, '"');
  quoted += path;
  quoted += '"';
  return quoted;
}

class SettingsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteRunValue(RunValueName());
    g_AppData.SetDefaults();
    g_AppData.m_strAppFolder = m_folder.Path() + "\\";
  }

  void TearDown() override {
    m_page.DestroyWindow();
    m_host.reset();
    DeleteRunValue(RunValueName());
    g_AppData.SetDefaults();
  }

  // Saves the settings as a previous run left them, then opens the page.
  template <class Prepare>
  void Open(Prepare prepare) {
    prepare(g_AppData);
    ASSERT_TRUE(g_AppData.SaveSettings());
    Open();
  }
  void Open() {
    m_host.emplace("Settings host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, SIZE{700, 400});
    ASSERT_TRUE(m_host->Hwnd());
    ASSERT_TRUE(m_page.Create(m_host->Hwnd()));
    m_page.Show(SW_SHOWNA);
  }

  HWND Item(int id) const { return ::GetDlgItem(m_page.m_hWnd, id); }
  bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
  bool Checked(int id) const { return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  std::string Text(int id) const { return fw::CWnd(Item(id)).GetText(); }

  // What a user can do: only to enabled controls.
  bool Click(int id) {
    if (!Enabled(id)) return false;
    ::SendMessageA(Item(id), BM_CLICK, 0, 0);
    return true;
  }
  bool Type(int id, const std::string& text) {
    if (!Enabled(id)) return false;
    for (char c : text) ::SendMessageA(Item(id), WM_CHAR, static_cast<unsigned char>(c), 1);
    return true;
  }
  bool Clear(int id) {
    if (!Enabled(id)) return false;
    ::SendMessageA(Item(id), EM_SETSEL, 0, -1);
    ::SendMessageA(Item(id), WM_CHAR, VK_BACK, 1);
    return true;
  }
  // Presses Apply and returns the text of the box with `caption` it shows.
  std::string ApplyWithWarning(const char* caption = "Warning") {
    std::string text;
    BoxAnswerer answerer(caption, [&](HWND box) {
      text = ReadItemText(box, IDC_BOX_TEXT);
      ClickButton(box, IDOK);
    });
    EXPECT_TRUE(Click(IDC_APPLY));
    EXPECT_TRUE(answerer.Answered());
    return text;
  }
  std::string Saved() const { return ReadWholeFile(m_folder / "settings.dat"); }

  void ExpectClean() const {
    EXPECT_EQ(m_page.m_bChanged, 0);
    EXPECT_FALSE(Enabled(IDC_APPLY));
    EXPECT_FALSE(Enabled(IDC_RESET));
  }
  void ExpectChanged() const {
    EXPECT_EQ(m_page.m_bChanged, 1);
    EXPECT_TRUE(Enabled(IDC_APPLY));
    EXPECT_TRUE(Enabled(IDC_RESET));
  }

  static void Protect(CAppData& data) {
    data.m_bPasswordProtection = 1;
    data.SetPassword(kOldPassword);
  }

  TempDir m_folder;
  std::optional<PageHost> m_host;
  CWindowSettings m_page;
};

TEST_F(SettingsPageTest, StoredPasswordShowsAsEightMaskedCharacters) {
  Open(Protect);
  const std::string placeholder = HashOf(kOldPassword).substr(0, 8);
  EXPECT_EQ(Text(IDC_PASSWORD), placeholder);
  EXPECT_EQ(Text(IDC_CONFIRM_PASSWORD), placeholder);
  for (int id : {IDC_PASSWORD, IDC_CONFIRM_PASSWORD}) {
    EXPECT_TRUE(::GetWindowLongA(Item(id), GWL_STYLE) & ES_PASSWORD);
    EXPECT_NE(::SendMessageA(Item(id), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_TRUE(Enabled(id));
  }
  EXPECT_TRUE(Checked(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_FALSE(Checked(IDC_START_WITH_WINDOWS));
  // Filling the edits is not typing.
  ExpectClean();
  EXPECT_EQ(m_page.m_bPasswordEdited, 0);
}

TEST_F(SettingsPageTest, UnprotectedOpensWithEmptyDisabledEdits) {
  Open([](CAppData& data) { data.m_bStartWithWindows = 1; });
  EXPECT_TRUE(Checked(IDC_START_WITH_WINDOWS));
  EXPECT_FALSE(Checked(IDC_PROTECT_WITH_PASSWORD));
  for (int id : {IDC_PASSWORD, IDC_CONFIRM_PASSWORD}) {
    EXPECT_EQ(Text(id), "");
    EXPECT_FALSE(Enabled(id));
  }
  EXPECT_EQ(m_page.m_bStartWithWindowsLoaded, 1);
  ExpectClean();
}

TEST_F(SettingsPageTest, StartWithWindowsKeepsTheStoredPassword) {
  Open(Protect);
  const std::string hash = HashOf(kOldPassword);
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ExpectChanged();
  ASSERT_TRUE(Click(IDC_APPLY));
  ExpectClean();

  DWORD type = 0;
  EXPECT_EQ(ReadRunValue("Quillory", &type), QuotedModulePath());
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(g_AppData.m_strPasswordHash, hash);
  const std::string saved = Saved();
  ASSERT_EQ(saved.size(), 121u);
  EXPECT_EQ(saved[kStartFlagAt], 1);
  EXPECT_EQ(saved[kProtectFlagAt], 1);
  EXPECT_EQ(saved.substr(kHashAt), hash);
  EXPECT_EQ(Text(IDC_PASSWORD), hash.substr(0, 8));

  // The old password still opens the prompt.
  BoxAnswerer answerer("Enter password", [](HWND prompt) {
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kOldPassword);
    PostClick(prompt, IDOK);
  });
  EXPECT_EQ(CCheckPassword().DoModal(), IDOK);
  EXPECT_TRUE(answerer.Answered());
}

TEST_F(SettingsPageTest, StartWithWindowsOnThenOffInOneVisitLeavesNoRunValue) {
  Open([](CAppData&) {});
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ASSERT_TRUE(Click(IDC_APPLY));
  const std::optional<std::string> value = ReadRunValue("Quillory");
  ASSERT_TRUE(value);
  // Quoted, so that a path with blanks names no other program.
  EXPECT_EQ(value->front(), '"');
  EXPECT_EQ(value->back(), '"');
  EXPECT_NE(value->find("settings_wintest.exe"), std::string::npos);
  EXPECT_EQ(Saved().size(), settings_bytes::kSizeWithoutHash);
  EXPECT_EQ(Saved()[kStartFlagAt], 1);

  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ASSERT_TRUE(Click(IDC_APPLY));
  EXPECT_FALSE(ReadRunValue("Quillory"));
  EXPECT_EQ(Saved()[kStartFlagAt], 0);
  EXPECT_EQ(g_AppData.m_bStartWithWindows, 0);
  ExpectClean();
}

// Only a change of the box touches the registry: a value put there by hand
// survives an Apply that leaves the box as it was.
TEST_F(SettingsPageTest, RunValueIsWrittenOnlyWhenTheBoxChanged) {
  Open([](CAppData& data) { data.m_bStartWithWindows = 1; });
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  const char handMade[] = "C:\\elsewhere\\quillory.exe";
  ::RegSetValueExA(key, "Quillory", 0, REG_SZ, reinterpret_cast<const BYTE*>(handMade),
                   sizeof handMade);
  ::RegCloseKey(key);

  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  ASSERT_TRUE(Type(IDC_PASSWORD, "x"));
  ASSERT_TRUE(Type(IDC_CONFIRM_PASSWORD, "x"));
  ASSERT_TRUE(Click(IDC_APPLY));
  EXPECT_EQ(ReadRunValue("Quillory"), handMade);
}

TEST_F(SettingsPageTest, RunKeyIsMadeWhenMissingAndAValueAlreadyGoneIsNoFailure) {
  // A fresh account without the key; the value's size counts its zero.
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kRunKeyPath);
  Open([](CAppData&) {});
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ASSERT_TRUE(Click(IDC_APPLY));
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD size = 0;
  ::RegQueryValueExA(key, "Quillory", nullptr, nullptr, nullptr, &size);
  ::RegCloseKey(key);
  EXPECT_EQ(size, QuotedModulePath().size() + 1);

  // Someone removed the value meanwhile: unticking still succeeds, quietly.
  DeleteRunValue("Quillory");
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  // An "Error" box would be closed and counted, not left to hang the test.
  std::atomic<bool> applied{false};
  std::atomic<bool> watched{false};
  std::atomic<int> boxes{0};
  std::thread watcher([&] {
    while (!applied) {
      if (HWND box = FindOwnWindow("Error")) {
        ++boxes;
        ClickButton(box, IDOK);
      }
      std::this_thread::sleep_for(5ms);
    }
    watched = true;
  });
  ASSERT_TRUE(Click(IDC_APPLY));
  applied = true;
  PumpUntil([&] { return watched.load(); });  // it reads this thread's captions
  watcher.join();
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(g_AppData.m_bStartWithWindows, 0);
  EXPECT_EQ(Saved()[kStartFlagAt], 0);
}

TEST_F(SettingsPageTest, ARunKeyThatRefusesTheChangeIsReportedAndTheBoxKeepsItsState) {
  Open([](CAppData&) {});
  // A DACL that grants nothing, as a policy or another program may leave.
  HKEY run = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0,
                              READ_CONTROL | WRITE_DAC, nullptr, &run, nullptr),
            ERROR_SUCCESS);
  char previous[4096];
  DWORD previousSize = sizeof previous;
  ASSERT_EQ(::RegGetKeySecurity(run, DACL_SECURITY_INFORMATION, previous, &previousSize),
            ERROR_SUCCESS);
  SECURITY_DESCRIPTOR locked;
  ::InitializeSecurityDescriptor(&locked, SECURITY_DESCRIPTOR_REVISION);
  ACL empty;
  ::InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  ::SetSecurityDescriptorDacl(&locked, TRUE, &empty, FALSE);
  ASSERT_EQ(::RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, &locked), ERROR_SUCCESS);

  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  const std::string said = ApplyWithWarning("Error");
  ::RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, previous);
  ::RegCloseKey(run);

  EXPECT_EQ(said, RunValueError(true, "Quillory", ERROR_ACCESS_DENIED));
  EXPECT_NE(said.find("registry error 5"), std::string::npos);
  EXPECT_FALSE(ReadRunValue("Quillory"));
  // The rest of Apply ran; the box and the flag still say "off".
  EXPECT_FALSE(Checked(IDC_START_WITH_WINDOWS));
  EXPECT_EQ(g_AppData.m_bStartWithWindows, 0);
  EXPECT_EQ(Saved()[kStartFlagAt], 0);
  ExpectClean();
}

TEST_F(SettingsPageTest, UntickingProtectionEmptiesTheHashAndTickingAgainWantsAPassword) {
  Open(Protect);
  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_FALSE(Enabled(IDC_PASSWORD));
  EXPECT_FALSE(Enabled(IDC_CONFIRM_PASSWORD));
  ASSERT_TRUE(Click(IDC_APPLY));
  ExpectClean();
  EXPECT_EQ(g_AppData.m_strPasswordHash, "");
  EXPECT_EQ(g_AppData.m_bPasswordProtection, 0);
  EXPECT_EQ(Text(IDC_PASSWORD), "");
  EXPECT_EQ(Text(IDC_CONFIRM_PASSWORD), "");
  const std::string saved = Saved();
  ASSERT_EQ(saved.size(), settings_bytes::kSizeWithoutHash);
  EXPECT_EQ(saved[kProtectFlagAt], 0);

  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_TRUE(Enabled(IDC_PASSWORD));
  EXPECT_EQ(ApplyWithWarning(), "Protected password is empty. Please try again.");
  // Nothing stored, and the page keeps its changes.
  ExpectChanged();
  EXPECT_TRUE(Checked(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_EQ(g_AppData.m_bPasswordProtection, 0);
  EXPECT_EQ(Saved(), saved);
}

TEST_F(SettingsPageTest, PasswordOnlyInTheFirstEditWantsTheConfirmation) {
  Open([](CAppData&) {});
  const std::string before = Saved();
  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  ASSERT_TRUE(Type(IDC_PASSWORD, "hunter22"));
  EXPECT_EQ(m_page.m_bPasswordEdited, 1);
  EXPECT_EQ(ApplyWithWarning(), "The confirmation protected password is wrong. Please try again.");
  ExpectChanged();
  EXPECT_EQ(g_AppData.m_bPasswordProtection, 0);
  EXPECT_EQ(g_AppData.m_strPasswordHash, "");
  EXPECT_EQ(Saved(), before);

  // The comparison is exact.
  ASSERT_TRUE(Type(IDC_CONFIRM_PASSWORD, "Hunter22"));
  EXPECT_EQ(ApplyWithWarning(), "The confirmation protected password is wrong. Please try again.");

  ASSERT_TRUE(Clear(IDC_CONFIRM_PASSWORD));
  ASSERT_TRUE(Type(IDC_CONFIRM_PASSWORD, "hunter22"));
  ASSERT_TRUE(Click(IDC_APPLY));
  ExpectClean();
  const std::string hash = HashOf("hunter22");
  EXPECT_EQ(g_AppData.m_strPasswordHash, hash);
  const std::string saved = Saved();
  ASSERT_EQ(saved.size(), 121u);
  EXPECT_EQ(saved[kProtectFlagAt], 1);
  EXPECT_EQ(saved.substr(kHashAt), hash);
  EXPECT_EQ(Text(IDC_PASSWORD), hash.substr(0, 8));
  EXPECT_EQ(Text(IDC_CONFIRM_PASSWORD), hash.substr(0, 8));
  EXPECT_EQ(m_page.m_bPasswordEdited, 0);
}

TEST_F(SettingsPageTest, NewPasswordReplacesTheStoredOne) {
  Open(Protect);
  ASSERT_TRUE(Clear(IDC_PASSWORD));
  ASSERT_TRUE(Type(IDC_PASSWORD, "battery staple"));
  ASSERT_TRUE(Clear(IDC_CONFIRM_PASSWORD));
  ASSERT_TRUE(Type(IDC_CONFIRM_PASSWORD, "battery staple"));
  ASSERT_TRUE(Click(IDC_APPLY));
  EXPECT_TRUE(g_AppData.IsPasswordCorrect("battery staple"));
  EXPECT_FALSE(g_AppData.IsPasswordCorrect(kOldPassword));
  EXPECT_EQ(Saved().substr(kHashAt), HashOf("battery staple"));
}

// The placeholder is no password, however the boxes came to hold it again:
// hashing it would lock the user out at the next prompt.
TEST_F(SettingsPageTest, BoxesHoldingThePlaceholderKeepTheStoredPassword) {
  const std::string hash = HashOf(kOldPassword);
  const std::string placeholder = hash.substr(0, 8);
  const std::pair<const char*, std::function<bool()>> edits[] = {
      {"a letter typed and taken back",
       [this] { return Type(IDC_PASSWORD, "x") && Type(IDC_PASSWORD, "\b"); }},
      {"the first box typed over with the same text",
       [&] { return Clear(IDC_PASSWORD) && Type(IDC_PASSWORD, placeholder); }},
      {"the confirmation alone, typed and taken back",
       [this] { return Type(IDC_CONFIRM_PASSWORD, "x") && Type(IDC_CONFIRM_PASSWORD, "\b"); }},
  };
  for (const auto& [what, edit] : edits) {
    Open(Protect);
    ASSERT_TRUE(edit() && m_page.m_bPasswordEdited) << what;
    ASSERT_TRUE(Click(IDC_APPLY)) << what;
    EXPECT_EQ(Saved().substr(kHashAt), hash) << what;
    m_page.DestroyWindow();
    m_host.reset();
  }
  EXPECT_TRUE(g_AppData.IsPasswordCorrect(kOldPassword));
}

TEST_F(SettingsPageTest, ClickingProtectTwiceLeavesTheStateButMarksTheChange) {
  Open(Protect);
  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_TRUE(Checked(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_TRUE(Enabled(IDC_PASSWORD));
  EXPECT_TRUE(Enabled(IDC_CONFIRM_PASSWORD));
  EXPECT_EQ(Text(IDC_PASSWORD), HashOf(kOldPassword).substr(0, 8));
  EXPECT_EQ(m_page.m_bPasswordEdited, 0);
  ExpectChanged();
}

TEST_F(SettingsPageTest, TypingMarksTheChange) {
  Open(Protect);
  ASSERT_TRUE(Type(IDC_CONFIRM_PASSWORD, "z"));
  ExpectChanged();
  EXPECT_EQ(m_page.m_bPasswordEdited, 1);
}

TEST_F(SettingsPageTest, ResetThrowsTheChangesAway) {
  Open(Protect);
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ASSERT_TRUE(Clear(IDC_PASSWORD));
  ASSERT_TRUE(Type(IDC_PASSWORD, "abc"));
  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  const std::string before = Saved();
  ASSERT_TRUE(Click(IDC_RESET));
  ExpectClean();
  EXPECT_FALSE(Checked(IDC_START_WITH_WINDOWS));
  EXPECT_TRUE(Checked(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_TRUE(Enabled(IDC_PASSWORD));
  EXPECT_EQ(Text(IDC_PASSWORD), HashOf(kOldPassword).substr(0, 8));
  EXPECT_EQ(m_page.m_bPasswordEdited, 0);
  EXPECT_EQ(Saved(), before);
  EXPECT_FALSE(ReadRunValue("Quillory"));

  // What the main window calls when the user leaves without applying.
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  m_page.Reset();
  ExpectClean();
  EXPECT_FALSE(Checked(IDC_START_WITH_WINDOWS));
}

TEST_F(SettingsPageTest, EnterAndEscDoNothing) {
  Open(Protect);
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ASSERT_TRUE(Type(IDC_PASSWORD, "q"));
  const std::string typed = Text(IDC_PASSWORD);
  const std::string before = Saved();
  // With the focus on the page, through the dialog manager of the window
  // that holds it and of the page itself, and as the commands they become.
  for (int focus : {IDC_START_WITH_WINDOWS, IDC_PASSWORD}) {
    for (HWND dialog : {m_host->Hwnd(), m_page.m_hWnd}) {
      ::SetFocus(Item(focus));
      for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        ::PostMessageA(Item(focus), WM_KEYDOWN, key, 1);
        ::PostMessageA(Item(focus), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        DrainMessages(KeysOf(dialog));
      }
    }
  }
  m_page.Send(WM_COMMAND, IDOK, 0);
  m_page.Send(WM_COMMAND, IDCANCEL, 0);

  EXPECT_TRUE(::IsWindow(m_page.m_hWnd));
  EXPECT_TRUE(m_page.IsVisible());
  ExpectChanged();
  EXPECT_TRUE(Checked(IDC_START_WITH_WINDOWS));
  EXPECT_EQ(Text(IDC_PASSWORD), typed);
  EXPECT_EQ(Saved(), before);
  EXPECT_FALSE(ReadRunValue("Quillory"));
}

TEST_F(SettingsPageTest, SaveThatFailsStillLeavesThePageClean) {
  std::vector<std::string> shown;
  ShowMessageHandler previous = SetShowMessageHandler(
      [&](void*, const std::string& caption, const std::string&, const std::string& text, int) {
        shown.push_back(caption + ": " + text);
      });
  Open([](CAppData&) {});
  SetSettingsSaveCutForTest(10);
  ASSERT_TRUE(Click(IDC_START_WITH_WINDOWS));
  ASSERT_TRUE(Click(IDC_APPLY));
  SetSettingsSaveCutForTest(SIZE_MAX);
  SetShowMessageHandler(previous);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Error: Could not write file", 0), 0u) << shown[0];
  ExpectClean();
}

TEST_F(SettingsPageTest, TemplateAsDesigned) {
  Open([](CAppData&) {});
  struct Control {
    int id;
    RECT units;  // x, y, width, height in dialog units
    const char* text;
  };
  const Control controls[] = {
      {IDC_START_WITH_WINDOWS, {11, 10, 76, 8}, "&Start with Windows"},
      {IDC_PROTECT_WITH_PASSWORD, {11, 31, 188, 8}, "&Protect with password"},
      {IDC_PASSWORD, {11, 45, 85, 12}, ""},
      {IDC_CONFIRM_PASSWORD, {221, 45, 85, 12}, ""},
      {IDC_APPLY, {9, 68, 60, 12}, "&Apply"},
      {IDC_RESET, {248, 68, 60, 12}, "&Reset"},
  };
  for (const Control& control : controls) {
    // The dialog manager converts the width and height on their own.
    RECT expected = control.units;
    ::MapDialogRect(m_page.m_hWnd, &expected);
    RECT actual{};
    ::GetWindowRect(Item(control.id), &actual);
    ::MapWindowPoints(nullptr, m_page.m_hWnd, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left) << control.id;
    EXPECT_EQ(actual.top, expected.top) << control.id;
    EXPECT_EQ(actual.right - actual.left, expected.right) << control.id;
    EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << control.id;
    EXPECT_EQ(Text(control.id), control.text);
    EXPECT_TRUE(::GetWindowLongA(Item(control.id), GWL_STYLE) & WS_TABSTOP) << control.id;
  }
  for (int id : {IDC_START_WITH_WINDOWS, IDC_PROTECT_WITH_PASSWORD}) {
    EXPECT_EQ(::GetWindowLongA(Item(id), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  }
  // The boxes are named for a screen reader, the second by what it shows.
  EXPECT_EQ(LabelBefore(Item(IDC_PASSWORD)), "Password");
  EXPECT_EQ(LabelBefore(Item(IDC_CONFIRM_PASSWORD)), "(re-&enter password)");
  EXPECT_EQ(TabOrder(m_page.m_hWnd),
            (std::vector<int>{IDC_START_WITH_WINDOWS, IDC_PROTECT_WITH_PASSWORD}));
  ASSERT_TRUE(Click(IDC_PROTECT_WITH_PASSWORD));
  EXPECT_EQ(TabOrder(m_page.m_hWnd),
            (std::vector<int>{IDC_START_WITH_WINDOWS, IDC_PROTECT_WITH_PASSWORD, IDC_PASSWORD,
                              IDC_CONFIRM_PASSWORD, IDC_APPLY, IDC_RESET}));
  const LONG pageStyle = ::GetWindowLongA(m_page.m_hWnd, GWL_STYLE);
  EXPECT_TRUE(pageStyle & WS_CHILD);
  EXPECT_FALSE(pageStyle & (WS_CAPTION | WS_BORDER));
  EXPECT_EQ(m_page.m_nPageWidth, 480);
  EXPECT_EQ(m_page.m_nPageHeight, 350);
}

}  // namespace
