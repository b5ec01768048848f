#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "framework/dpi_win.h"
#include "settings/app_data.h"
#include "settings/settings_page_win.h"
#include "shell/main_layout.h"
#include "shell/main_window_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/box_series_ui_win.h"
#include "support/main_window_ui_win.h"

namespace {

using Texts = std::vector<std::string>;

int Width(const RECT& rect) { return rect.right - rect.left; }

// The page window the main window keeps under this id.
const fw::CDialog& Page(MainWindowRun& run, int32_t pageId) {
  return *run.Main().m_mapPages.at(pageId).pWnd;
}

int Height(const RECT& rect) { return rect.bottom - rect.top; }

// What the system would let the window shrink to.
TrackSize AskMinTrackSize(HWND hwnd) {
  MINMAXINFO info{};
  ::SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

// What the frame and caption take; none on a display without a window manager.
TrackSize FrameOf(HWND hwnd) {
  RECT window{};
  RECT client{};
  ::GetWindowRect(hwnd, &window);
  ::GetClientRect(hwnd, &client);
  return {Width(window) - client.right, Height(window) - client.bottom};
}

// The room a page's template takes in the font this system gives it, which
// can be more than the page's own minimum where that font is wider than
// Windows' Tahoma.
SIZE TemplatePixels(const fw::CDialog& page) {
  RECT size{};
  switch (page.GetTemplateId()) {
    case IDD_SETTINGS: size = {0, 0, 326, 107}; break;
    case IDD_HELPABOUT: size = {0, 0, 301, 131}; break;
    case IDD_WIPERENTRIES: size = {0, 0, 357, 348}; break;
    default: break;
  }
  ::MapDialogRect(page.m_hWnd, &size);
  return {size.right, size.bottom};
}

// The least room for the page: its own numbers, or its template's.
// The page's own figures are drawn for 96 DPI.
SIZE PageMinimum(MainWindowRun& run, int32_t pageId, int ownWidth, int ownHeight) {
  const SIZE real = TemplatePixels(Page(run, pageId));
  const int dpi = run.Main().m_nDpi;
  return {std::max<LONG>(ScaleForDpi(ownWidth, dpi), real.cx),
          std::max<LONG>(ScaleForDpi(ownHeight, dpi), real.cy)};
}

TrackSize ExpectedMinTrackSize(MainWindowRun& run, const SIZE& page) {
  return MinTrackSize(page.cx, page.cy, Width(run.Main().m_wndLeftPanel.GetWindowRect()),
                      run.ToolbarHeight(), FrameOf(run.Hwnd()), run.Main().m_nDpi);
}

TEST(MainWindow, FirstStartWithDefaultSettings) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  EXPECT_EQ(g_pMainWnd, &main);
  EXPECT_STREQ(g_strTitle, "Quillory");
  EXPECT_EQ(main.GetText(), "Quillory");
  char className[32] = {};
  ::GetClassNameA(run.Hwnd(), className, sizeof className);
  EXPECT_STREQ(className, "Quillory");

  EXPECT_TRUE(main.IsVisible());
  RECT window = main.GetWindowRect();
  EXPECT_EQ(window.left, 20);
  EXPECT_EQ(window.top, 20);
  EXPECT_EQ(Width(window), 650);
  EXPECT_EQ(Height(window), 450);

  EXPECT_TRUE(run.IsChecked(ID_BUTTON_TOOLS));
  EXPECT_FALSE(run.IsChecked(ID_BUTTON_HELP));
  EXPECT_EQ(run.TreeTexts(), (Texts{"Settings", "Delete Files"}));
  EXPECT_EQ(run.SelectedTreeText(), "Settings");
  EXPECT_EQ(main.m_nCurrentPage, PAGE_SETTINGS);
  EXPECT_TRUE(Page(run, PAGE_SETTINGS).IsVisible());
  EXPECT_FALSE(Page(run, PAGE_DELETE_FILES).IsVisible());
  EXPECT_FALSE(Page(run, PAGE_HELP).IsVisible());
  // 480 by 350, or what the page's template takes in this system's font.
  const SIZE least = PageMinimum(run, PAGE_SETTINGS, 480, 350);
  EXPECT_EQ(main.m_nMinPageWidth, least.cx);
  EXPECT_EQ(main.m_nMinPageHeight, least.cy);
  EXPECT_EQ(main.m_mapPages.size(), 3u);
  EXPECT_EQ(main.m_mapPages.at(PAGE_HELP).pWnd, &main.m_wndHelpPage);
  EXPECT_EQ(main.m_mapPages.at(PAGE_SETTINGS).pWnd, &g_SettingsPage);
  EXPECT_EQ(Page(run, PAGE_HELP).GetTemplateId(), 130u);
  EXPECT_EQ(Page(run, PAGE_SETTINGS).GetTemplateId(), 107u);
  EXPECT_EQ(Page(run, PAGE_DELETE_FILES).GetTemplateId(), 143u);
  // Pages are children of the host.
  EXPECT_EQ(::GetParent(Page(run, PAGE_DELETE_FILES).m_hWnd), main.m_wndRightPanel.m_hWnd);
  // The panel, a dialog window, hands the focus on to its tree.
  EXPECT_EQ(::GetFocus(), main.m_wndLeftPanel.m_wndTree.m_hWnd);
}

TEST(MainWindow, PanesFillTheAreaBelowTheToolbar) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  const int cx = run.ClientWidth();
  const RECT client = main.GetClientRect();
  const RECT toolbar = run.InClient(main.m_wndToolBar.m_hWnd);
  EXPECT_EQ(toolbar.left, 0);
  EXPECT_EQ(toolbar.top, 0);
  EXPECT_EQ(toolbar.right, cx);
  EXPECT_GT(Height(toolbar), 0);

