#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "framework/dpi_win.h"
#include "framework/worker_messages.h"
#include "resources/resource.h"
#include "settings/app_data.h"
#include "shell/main_window_win.h"
#include "shell/tray_icon_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/main_window_ui_win.h"
#include "support/typing_ui_win.h"

namespace {

using Texts = std::vector<std::string>;

constexpr char kPromptCaption[] = "Enter password";
constexpr char kPassword[] = "open sesame";

void Protect(CAppData& data) {
  data.m_bPasswordProtection = 1;
  data.SetPassword(kPassword);
}

LRESULT Notify(CWindowMain& main, WPARAM iconId, LPARAM mouseMessage) {
  return main.Send(WM_TRAYNOTIFY, iconId, mouseMessage);
}

// Answers the prompt with the right password, or cancels it.
BoxAnswerer::Action RightPassword() {
  return [](HWND prompt) {
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
    PostClick(prompt, IDOK);
  };
}

// Picks the menu's entry `downs` steps from the top, as the keyboard does:
// the separators are skipped.
BoxAnswerer::Action Choose(int downs) {
  return [downs](HWND menu) {
    for (int i = 0; i < downs; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
  };
}

// For what must not happen: any prompt or menu that opens meanwhile is
// recorded and closed, so a wrong answer fails instead of hanging.
class Watcher {
 public:
  Watcher()
      : m_thread([this] {
          while (!m_bStop) {
            if (HWND prompt = FindOwnWindow(kPromptCaption)) {
              m_bSawPrompt = true;
              PressEscape(prompt);
            }
            if (HWND menu = FindOpenMenu()) {
              m_bSawMenu = true;
              ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
            }
            std::this_thread::sleep_for(5ms);
          }
          m_bDone = true;
        }) {}
  ~Watcher() { Stop(); }
  // Serves this thread's windows meanwhile: the watcher reads their captions,
  // which waits for this thread.
  void Stop() {
    m_bStop = true;
    PumpUntil([this] { return m_bDone.load(); });
    if (m_thread.joinable()) m_thread.join();
  }
  bool SawPrompt() const { return m_bSawPrompt; }
  bool SawMenu() const { return m_bSawMenu; }

 private:
  std::atomic<bool> m_bStop{false};
  std::atomic<bool> m_bDone{false};
  std::atomic<bool> m_bSawPrompt{false};
  std::atomic<bool> m_bSawMenu{false};
  std::thread m_thread;
};

// Whether the notification area holds the window's icon: changing an icon
// that is not there fails.
bool IconExists(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = owner;
  data.uID = ID_TRAYICON;
  data.uFlags = NIF_TIP;
  std::strcpy(data.szTip, "Quillory \n");
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// ---- what depends on the system

TEST(TrayIcon, IconByVersion) {
  struct Case {
    DWORD platform, major, minor;
    int icon;
  };
  const Case cases[] = {
      {VER_PLATFORM_WIN32_NT, 5, 1, IDI_TRAY},                // XP
      {VER_PLATFORM_WIN32_NT, 5, 2, IDI_TRAY},                // Server 2003
      {VER_PLATFORM_WIN32_NT, 6, 0, IDI_TRAY},                // Vista
      {VER_PLATFORM_WIN32_NT, 10, 0, IDI_TRAY},               // 10 and 11
      {VER_PLATFORM_WIN32_NT, 5, 0, IDI_TRAY_CLASSIC},        // 2000
      {VER_PLATFORM_WIN32_NT, 4, 0, IDI_TRAY_CLASSIC},        // NT 4
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, IDI_TRAY_CLASSIC},  // Me
      {VER_PLATFORM_WIN32_WINDOWS, 5, 1, IDI_TRAY_CLASSIC},   // not NT, whatever the number
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrayIconIdFor(c.platform, c.major, c.minor), c.icon)
        << c.platform << " " << c.major << "." << c.minor;
  }
}

TEST(TrayIcon, MenuAlignmentByVersion) {
  EXPECT_EQ(TrayMenuFlagsFor(4),
            static_cast<UINT>(TPM_LEFTBUTTON | TPM_RIGHTALIGN | TPM_BOTTOMALIGN));
  for (DWORD major : {5u, 6u, 10u}) {
    EXPECT_EQ(TrayMenuFlagsFor(major),
              static_cast<UINT>(TPM_LEFTBUTTON | TPM_LEFTALIGN | TPM_BOTTOMALIGN |
                                TPM_HORNEGANIMATION | TPM_VERNEGANIMATION));
  }
}

TEST(TrayIcon, TipIsTheTitleABlankAndALineFeed) {
  EXPECT_EQ(TrayTipFor("Quillory"), "Quillory \n");
}

TEST(TrayIcon, MainWindowTakesTheIconOfThisSystem) {
  MainWindowRun run;
  const OSVERSIONINFOEXA version = ReadSystemVersion();
  const int id =
      TrayIconIdFor(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
  // Shared icons: the same resource at the same size is the same handle. The
  // size is the small icons' of the window's DPI.
  const int size = fw::SmallIconSize(run.Main().m_nDpi);
  HICON expected = static_cast<HICON>(::LoadImageA(
      ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_SHARED));
  ASSERT_NE(expected, nullptr);
  EXPECT_EQ(run.Main().m_hTrayIcon, expected);
}

// ---- the icon's life

TEST(TrayIcon, AddedAtStartAndAddedAgainForANewTaskbar) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  EXPECT_TRUE(IconExists(run.Hwnd()));
  // The taskbar goes away with its icons ...
  main.RemoveTrayIcon();
  ASSERT_FALSE(IconExists(run.Hwnd()));
  // ... and tells every top-level window when it is back.
  main.Send(TaskbarCreatedMessage());
  EXPECT_TRUE(IconExists(run.Hwnd()));
  main.RemoveTrayIcon();
}

// ---- mouse messages

TEST(TrayIcon, OtherIconsAndMouseMovesDoNothing) {
  MainWindowRun run(Protect);
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  ASSERT_FALSE(main.IsVisible());
  Watcher watcher;
  for (LPARAM mouse : {WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    EXPECT_EQ(Notify(main, ID_TRAYICON + 1, mouse), 0);
    EXPECT_EQ(Notify(main, 0, mouse), 0);
  }
  for (LPARAM mouse :
       {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN}) {
    EXPECT_EQ(Notify(main, ID_TRAYICON, mouse), 0);
  }
  watcher.Stop();
  EXPECT_FALSE(watcher.SawPrompt());
  EXPECT_FALSE(watcher.SawMenu());
  EXPECT_FALSE(main.IsVisible());
}

TEST(TrayIcon, DoubleClickOnAHiddenProtectedWindowAsks) {
  MainWindowRun run([](CAppData& data) {
    Protect(data);
    data.m_nWindowShowCmd = SW_SHOWMAXIMIZED;
  });
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  ASSERT_FALSE(main.IsVisible());
  BoxAnswerer answerer(kPromptCaption, RightPassword());
  EXPECT_EQ(Notify(main, ID_TRAYICON, WM_LBUTTONDBLCLK), 0);
  EXPECT_TRUE(answerer.Answered());
  // With protection on, the stored state comes back: maximised.
  EXPECT_TRUE(main.IsVisible());
  EXPECT_TRUE(::IsZoomed(run.Hwnd()));
}

TEST(TrayIcon, RefusedPromptKeepsTheWindowHiddenAndAcceptedOneShowsItNormal) {
  MainWindowRun run(Protect);
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  for (auto cancel : {PressEscape, PressCloseBox}) {
    BoxAnswerer answerer(kPromptCaption, cancel);
    Notify(main, ID_TRAYICON, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(answerer.Answered());
    EXPECT_FALSE(main.IsVisible());
    EXPECT_EQ(g_AppData.m_nWindowShowCmd, 0);
  }
  // A stored 0 counts as normal once the password is right.
  BoxAnswerer answerer(kPromptCaption, RightPassword());
  Notify(main, ID_TRAYICON, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_TRUE(main.IsVisible());
  EXPECT_FALSE(::IsZoomed(run.Hwnd()));
  EXPECT_EQ(g_AppData.m_nWindowShowCmd, SW_SHOWNORMAL);
}

// A second start while the prompt asks brings the prompt forward, never the
// hidden window, which would take the keys typed for the password.
TEST(TrayIcon, ASecondStartWhileThePromptAsksBringsThePromptForward) {
  MainWindowRun run(Protect);
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  // Where the user went meanwhile.
  HWND elsewhere = ::CreateWindowExA(0, "STATIC", "Elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                     0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  std::vector<HWND> fronts;  // after each second start, and the prompt itself
  for (const bool promptOpen : {true, false}) {
    BoxAnswerer answerer(kPromptCaption, [&](HWND box) {
      ::SetForegroundWindow(elsewhere);  // the window's own thread makes it so
      WaitUntil([&] { return ::GetForegroundWindow() == elsewhere; });
      if (promptOpen) ::SendMessageA(run.Hwnd(), WM_SECONDSTART, 0, 0);
      fronts.insert(fronts.end(), {::GetForegroundWindow(), box});
      PressCloseBox(box);  // Esc would go where the focus is
    });
    if (promptOpen) Notify(main, ID_TRAYICON, WM_LBUTTONDBLCLK);
    if (!promptOpen) main.Send(WM_SECONDSTART);  // cancelled: stays behind
    ASSERT_TRUE(answerer.Answered());
  }
  EXPECT_EQ(fronts[0], fronts[1]);
  EXPECT_NE(::GetForegroundWindow(), run.Hwnd());
  EXPECT_FALSE(main.IsVisible());
  ::DestroyWindow(elsewhere);
}

TEST(TrayIcon, HiddenUnprotectedDoubleClickShowsNormalAtOnce) {
  MainWindowRun run([](CAppData& data) { data.m_nWindowShowCmd = SW_SHOWMAXIMIZED; });
  CWindowMain& main = run.Main();
  ASSERT_TRUE(::IsZoomed(run.Hwnd()));
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  ASSERT_FALSE(main.IsVisible());
  Watcher watcher;
  Notify(main, ID_TRAYICON, WM_LBUTTONDBLCLK);
  watcher.Stop();
  EXPECT_FALSE(watcher.SawPrompt());
  EXPECT_TRUE(main.IsVisible());
  EXPECT_FALSE(::IsZoomed(run.Hwnd()));
}

// ---- the menu

TEST(TrayIcon, LeftAndRightClickOpenTheMenuAndOpenShowsTheWindow) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  for (LPARAM click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    main.Send(WM_SYSCOMMAND, SC_CLOSE);
    ASSERT_FALSE(main.IsVisible());
    MenuAnswerer answerer(Choose(1));  // "Open"
    Notify(main, ID_TRAYICON, click);
    ASSERT_TRUE(answerer.Answered());
    // The choice comes as an ordinary command.
    EXPECT_TRUE(PumpUntil([&] { return main.IsVisible(); }));
    EXPECT_EQ(main.m_pTrayMenu, ::GetSubMenu(main.m_menuTray.Get(), 0));
  }
}

TEST(TrayIcon, MenuLeftWithoutAChoiceChangesNothing) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  MenuAnswerer answerer([](HWND menu) { ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1); });
  Notify(main, ID_TRAYICON, WM_RBUTTONDOWN);
  ASSERT_TRUE(answerer.Answered());
  DrainMessages();
  EXPECT_FALSE(main.IsVisible());
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
}

TEST(TrayIcon, MenuHelpWhileHiddenAndProtectedWithCancelStillSwitchesToHelp) {
  MainWindowRun run(Protect);
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  ASSERT_FALSE(main.IsVisible());
  BoxAnswerer prompt(kPromptCaption, PressEscape);
  MenuAnswerer menu(Choose(2));  // "Help"
  Notify(main, ID_TRAYICON, WM_LBUTTONDOWN);
  ASSERT_TRUE(menu.Answered());
  EXPECT_TRUE(PumpUntil([&] { return main.m_nCurrentPage == PAGE_HELP; }));
  EXPECT_TRUE(prompt.Answered());
  EXPECT_FALSE(main.IsVisible());
  EXPECT_TRUE(run.IsChecked(ID_BUTTON_HELP));
  EXPECT_EQ(run.TreeTexts(), Texts{"Help"});
}

TEST(TrayIcon, MenuExitEndsTheProgram) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  HWND hwnd = run.Hwnd();
  MenuAnswerer answerer(Choose(3));  // "Exit"
  Notify(main, ID_TRAYICON, WM_RBUTTONDOWN);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); }));
  EXPECT_EQ(run.SettingsBytes().size(), settings_bytes::kSizeWithoutHash);
}

