// Two real processes of the built program, each run from a private copy so
// that its settings.dat is its own. They run on a desktop of their own: Wine
// draws it as a virtual desktop and manages its windows itself, as Windows
// does, while a bare X display without a window manager would put a
// maximised window back into that state behind the program's back.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/worker_messages.h"
#include "resources/resource.h"
#include "settings/app_data.h"
#include "support/box_answerer_ui_win.h"
#include "support/settings_bytes.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

constexpr char kTitle[] = "Quillory";
constexpr char kPromptCaption[] = "Enter password";
constexpr char kPassword[] = "let me in";
constexpr char kDesktop[] = "QuilloryInstances";
constexpr auto kBound = 60s;
// Where the default settings put the window (left, top, right, bottom).
constexpr RECT kStoredRect{20, 20, 670, 470};

// build/<dir>/quillory.exe, beside the folder of the test executables.
std::string BuiltProgram() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.find_last_of('\\'));
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "quillory.exe";
}

HDESK g_hDesktop = nullptr;

struct Search {
  DWORD processId;
  const char* caption;
  bool visibleOnly;
  HWND found;
};

// A top-level window of the process on the test desktop with this caption.
HWND FindWindowOf(DWORD processId, const char* caption, bool visibleOnly) {
  // Wine makes the desktop, with the explorer that draws it, for the first
  // program that names it; one made here would lack that.
  if (!g_hDesktop) {
    g_hDesktop = ::OpenDesktopA(kDesktop, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
  }
  if (!g_hDesktop) return nullptr;
  Search search{processId, caption, visibleOnly, nullptr};
  ::EnumDesktopWindows(
      g_hDesktop,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD process = 0;
        ::GetWindowThreadProcessId(hwnd, &process);
        const bool visible = (::GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (process != s->processId || (s->visibleOnly && !visible)) return TRUE;
        // Another process's caption is read without a message.
        char text[64] = {};
        ::GetWindowTextA(hwnd, text, sizeof text);
        if (std::string(text) != s->caption) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A copy of the program in a folder of its own, with settings.dat as a
// previous run would have left it.
class ProgramCopy {
 public:
  template <class Prepare>
  explicit ProgramCopy(Prepare prepare) : m_strExe(m_folder / "quillory.exe") {
    EXPECT_TRUE(::CopyFileA(BuiltProgram().c_str(), m_strExe.c_str(), FALSE)) << BuiltProgram();
    auto data = std::make_unique<CAppData>();
    data->SetDefaults();
    prepare(*data);
    data->m_strAppFolder = m_folder.Path() + "\\";
    EXPECT_TRUE(data->SaveSettings());
  }
  const std::string& Exe() const { return m_strExe; }
  std::string Settings() const { return ReadWholeFile(m_folder / "settings.dat"); }

 private:
  TempDir m_folder;
  std::string m_strExe;
};

// One started program. It is ended through its own Exit, or by its id when
// that does not work.
class Instance {
 public:
  explicit Instance(const std::string& exe, std::string commandLine = "",
                    const char* currentFolder = nullptr) {
    if (commandLine.empty()) commandLine = "\"" + exe + "\" ";
    std::string desktop = kDesktop;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    m_bStarted = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, currentFolder, &startup, &m_info) != FALSE;
    EXPECT_TRUE(m_bStarted) << exe;
  }
  ~Instance() {
    if (!m_bStarted) return;
    if (Running()) {
      if (HWND window = MainWindow()) {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0), 0);
      }
      if (!WaitForExit()) ::TerminateProcess(m_info.hProcess, 1);
      ::WaitForSingleObject(m_info.hProcess, 30000);
    }
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  DWORD Id() const { return m_info.dwProcessId; }
  HANDLE Handle() const { return m_info.hProcess; }
  bool Running() const { return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitForExit() const {
    return ::WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(kBound.count() * 1000)) ==
           WAIT_OBJECT_0;
  }
  HWND MainWindow() const { return FindWindowOf(Id(), kTitle, false); }
  // The main window once it is placed and shown as stored (`ready` says
  // when) and the program waits for input; null when that does not come.
  template <class Ready>
  HWND WaitUntilRunning(Ready ready) const {
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = MainWindow()) != nullptr && ready(window); }, kBound)) {
      return nullptr;
    }
    ::WaitForInputIdle(m_info.hProcess, 30000);
    return window;
  }
  HWND WaitForWindow(const char* caption) const {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowOf(Id(), caption, true)) != nullptr; }, kBound);
    return window;
  }

 private:
  PROCESS_INFORMATION m_info{};
  bool m_bStarted = false;
};