  const MainPanes expected =
      LayOutPanes({0, toolbar.bottom, cx, client.bottom}, 140, cx, main.m_nDpi);
  auto asLayout = [](const RECT& r) { return LayoutRect{r.left, r.top, r.right, r.bottom}; };
  EXPECT_EQ(asLayout(run.InClient(main.m_wndLeftPanel.m_hWnd)), expected.panel);
  EXPECT_EQ(asLayout(run.InClient(main.m_wndSplitter.m_hWnd)), expected.splitter);
  EXPECT_EQ(asLayout(run.InClient(main.m_wndRightPanel.m_hWnd)), expected.host);
  EXPECT_EQ(Width(main.m_wndLeftPanel.GetWindowRect()), 140);
  // The tree fills its panel, the shown page its host.
  EXPECT_EQ(Width(main.m_wndLeftPanel.m_wndTree.GetWindowRect()), 140);
  const RECT host = main.m_wndRightPanel.GetClientRect();
  const RECT page = Page(run, PAGE_SETTINGS).GetWindowRect();
  EXPECT_EQ(Width(page), host.right);
  EXPECT_EQ(Height(page), host.bottom);
}

TEST(MainWindow, LayoutFollowsEverySizeChange) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  ::SetWindowPos(run.Hwnd(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  const int cx = run.ClientWidth();
  EXPECT_EQ(run.InClient(main.m_wndToolBar.m_hWnd).right, cx);
  EXPECT_EQ(run.InClient(main.m_wndRightPanel.m_hWnd).right, cx);
  EXPECT_EQ(run.InClient(main.m_wndLeftPanel.m_hWnd).bottom, main.GetClientRect().bottom);
  EXPECT_EQ(run.InClient(main.m_wndSplitter.m_hWnd).left, 140);  // the bar keeps its place
  EXPECT_EQ(main.m_wndSplitter.m_nMax, std::max(5, cx - main.m_nMinPageWidth - 3));
}

TEST(MainWindow, ToolbarButtonsAndStrings) {
  MainWindowRun run;
  const fw::CWnd& toolbar = run.Main().m_wndToolBar;
  EXPECT_EQ(toolbar.Send(TB_BUTTONCOUNT), 4);
  struct Button {
    int id;
    const char* text;
  };
  for (Button button : {Button{ID_BUTTON_TOOLS, "Tools"}, Button{ID_BUTTON_HELP, "Help"},
                        Button{ID_BUTTON_EXIT, "Exit"}}) {
    char text[32] = {};
    toolbar.Send(TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.id), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, button.text);
    EXPECT_NE(toolbar.Send(TB_ISBUTTONENABLED, static_cast<WPARAM>(button.id)), 0) << button.text;
  }
  // The gap: no text, not enabled.
  EXPECT_EQ(toolbar.Send(TB_ISBUTTONENABLED, ID_BUTTON_SPACER), 0);
  EXPECT_NE(toolbar.Send(TB_ISBUTTONINDETERMINATE, ID_BUTTON_SPACER), 0);
  char spacer[32] = "x";
  EXPECT_LE(toolbar.Send(TB_GETBUTTONTEXTA, ID_BUTTON_SPACER, reinterpret_cast<LPARAM>(spacer)), 0);
  // String 2 is added though no button shows it.
  char separator[32] = {};
  toolbar.Send(TB_GETSTRINGA, MAKEWPARAM(sizeof separator, 2), reinterpret_cast<LPARAM>(separator));
  EXPECT_STREQ(separator, "Separator");
  // The empty image list's 50 by 5 cell sets every button's least width.
  int width = 0;
  int height = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(run.Main().m_imlToolBar.Get(), &width, &height));
  EXPECT_EQ(width, 50);
  EXPECT_EQ(height, 5);
  EXPECT_EQ(::ImageList_GetImageCount(run.Main().m_imlToolBar.Get()), 0);
  RECT exitButton{};
  toolbar.Send(TB_GETRECT, ID_BUTTON_EXIT, reinterpret_cast<LPARAM>(&exitButton));
  EXPECT_GE(Width(exitButton), 50);
}