// ---- ShowMainWindow's choice of state

TEST(TrayIcon, OpenOnAVisibleMaximisedWindowUsesTheStoredNormalState) {
  MainWindowRun run;  // stored: shown normal
  CWindowMain& main = run.Main();
  main.Show(SW_MAXIMIZE);
  ASSERT_TRUE(::IsZoomed(run.Hwnd()));
  main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_OPEN, 0));
  EXPECT_TRUE(main.IsVisible());
  EXPECT_FALSE(::IsZoomed(run.Hwnd()));
}

TEST(TrayIcon, OpenRestoresAMinimisedWindow) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.Show(SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(run.Hwnd()));
  main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_OPEN, 0));
  EXPECT_FALSE(::IsIconic(run.Hwnd()));
  EXPECT_TRUE(main.IsVisible());
}

TEST(TrayIcon, OpenKeepsAMinimisedProtectedWindowMinimisedWhenThatWasStored) {
  MainWindowRun run([](CAppData& data) {
    Protect(data);
    data.m_nWindowShowCmd = SW_SHOWMINIMIZED;
  });
  CWindowMain& main = run.Main();
  ASSERT_TRUE(::IsIconic(run.Hwnd()));
  Watcher watcher;  // visible, so no password
  main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_OPEN, 0));
  watcher.Stop();
  EXPECT_FALSE(watcher.SawPrompt());
  EXPECT_TRUE(::IsIconic(run.Hwnd()));
}