// The window's own flag: IsWindowVisible also wants the window's desktop to
// be the caller's, which it is not here.
bool Visible(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }
bool Zoomed(HWND window) { return ::IsZoomed(window) != FALSE; }
bool Iconic(HWND window) { return ::IsIconic(window) != FALSE; }
// A hidden start is over once the window has its stored place: showing it
// with the stored 0 changes nothing after that.
bool PlacedHidden(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return !Visible(window) && ::EqualRect(&rect, &kStoredRect);
}

void Hidden(CAppData& data) { data.m_nWindowShowCmd = 0; }
void HiddenAndProtected(CAppData& data) {
  data.m_nWindowShowCmd = 0;
  data.m_bPasswordProtection = 1;
  data.SetPassword(kPassword);
}

// The second start must end by itself, and nobody may ask; if a prompt shows
// anyway, it is recorded and cancelled so that the test fails without hanging.
bool EndsWithoutAsking(const Instance& first, const Instance& second) {
  bool asked = false;
  WaitUntil(
      [&] {
        for (const Instance* instance : {&first, &second}) {
          if (HWND prompt = FindWindowOf(instance->Id(), kPromptCaption, true)) {
            asked = true;
            PressCloseBox(prompt);
          }
        }
        return !second.Running();
      },
      kBound);
  return !asked && !second.Running();
}

class SingleInstance : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Wine's size for the desktop of that name; Windows ignores the key.
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                          KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      const char size[] = "1024x768";
      ::RegSetValueExA(key, kDesktop, 0, REG_SZ, reinterpret_cast<const BYTE*>(size), sizeof size);
      ::RegCloseKey(key);
    }
  }
  static void TearDownTestSuite() {
    if (g_hDesktop) ::CloseDesktop(g_hDesktop);
    g_hDesktop = nullptr;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, KEY_WRITE,
                        &key) == ERROR_SUCCESS) {
      ::RegDeleteValueA(key, kDesktop);
      ::RegCloseKey(key);
    }
  }
};

TEST_F(SingleInstance, SecondStartShowsAVisibleMaximisedWindowNormalWithoutAsking) {
  ProgramCopy program([](CAppData& data) {
    data.m_nWindowShowCmd = SW_SHOWMAXIMIZED;
    data.m_bPasswordProtection = 1;  // not asked: the window is visible
    data.SetPassword(kPassword);
  });
  Instance first(program.Exe());
  HWND window = first.WaitUntilRunning([](HWND w) { return Visible(w) && Zoomed(w); });
  ASSERT_TRUE(window);

  Instance second(program.Exe());
  EXPECT_TRUE(EndsWithoutAsking(first, second));
  // Back at its normal size; the first instance does it after the second
  // has ended, and its style changes before its rectangle.
  RECT rect{};
  EXPECT_TRUE(WaitUntil([&] {
    ::GetWindowRect(window, &rect);
    return !Zoomed(window) && ::EqualRect(&rect, &kStoredRect);
  })) << rect.left
      << " " << rect.top << " " << rect.right << " " << rect.bottom;
  EXPECT_TRUE(Visible(window));
  EXPECT_FALSE(Iconic(window));
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(second.MainWindow(), nullptr);
}

TEST_F(SingleInstance, SecondStartRestoresAMinimisedWindow) {
  ProgramCopy program([](CAppData& data) { data.m_nWindowShowCmd = SW_SHOWMINIMIZED; });
  Instance first(program.Exe());
  HWND window = first.WaitUntilRunning(Iconic);
  ASSERT_TRUE(window);
  Instance second(program.Exe());
  EXPECT_TRUE(EndsWithoutAsking(first, second));
  EXPECT_TRUE(WaitUntil([&] { return !Iconic(window) && Visible(window); }));
}

TEST_F(SingleInstance, SecondStartShowsAHiddenUnprotectedWindowAtOnce) {
  ProgramCopy program(Hidden);
  Instance first(program.Exe());
  HWND window = first.WaitUntilRunning(PlacedHidden);
  ASSERT_TRUE(window);

  Instance second(program.Exe());
  EXPECT_TRUE(EndsWithoutAsking(first, second));
  EXPECT_TRUE(WaitUntil([&] { return Visible(window); }));
  EXPECT_FALSE(Zoomed(window));
}