TEST(MainWindow, ToolbarDrawsAnEtchedLineAtItsBottom) {
  MainWindowRun run;
  const fw::CWnd& toolbar = run.Main().m_wndToolBar;
  ::RedrawWindow(toolbar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const RECT client = toolbar.GetClientRect();
  HDC dc = ::GetDC(toolbar.m_hWnd);
  // Far right, where no button stands.
  const int x = client.right - 3;
  const COLORREF shadow = ::GetPixel(dc, x, client.bottom - 4);
  const COLORREF light = ::GetPixel(dc, x, client.bottom - 3);
  ::ReleaseDC(toolbar.m_hWnd, dc);
  EXPECT_EQ(shadow, ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(light, ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(MainWindow, DeleteFilesWidensTheWindowToItsMinimum) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  ASSERT_TRUE(run.SelectTreeEntry("Delete Files"));
  EXPECT_EQ(run.SelectedTreeText(), "Delete Files");
  EXPECT_EQ(main.m_nCurrentPage, PAGE_DELETE_FILES);
  EXPECT_TRUE(Page(run, PAGE_DELETE_FILES).IsVisible());
  EXPECT_FALSE(Page(run, PAGE_SETTINGS).IsVisible());
  // With Windows' own font and frame 530 + 140 + 12 = 682 wide at once; here
  // as wide as this system's font and frame need.
  const SIZE page = PageMinimum(run, PAGE_DELETE_FILES, 530, 520);
  const TrackSize least = ExpectedMinTrackSize(run, page);
  RECT window = main.GetWindowRect();
  EXPECT_GE(least.width, 682);
  EXPECT_EQ(Width(window), least.width);
  EXPECT_EQ(Height(window), least.height);
  EXPECT_EQ(window.left, 20);
  EXPECT_EQ(window.top, 20);
  // The new minimum also bounds the splitter and fits the page to the host.
  EXPECT_EQ(main.m_wndSplitter.m_nMax,
            std::max(5, run.ClientWidth() - static_cast<int>(page.cx) - 3));
  EXPECT_EQ(Width(Page(run, PAGE_DELETE_FILES).GetWindowRect()),
            main.m_wndRightPanel.GetClientRect().right);
}

TEST(MainWindow, MinimumTrackingSizeFollowsThePage) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  EXPECT_EQ(AskMinTrackSize(run.Hwnd()),
            ExpectedMinTrackSize(run, PageMinimum(run, PAGE_SETTINGS, 480, 350)));

  run.SelectTreeEntry("Delete Files");
  EXPECT_EQ(AskMinTrackSize(run.Hwnd()),
            ExpectedMinTrackSize(run, PageMinimum(run, PAGE_DELETE_FILES, 530, 520)));

  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_HELP, BN_CLICKED));
  const TrackSize least = ExpectedMinTrackSize(run, PageMinimum(run, PAGE_HELP, 480, 450));
  EXPECT_EQ(AskMinTrackSize(run.Hwnd()), least);

  // The system holds to it: the window cannot be made smaller.
  ::SetWindowPos(run.Hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  RECT window = main.GetWindowRect();
  EXPECT_EQ(Width(window), least.width);
  EXPECT_EQ(Height(window), least.height);
}

TEST(MainWindow, NoPageIsCutOffInTheSmallestWindow) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  struct Shown {
    int32_t pageId;
    int ownWidth;
    int ownHeight;
  };
  for (const Shown shown : {Shown{PAGE_SETTINGS, 480, 350}, Shown{PAGE_DELETE_FILES, 530, 520},
                            Shown{PAGE_HELP, 480, 450}}) {
    if (shown.pageId == PAGE_DELETE_FILES) {
      ASSERT_TRUE(run.SelectTreeEntry("Delete Files"));
    }
    if (shown.pageId == PAGE_HELP) main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_HELP, BN_CLICKED));
    ASSERT_EQ(main.m_nCurrentPage, shown.pageId);
    ::SetWindowPos(run.Hwnd(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);

    const fw::CDialog& page = Page(run, shown.pageId);
    const SIZE least = PageMinimum(run, shown.pageId, shown.ownWidth, shown.ownHeight);
    const RECT host = main.m_wndRightPanel.GetClientRect();
    EXPECT_GE(host.right, least.cx) << shown.pageId;
    EXPECT_GE(host.bottom, least.cy) << shown.pageId;
    // Every control of the page lies inside it, the ones the page moves too.
    const RECT inside = page.GetClientRect();
    for (HWND child = ::GetWindow(page.m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      RECT rect{};
      ::GetWindowRect(child, &rect);
      ::MapWindowPoints(nullptr, page.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
      EXPECT_LE(rect.right, inside.right) << shown.pageId << " control " << ::GetDlgCtrlID(child);
      EXPECT_LE(rect.bottom, inside.bottom) << shown.pageId << " control " << ::GetDlgCtrlID(child);
      EXPECT_GE(rect.left, 0);
      EXPECT_GE(rect.top, 0);
    }
  }
}

TEST(MainWindow, HelpShowsOnlyHelpAndToolsBringsBackBothEntries) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  run.SelectTreeEntry("Delete Files");

  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_HELP, BN_CLICKED));
  EXPECT_EQ(run.TreeTexts(), Texts{"Help"});
  EXPECT_EQ(run.SelectedTreeText(), "Help");
  EXPECT_EQ(main.m_wndLeftPanel.m_nPageSet, 1);
  EXPECT_EQ(main.m_nCurrentPage, PAGE_HELP);
  EXPECT_TRUE(Page(run, PAGE_HELP).IsVisible());
  EXPECT_FALSE(Page(run, PAGE_DELETE_FILES).IsVisible());
  EXPECT_TRUE(run.IsChecked(ID_BUTTON_HELP));
  EXPECT_FALSE(run.IsChecked(ID_BUTTON_TOOLS));

  // Back to the first set: "Settings", though "Delete Files" was shown last.
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_TOOLS, BN_CLICKED));
  EXPECT_EQ(run.TreeTexts(), (Texts{"Settings", "Delete Files"}));
  EXPECT_EQ(run.SelectedTreeText(), "Settings");
  EXPECT_EQ(main.m_wndLeftPanel.m_nPageSet, 0);
  EXPECT_EQ(main.m_nCurrentPage, PAGE_SETTINGS);
  EXPECT_TRUE(Page(run, PAGE_SETTINGS).IsVisible());
  EXPECT_FALSE(Page(run, PAGE_HELP).IsVisible());
  EXPECT_TRUE(run.IsChecked(ID_BUTTON_TOOLS));
  EXPECT_FALSE(run.IsChecked(ID_BUTTON_HELP));
}