TEST(TrayIcon, OpenNeverHidesOrMinimisesAShownWindow) {
  {
    // Started hidden (0 stored) and shown by a double-click; then "Open".
    MainWindowRun run([](CAppData& data) { data.m_nWindowShowCmd = SW_HIDE; });
    ASSERT_FALSE(run.Main().IsVisible());
    Notify(run.Main(), ID_TRAYICON, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(run.Main().IsVisible());
    run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_MENU_OPEN, 0));
    EXPECT_TRUE(run.Main().IsVisible());
    // The next start is still a hidden one, unless the exit finds it shown.
    EXPECT_EQ(g_AppData.m_nWindowShowCmd, SW_HIDE);
  }
  // Started minimised and restored by the user; then "Open".
  MainWindowRun run([](CAppData& data) { data.m_nWindowShowCmd = SW_SHOWMINIMIZED; });
  run.Main().Show(SW_RESTORE);
  ASSERT_FALSE(::IsIconic(run.Hwnd()));
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_MENU_OPEN, 0));
  EXPECT_TRUE(run.Main().IsVisible());
  EXPECT_FALSE(::IsIconic(run.Hwnd()));
}

TEST(TrayIcon, AcceptedPasswordNeverShowsTheHiddenWindowMinimised) {
  MainWindowRun run([](CAppData& data) {
    Protect(data);
    data.m_nWindowShowCmd = SW_SHOWMINIMIZED;
  });
  CWindowMain& main = run.Main();
  main.Show(SW_RESTORE);
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  ASSERT_FALSE(main.IsVisible());
  BoxAnswerer prompt(kPromptCaption, RightPassword());
  Notify(main, ID_TRAYICON, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(prompt.Answered());
  EXPECT_TRUE(main.IsVisible());
  EXPECT_FALSE(::IsIconic(run.Hwnd()));
}

}  // namespace