// The running instance asks, from its own settings: a copy of the program
// in another folder, with no settings.dat beside it, is a second start like
// any other. It ends at once; the prompt is the first instance's.
TEST_F(SingleInstance, SecondStartAsksForAHiddenProtectedWindow) {
  ProgramCopy program(HiddenAndProtected);
  TempDir elsewhere;
  const std::string copy = elsewhere / "quillory.exe";
  ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), copy.c_str(), FALSE));
  Instance first(program.Exe());
  HWND window = first.WaitUntilRunning(PlacedHidden);
  ASSERT_TRUE(window);
  auto secondStart = [&](const std::string& exe) {
    Instance second(exe);
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_EQ(FindWindowOf(second.Id(), kPromptCaption, false), nullptr);
    return first.WaitForWindow(kPromptCaption);
  };

  // A wrong password keeps the prompt open; closing it then leaves the
  // window hidden.
  HWND prompt = secondStart(copy);
  ASSERT_TRUE(prompt);
  EXPECT_FALSE(FileExists(elsewhere / "settings.dat"));
  PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), "let me out");
  PostClick(prompt, IDOK);
  HWND box = first.WaitForWindow("Error");
  ASSERT_TRUE(box);
  EXPECT_EQ(ReadItemText(box, IDC_BOX_TEXT), "Wrong password.");
  ClickButton(box, IDOK);
  EXPECT_TRUE(WaitUntilClosed(box));
  EXPECT_TRUE(::IsWindow(prompt));
  PressCloseBox(prompt);
  EXPECT_TRUE(WaitUntilClosed(prompt));
  EXPECT_FALSE(Visible(window));
  // Esc likewise, from the program's own folder.
  prompt = secondStart(program.Exe());
  ASSERT_TRUE(prompt);
  PressEscape(prompt);
  EXPECT_TRUE(WaitUntilClosed(prompt));
  EXPECT_FALSE(Visible(window));
  // The right password shows it.
  prompt = secondStart(copy);
  ASSERT_TRUE(prompt);
  PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
  PostClick(prompt, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return Visible(window); }));
  EXPECT_TRUE(first.Running());
}

// The folder comes from the executable itself: a command line without the
// trailing blank and another current folder change nothing.
TEST_F(SingleInstance, SettingsLiveBesideTheExecutableWhateverTheCommandLine) {
  ProgramCopy program([](CAppData& data) { data.m_nWindowShowCmd = SW_SHOWMINIMIZED; });
  TempDir elsewhere;
  {
    Instance first(program.Exe(), "\"" + program.Exe() + "\"", elsewhere.Path().c_str());
    // Minimised: the stored settings were found.
    HWND window = first.WaitUntilRunning(Iconic);
    ASSERT_TRUE(window);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0), 0);
    EXPECT_TRUE(first.WaitForExit());
  }
  // The exit saved beside the program; the current folder got nothing.
  const std::string saved = program.Settings();
  ASSERT_EQ(saved.size(), settings_bytes::kSizeWithoutHash);
  EXPECT_EQ(
      settings_bytes::ReadInt(saved, settings_bytes::OffsetOf(settings_bytes::Field::kShowCommand)),
      SW_SHOWMINIMIZED);
  EXPECT_FALSE(FileExists(elsewhere / "settings.dat"));
}

// Any process can send the message that hands a window work from another
// thread: what it carries is a number, never run as a task.
TEST_F(SingleInstance, AForeignTaskMessageIsIgnored) {
  ProgramCopy program([](CAppData&) {});
  Instance first(program.Exe());
  HWND window = first.WaitUntilRunning(Visible);
  ASSERT_TRUE(window);
  const std::function<void()> task = [] {};
  for (LPARAM foreign : {reinterpret_cast<LPARAM>(&task), LPARAM{0x10}}) {
    ::PostMessageA(window, WM_RUN_TASK, 0, foreign);
    DWORD_PTR answer = 1;
    EXPECT_TRUE(::SendMessageTimeoutA(window, WM_RUN_TASK, 0, foreign, 0, 30000, &answer));
    EXPECT_EQ(answer, 0u);
  }
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0), 0);
  ASSERT_TRUE(first.WaitForExit());
  DWORD code = 1;
  EXPECT_TRUE(::GetExitCodeProcess(first.Handle(), &code) && code == 0);
}

TEST_F(SingleInstance, TwoStartsAtOnceLeaveExactlyOneInstance) {
  ProgramCopy program([](CAppData&) {});
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    auto a = std::make_unique<Instance>(program.Exe());
    auto b = std::make_unique<Instance>(program.Exe());
    HANDLE both[] = {a->Handle(), b->Handle()};
    const DWORD ended = ::WaitForMultipleObjects(2, both, FALSE, 60000);
    ASSERT_TRUE(ended == WAIT_OBJECT_0 || ended == WAIT_OBJECT_0 + 1);
    Instance& survivor = ended == WAIT_OBJECT_0 ? *b : *a;
    ASSERT_TRUE(survivor.WaitUntilRunning(Visible));
    EXPECT_TRUE(survivor.Running());
    // The survivor ends through its own Exit before the next round.
    a.reset();
    b.reset();
  }
}

}  // namespace