TEST(MainWindow, TrayMenuHelpShowsTheHiddenWindowOnTheHelpPage) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  ASSERT_FALSE(main.IsVisible());
  main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_HELP, 0));
  EXPECT_TRUE(main.IsVisible());
  EXPECT_EQ(run.TreeTexts(), Texts{"Help"});
  EXPECT_EQ(run.SelectedTreeText(), "Help");
  EXPECT_TRUE(Page(run, PAGE_HELP).IsVisible());
  EXPECT_TRUE(run.IsChecked(ID_BUTTON_HELP));
}

TEST(MainWindow, TreeAsksInEitherCharacterForm) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  for (UINT code : {static_cast<UINT>(TVN_SELCHANGINGW), static_cast<UINT>(TVN_SELCHANGINGA)}) {
    const int32_t page = code == TVN_SELCHANGINGW ? PAGE_DELETE_FILES : PAGE_SETTINGS;
    NMTREEVIEWA change{};
    change.hdr = {main.m_wndLeftPanel.m_wndTree.m_hWnd, IDC_NAVTREE, code};
    change.itemNew.lParam = page;
    EXPECT_EQ(main.m_wndLeftPanel.Send(WM_NOTIFY, IDC_NAVTREE, reinterpret_cast<LPARAM>(&change)),
              0);
    EXPECT_EQ(main.m_nCurrentPage, page);
    EXPECT_EQ(main.m_nRequestedPage, page);
  }
  // No item (the selected one deleted): refused at once.
  NMTREEVIEWA none{};
  none.hdr = {main.m_wndLeftPanel.m_wndTree.m_hWnd, IDC_NAVTREE,
              static_cast<UINT>(TVN_SELCHANGINGA)};
  EXPECT_EQ(main.m_wndLeftPanel.Send(WM_NOTIFY, IDC_NAVTREE, reinterpret_cast<LPARAM>(&none)), 1);
  EXPECT_EQ(main.m_nCurrentPage, PAGE_SETTINGS);
}

TEST(MainWindow, AnUnknownPageHidesTheShownOneAndKeepsTheMinimum) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  EXPECT_EQ(main.Send(WM_SHOWPAGE, 777), 0);
  EXPECT_EQ(main.m_nCurrentPage, 777);
  EXPECT_FALSE(Page(run, PAGE_SETTINGS).IsVisible());
  const SIZE least = PageMinimum(run, PAGE_SETTINGS, 480, 350);
  EXPECT_EQ(main.m_nMinPageWidth, least.cx);
  EXPECT_EQ(main.m_nMinPageHeight, least.cy);
}

TEST(MainWindow, SelectPageOfTheOtherSetDoesNothing) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.m_wndLeftPanel.SelectPage(PAGE_HELP);
  EXPECT_EQ(run.SelectedTreeText(), "Settings");
  main.m_wndLeftPanel.SelectPage(PAGE_DELETE_FILES);
  EXPECT_EQ(run.SelectedTreeText(), "Delete Files");
  EXPECT_EQ(main.m_nCurrentPage, PAGE_DELETE_FILES);
}

TEST(MainWindow, UnappliedSettingsAnsweredNoKeepTheSettingsPage) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  g_SettingsPage.m_bChanged = 1;
  BoxAnswerer no("Warning", [](HWND box) { ClickButton(box, IDCANCEL); });
  EXPECT_FALSE(run.SelectTreeEntry("Delete Files"));
  EXPECT_TRUE(no.Answered());
  EXPECT_EQ(run.SelectedTreeText(), "Settings");
  EXPECT_EQ(main.m_nCurrentPage, PAGE_SETTINGS);
  EXPECT_EQ(main.m_nRequestedPage, PAGE_DELETE_FILES);
  EXPECT_EQ(g_SettingsPage.m_bChanged, 1);

  // The toolbar's Help is held back the same way.
  BoxAnswerer noAgain("Warning", [](HWND box) { ClickButton(box, IDCANCEL); });
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_HELP, BN_CLICKED));
  EXPECT_TRUE(noAgain.Answered());
  EXPECT_EQ(run.TreeTexts(), (Texts{"Settings", "Delete Files"}));
  EXPECT_TRUE(run.IsChecked(ID_BUTTON_TOOLS));

  BoxAnswerer yes("Warning", [](HWND box) { ClickButton(box, IDOK); });
  EXPECT_TRUE(run.SelectTreeEntry("Delete Files"));
  EXPECT_TRUE(yes.Answered());
  EXPECT_EQ(main.m_nCurrentPage, PAGE_DELETE_FILES);
  EXPECT_EQ(g_SettingsPage.m_bChanged, 0);  // reset
}

TEST(MainWindow, CloseHides) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  EXPECT_FALSE(main.IsVisible());
  // The dialog manager turns the close into a posted Cancel, which is ignored.
  DrainMessages();
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
  // Esc likewise.
  main.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_TRUE(::IsWindow(run.Hwnd()));

  main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_OPEN, 0));
  EXPECT_TRUE(main.IsVisible());
}

TEST(MainWindow, CloseWithUnappliedSettingsAsksFirst) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  g_SettingsPage.m_bChanged = 1;
  {
    BoxAnswerer no("Warning", [](HWND box) { ClickButton(box, IDCANCEL); });
    main.Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(no.Answered());
  }
  EXPECT_TRUE(main.IsVisible());
  {
    BoxAnswerer yes("Warning", [](HWND box) { ClickButton(box, IDOK); });
    main.Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(yes.Answered());
  }
  EXPECT_FALSE(main.IsVisible());
  EXPECT_EQ(g_SettingsPage.m_bChanged, 0);
}

TEST(MainWindow, ShownLaterFromAHiddenStartIsLaidOut) {
  MainWindowRun run([](CAppData& data) { data.m_nWindowShowCmd = 0; });
  CWindowMain& main = run.Main();
  EXPECT_FALSE(main.IsVisible());
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
  main.ShowMainWindow();
  ASSERT_TRUE(main.IsVisible());
  EXPECT_EQ(Width(main.m_wndLeftPanel.GetWindowRect()), 140);
  EXPECT_EQ(run.InClient(main.m_wndRightPanel.m_hWnd).right, run.ClientWidth());
}

TEST(MainWindow, SizeChangeWhileHiddenIsLaidOutWhenShownAgain) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  // As when "Help" from the notification menu switches pages behind a
  // cancelled password: the window grows while nobody sees it.
  ::SetWindowPos(run.Hwnd(), nullptr, 0, 0, 760, 600, SWP_NOMOVE | SWP_NOZORDER);
  main.ShowMainWindow();
  ASSERT_TRUE(main.IsVisible());
  EXPECT_EQ(run.InClient(main.m_wndRightPanel.m_hWnd).right, run.ClientWidth());
  EXPECT_EQ(run.InClient(main.m_wndLeftPanel.m_hWnd).bottom, main.GetClientRect().bottom);
}

// ---- the splitter in the main window

// A drag of the bar by the mouse, in the bar's client coordinates.
void DragBar(const CSplitterBar& bar, int toParentX) {
  const RECT inParent = [&] {
    RECT rect = bar.GetWindowRect();
    ::MapWindowPoints(nullptr, ::GetParent(bar.m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }();
  const int x = toParentX - inParent.left;
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), 10));
  bar.Send(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), 10));
}

int BarCentreInClient(MainWindowRun& run) {
  RECT bar = run.InClient(run.Main().m_wndSplitter.m_hWnd);
  return BarCentre(bar.left, bar.right);
}

TEST(MainWindow, SplitterStopsAtTheStartingPanelWidthOnTheLeft) {
  // Wide enough for the page beside a 200-pixel panel.
  MainWindowRun run([](CAppData& data) {
    data.m_nSplitterPos = 200;
    data.m_nWindowWidth = 800;
  });
  CWindowMain& main = run.Main();
  ASSERT_EQ(Width(main.m_wndLeftPanel.GetWindowRect()), 200);
  const int start = BarCentreInClient(run);
  DragBar(main.m_wndSplitter, 20);
  // The tracker stopped at 200 and the panel lost exactly the distance to it.
  EXPECT_EQ(BarCentreInClient(run), 200);
  EXPECT_EQ(Width(main.m_wndLeftPanel.GetWindowRect()), 200 + (200 - start));
  EXPECT_EQ(run.InClient(main.m_wndRightPanel.m_hWnd).left,
            run.InClient(main.m_wndSplitter.m_hWnd).right);
}

TEST(MainWindow, AStoredWindowTooNarrowForPanelAndPageGrowsToHoldBoth) {
  // 200 + 480 (or more) + 3 is more than a 650-pixel window holds: the window
  // starts at its minimum instead, so the bar's range is not inverted (where
  // it would be, the upper limit wins: MainLayout tests). The bar still
  // cannot go left of where it started.
  MainWindowRun run([](CAppData& data) { data.m_nSplitterPos = 200; });
  CWindowMain& main = run.Main();
  EXPECT_EQ(Width(main.GetWindowRect()), AskMinTrackSize(run.Hwnd()).width);
  const int limit = std::max(5, run.ClientWidth() - main.m_nMinPageWidth - 3);
  ASSERT_GE(limit, 200);
  DragBar(main.m_wndSplitter, 20);
  EXPECT_EQ(BarCentreInClient(run), 200);
  DragBar(main.m_wndSplitter, 600);
  EXPECT_EQ(BarCentreInClient(run), limit);
}

// A panel stored wider than the monitor leaves the pages (settings.dat made
// by hand) pushed the page out of the window, and was saved so again.
TEST(MainWindow, AStoredSplitterTooWideForTheMonitorIsHeldAndSavedSo) {
  MainWindowRun run([](CAppData& data) { data.m_nSplitterPos = 5000; });
  CWindowMain& main = run.Main();
  const int bar = run.InClient(main.m_wndSplitter.m_hWnd).left;
  EXPECT_LT(bar, 5000);
  for (const char* entry : {"Settings", "Delete Files"}) {  // the widest page last
    ASSERT_TRUE(run.SelectTreeEntry(entry));
    EXPECT_GE(main.m_wndRightPanel.GetClientRect().right, main.m_nMinPageWidth) << entry;
  }
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_EQ(run.Saved(SavedField::kSplitterPos), bar);
}

TEST(MainWindow, SplitterStopsWhereThePageKeepsItsMinimumOnTheRight) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  const int start = BarCentreInClient(run);
  const int limit = std::max(5, run.ClientWidth() - main.m_nMinPageWidth - 3);
  DragBar(main.m_wndSplitter, run.ClientWidth() + 200);
  EXPECT_EQ(BarCentreInClient(run), limit);
  EXPECT_EQ(Width(main.m_wndLeftPanel.GetWindowRect()), 140 + (limit - start));
  // The page still fills the host.
  EXPECT_EQ(Width(Page(run, PAGE_SETTINGS).GetWindowRect()),
            main.m_wndRightPanel.GetClientRect().right);
}

TEST(MainWindow, SplitterDragThatEndsWhereItBeganChangesNothing) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  DragBar(main.m_wndSplitter, 160);  // somewhere in range first
  const RECT panel = run.InClient(main.m_wndLeftPanel.m_hWnd);
  const RECT bar = run.InClient(main.m_wndSplitter.m_hWnd);
  main.m_wndSplitter.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  main.m_wndSplitter.Send(WM_LBUTTONUP, 0, MAKELPARAM(1, 10));
  EXPECT_EQ(run.InClient(main.m_wndLeftPanel.m_hWnd).right, panel.right);
  EXPECT_EQ(run.InClient(main.m_wndSplitter.m_hWnd).left, bar.left);
}

// ---- exit

TEST(MainWindow, ExitSavesThePlacementAndDestroysTheWindow) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  ::SetWindowPos(run.Hwnd(), nullptr, 40, 30, 700, 560, SWP_NOZORDER);
  DragBar(main.m_wndSplitter, 190);
  const int splitterLeft = run.InClient(main.m_wndSplitter.m_hWnd).left;
  ASSERT_NE(splitterLeft, 140);

  const HWND hwnd = run.Hwnd();
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(main.m_hWnd, nullptr);
  EXPECT_TRUE(main.m_mapPages.empty());

  EXPECT_EQ(run.SettingsBytes().size(), settings_bytes::kSizeWithoutHash);
  EXPECT_EQ(run.Saved(SavedField::kLeft), 40);
  EXPECT_EQ(run.Saved(SavedField::kTop), 30);
  EXPECT_EQ(run.Saved(SavedField::kWidth), 700);
  EXPECT_EQ(run.Saved(SavedField::kHeight), 560);
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
  EXPECT_EQ(run.Saved(SavedField::kSplitterPos), splitterLeft);
}

TEST(MainWindow, ARealClickOnExitEndsTheProgram) {
  // The toolbar is destroyed from inside its own click: it must take that.
  MainWindowRun run;
  const HWND hwnd = run.Hwnd();
  const fw::CWnd& toolbar = run.Main().m_wndToolBar;
  RECT button{};
  toolbar.Send(TB_GETRECT, ID_BUTTON_EXIT, reinterpret_cast<LPARAM>(&button));
  POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ::ClientToScreen(toolbar.m_hWnd, &centre);
  ::SetForegroundWindow(hwnd);
  MouseClickAt(centre);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); }));
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
}

// A backup or virus scanner holds settings.dat at start-up, or it is spoilt:
// after the box the window shows as on a first start, and only a file that
// could be read or repaired is written at exit.
TEST(MainWindow, UnreadableSettingsStartAsAFirstStartAndKeepTheHeldFile) {
  for (const bool held : {true, false}) {
    HANDLE holder = INVALID_HANDLE_VALUE;
    std::string before;
    BoxAnswerer error("Error", PressEscape);
    MainWindowRun run(
        [](CAppData& data) {
          data.m_nWindowShowCmd = SW_HIDE;
          data.m_bPasswordProtection = 1;
          data.SetPassword("secret");
        },
        [&](const std::string& path) {
          if (!held) std::ofstream(path, std::ios::binary | std::ios::trunc) << "not ours";
          before = ReadWholeFile(path);
          if (held) {
            holder = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
          }
        });
    EXPECT_TRUE(error.Answered()) << held;
    CWindowMain& main = run.Main();
    EXPECT_TRUE(main.IsVisible()) << held;
    const RECT window = main.GetWindowRect();
    EXPECT_EQ(window.left, 20);
    EXPECT_EQ(window.top, 20);
    EXPECT_GE(Width(window), 650);
    EXPECT_GE(Height(window), 450);
    EXPECT_EQ(Width(main.m_wndLeftPanel.GetWindowRect()), 140);

    main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
    ASSERT_EQ(main.m_hWnd, nullptr);
    if (holder != INVALID_HANDLE_VALUE) ::CloseHandle(holder);
    if (held) {
      EXPECT_EQ(run.SettingsBytes(), before);  // the password is still there
    } else {
      EXPECT_EQ(run.SettingsBytes().size(), settings_bytes::kSizeWithoutHash);  // repaired
      EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
    }
  }
}

TEST(MainWindow, AStoredPlaceOnNoMonitorIsBroughtOntoTheNearest) {
  MainWindowRun run([](CAppData& data) {
    data.m_nWindowLeft = 5000;  // a second monitor, unplugged since
    data.m_nWindowTop = 300;
  });
  const RECT window = run.Main().GetWindowRect();
  EXPECT_NE(::MonitorFromRect(&window, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_LE(window.right, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(window.top, 300);
  EXPECT_EQ(Width(window), 650);
}

TEST(MainWindow, ExitWhileHiddenStoresShowCommandZero) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  main.Send(WM_SYSCOMMAND, SC_CLOSE);
  main.Send(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
  EXPECT_EQ(main.m_hWnd, nullptr);
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), 0);
  EXPECT_EQ(run.Saved(SavedField::kWidth), 650);
  EXPECT_EQ(run.Saved(SavedField::kSplitterPos), 140);
}

TEST(MainWindow, HiddenStartShowsNothingAndKeepsItsPlacement) {
  MainWindowRun run([](CAppData& data) {
    data.m_nWindowShowCmd = 0;
    data.m_nWindowLeft = 60;
    data.m_nWindowWidth = 720;
  });
  CWindowMain& main = run.Main();
  EXPECT_FALSE(main.IsVisible());
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), 0);
  EXPECT_EQ(run.Saved(SavedField::kLeft), 60);
  EXPECT_EQ(run.Saved(SavedField::kWidth), 720);
}

TEST(MainWindow, ExitWithUnappliedSettingsAnsweredNoStays) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  g_SettingsPage.m_bChanged = 1;
  BoxAnswerer no("Warning", [](HWND box) { ClickButton(box, IDCANCEL); });
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(no.Answered());
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
  EXPECT_TRUE(run.SettingsBytes().empty());  // nothing saved
}

TEST(MainWindow, EndOfSessionRunsTheExitSequence) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  // Even when the session goes on after all (wParam FALSE).
  main.Send(WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(main.m_hWnd, nullptr);
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
}

TEST(MainWindow, ExitDuringASearchWithoutAProgressWindowAsksFirst) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  g_AppData.m_nRunningTask = TASK_SEARCH;
  BoxSeries no("Files Searching", {IDCANCEL});
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(no.Join());
  EXPECT_EQ(no.Texts(), Texts{" Searching is in progress. Do you really want to exit?"});
  EXPECT_TRUE(::IsWindow(run.Hwnd()));

  g_AppData.m_nRunningTask = TASK_DELETE;
  BoxSeries yes("Deleting Files", {IDOK});
  main.Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(yes.Join());
  EXPECT_EQ(yes.Texts(), Texts{"Deleting Files. Do you really want to exit?"});
  EXPECT_EQ(main.m_hWnd, nullptr);
}

// Wine sends no WM_DPICHANGED: it is sent here as Windows sends it when the
// window is dragged onto a monitor of another scale, and back.
TEST(MainWindow, DpiChangeTakesTheSuggestedRectangleAndRemakesWhatTheProgramSized) {
  MainWindowRun run;
  CWindowMain& main = run.Main();
  // On the settings page, whose window of 975 by 675 at 150 % fits every
  // desktop of these tests; the search page's lists are scaled all the same.
  ASSERT_EQ(main.m_nCurrentPage, PAGE_SETTINGS);
  const HWND lists[] = {Page(run, PAGE_DELETE_FILES).GetDlgItem(IDC_LIST_RESULTS),
                        Page(run, PAGE_DELETE_FILES).GetDlgItem(IDC_LIST_FOLDERS)};
  auto columnWidths = [&] {
    std::vector<int> widths;
    for (HWND list : lists) {
      for (int column = 0; column < 6; ++column) {
        widths.push_back(static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)));
      }
    }
    return widths;
  };
  const int first = main.m_nDpi;
  const std::vector<int> firstColumns = columnWidths();
  const RECT firstWindow = main.GetWindowRect();
  const int firstBar = run.InClient(main.m_wndSplitter.m_hWnd).left;

  // Onto a monitor of 150 % and back, then of 125 % and back: a single round
  // trip gives back every figure (a chain of them may drift by a pixel).
  int from = first;
  RECT window = firstWindow;
  int bar = firstBar;
  std::vector<int> columns = firstColumns;
  for (int to : {first * 3 / 2, first, first * 5 / 4, first}) {
    SCOPED_TRACE(to);
    // Windows suggests the rectangle scaled about its own place.
    const RECT suggested{window.left, window.top,
                         window.left + ScaleForDpi(Width(window), to, from),
                         window.top + ScaleForDpi(Height(window), to, from)};
    main.Send(WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(main.m_nDpi, to);
    window = main.GetWindowRect();
    EXPECT_TRUE(::EqualRect(&window, &suggested))
        << window.left << "," << window.top << "-" << window.right << "," << window.bottom
        << " for " << suggested.left << "," << suggested.top << "-" << suggested.right << ","
        << suggested.bottom;

    // The toolbar's empty 50 by 5 cell, the window's and the tray's icons.
    int cellWidth = 0;
    int cellHeight = 0;
    ::ImageList_GetIconSize(main.m_imlToolBar.Get(), &cellWidth, &cellHeight);
    EXPECT_EQ(cellWidth, ScaleForDpi(50, to));
    EXPECT_EQ(cellHeight, ScaleForDpi(5, to));
    ICONINFO icon{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(main.Send(WM_GETICON, ICON_SMALL)), &icon));
    BITMAP mask{};
    ::GetObjectA(icon.hbmMask, sizeof mask, &mask);
    if (icon.hbmColor) ::DeleteObject(icon.hbmColor);
    ::DeleteObject(icon.hbmMask);
    EXPECT_EQ(mask.bmWidth, fw::SmallIconSize(to));
    // The notification area draws at the system's DPI, not the window's.
    EXPECT_EQ(main.m_hTrayIcon, CWindowMain::ChooseTrayIcon(fw::DpiOf(nullptr)));

    // The page's minimum, the bar's place and width, the panes and the columns.
    EXPECT_EQ(main.m_nMinPageWidth, PageMinimum(run, PAGE_SETTINGS, 480, 350).cx);
    EXPECT_EQ(main.m_nMinPageHeight, PageMinimum(run, PAGE_SETTINGS, 480, 350).cy);
    const RECT barRect = run.InClient(main.m_wndSplitter.m_hWnd);
    bar = ScaleForDpi(bar, to, from);
    EXPECT_EQ(barRect.left, bar);
    EXPECT_EQ(Width(barRect), SplitterWidth(to));
    EXPECT_EQ(run.InClient(main.m_wndRightPanel.m_hWnd).left, barRect.right);
    EXPECT_EQ(g_AppData.m_nSplitterPos, bar);
    for (int& width : columns) width = ScaleForDpi(width, to, from);
    EXPECT_EQ(columnWidths(), columns);
    if (to == first) {
      EXPECT_TRUE(::EqualRect(&window, &firstWindow));
      EXPECT_EQ(bar, firstBar);
      EXPECT_EQ(columns, firstColumns);
    }
    from = to;
  }
}

// Windows sends WM_DPICHANGED from within the placement that puts the hidden
// window onto a monitor of another scale; Wine has one scale, so a hook sends
// it at that moment. The stored rectangle and splitter are that monitor's
// pixels already: neither may be scaled again.
TEST(MainWindow, PlacedAsStoredOnAMonitorOfAnotherScaleItKeepsItsRectangleAndSplitter) {
  // Within a desktop of 1024 by 768, with room for the widest page at 125 %.
  constexpr int kWidth = 1000, kHeight = 700, kSplitter = 250;
  static int s_nOtherDpi = 0;  // set once the hook has sent it
  s_nOtherDpi = 0;
  HHOOK hook = ::SetWindowsHookExA(
      WH_CALLWNDPROCRET,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        const auto* to = reinterpret_cast<const WINDOWPOS*>(call->lParam);
        if (!s_nOtherDpi && call->message == WM_WINDOWPOSCHANGED && to->cx == kWidth &&
            to->cy == kHeight) {
          s_nOtherDpi = fw::DpiOf(nullptr) * 5 / 4;
          const RECT suggested{to->x, to->y, to->x + kWidth * 5 / 4, to->y + kHeight * 5 / 4};
          ::SendMessageA(call->hwnd, WM_DPICHANGED, MAKEWPARAM(s_nOtherDpi, s_nOtherDpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
      },
      nullptr, ::GetCurrentThreadId());
  MainWindowRun run([](CAppData& data) {
    data.m_nWindowWidth = kWidth;
    data.m_nWindowHeight = kHeight;
    data.m_nSplitterPos = kSplitter;
  });
  ::UnhookWindowsHookEx(hook);
  CWindowMain& main = run.Main();
  ASSERT_EQ(main.m_nDpi, s_nOtherDpi);
  EXPECT_EQ(Width(main.GetWindowRect()), kWidth);
  EXPECT_EQ(Height(main.GetWindowRect()), kHeight);
  EXPECT_EQ(run.InClient(main.m_wndSplitter.m_hWnd).left, kSplitter);
}

}  // namespace
