#pragma once
// The program's one top-level window: the toolbar across the top, the
// navigation panel, the splitter bar and the page host below it. It decides
// which page shows, keeps itself large enough for it, hides instead of
// closing, and runs the exit sequence that stops a running worker and saves
// the settings.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "dialogs/help_about_win.h"
#include "framework/dpi.h"
#include "framework/handles_win.h"
#include "framework/window_win.h"
#include "framework/worker_host_win.h"
#include "framework/worker_messages.h"
#include "resources/product.h"
#include "resources/resource.h"
#include "shell/nav_panel_win.h"
#include "shell/splitter_bar_win.h"
#include "shell/tray_icon_win.h"

// A page as the main window sees it: its window and the least room it needs,
// which the page object itself carries (in pixels at 96 DPI), beside the room
// its template really takes in the page's font at the window's DPI.
struct PageRef {
  fw::CDialog* pWnd = nullptr;
  const int32_t* pWidth = nullptr;
  const int32_t* pHeight = nullptr;
  int32_t nTemplateWidth = 0;
  int32_t nTemplateHeight = 0;

  // Once the page's window exists.
  template <class Page>
  static PageRef Of(Page& page) {
    PageRef ref{&page, &page.m_nPageWidth, &page.m_nPageHeight};
    ref.MeasureTemplate();
    return ref;
  }
  // The template's size in the page's font now: again after a change of DPI.
  void MeasureTemplate();
  // The page's own minimum at this DPI, or more when its template needs it.
  int32_t Width(int dpi) const { return std::max(ScaleForDpi(*pWidth, dpi), nTemplateWidth); }
  int32_t Height(int dpi) const { return std::max(ScaleForDpi(*pHeight, dpi), nTemplateHeight); }
};

class CWindowMain : public fw::CBound<CWindowMain, fw::CWindow> {
 public:
  static constexpr int INIT_FAILED = 0;
  static constexpr int INIT_RUN = 1;
  static constexpr int INIT_QUIT = 2;

  CWindowMain();
  ~CWindowMain() override;

  // Right after the window was created hidden at 0,0 with size 0 by 0:
  // loads the settings, builds the children, shows the first page, places
  // and shows the window as stored. Always INIT_RUN.
  int InitMainWindow();
  // WM_SHOWPAGE: 0 when the page is shown, 1 when the change is refused.
  LRESULT OnShowPage(WPARAM pageId, LPARAM);
  // False when the user keeps unapplied settings: stay where we are.
  bool ConfirmLeaveSettings();
  void SelectToolbarButton(int commandId);
  LRESULT OnSplitterMoved(WPARAM, LPARAM distance);
  // The only way the window is destroyed.
  void ExitApplication();

  // The notification icon's side: the icon for this system at the small-icon
  // size of this DPI. The notification area draws at the system's DPI,
  // whichever monitor the window is on.
  static HICON ChooseTrayIcon(int dpi);
  void AddTrayIcon();
  void RemoveTrayIcon();
  LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
  void ShowMainWindow();
  // Another start of the program asks this one to show itself.
  LRESULT OnSecondStart(WPARAM, LPARAM);

  // Saved searches that run by themselves: started once the window is up;
  // what a run found waits for the user in m_strWaitingSearch until a click
  // on its notification, or a double-click on the icon, opens it.
  void StartScheduledSearches();
  void ShowFoundNotification(const std::wstring& text);
  // Opens the saved search on the "Delete Files" page and runs it there
  // (after the password when hidden and protected); in the middle of the
  // user's work only the window shows. Posted: RequestSearch.
  void OpenSavedSearch(std::string name);  // a copy: it may be the waiting one, cleared here
  void RequestSearch(const std::string& name);
  std::string m_strWaitingSearch;
  std::string m_strRequestedSearch;

  // Keys the dialog manager would take for its own, before it sees them: F6
  // between the panes, and the toolbar's keys while it has the focus as a
  // menu bar has (Alt or F10). True when the key was taken.
  bool PreTranslateMessage(const MSG& msg);

  int32_t m_nRequestedPage = 0;
  fw::CMenu m_menuTray;
  HMENU m_pTrayMenu = nullptr;  // first popup of m_menuTray, not owned
  HICON m_hTrayIcon = nullptr;
  CSplitterBar m_wndSplitter;
  fw::CWnd m_wndToolBar;
  fw::CImageList m_imlToolBar;
  int32_t m_nMinPageWidth = 450;  // of the shown page, in pixels at m_nDpi
  int32_t m_nMinPageHeight = 450;
  int32_t m_nCurrentPage = 0;  // 0 until the first page shows
  CWindowLeftPanel m_wndLeftPanel;
  CWindowRightPanel m_wndRightPanel;
  CWindowHelpAbout m_wndHelpPage;
  std::map<int32_t, PageRef> m_mapPages;
  // The progress window, for exiting while a worker runs.
  IWorkerHost* m_pWorkerHost = nullptr;
  // How long the exit waits for a worker it told to stop.
  std::chrono::milliseconds m_nWorkerEndBound{5000};
  // The DPI of the window's monitor, by which every figure of the design is
  // scaled; it changes with WM_DPICHANGED.
  int m_nDpi = kDesignDpi;
  // The window's own icons at its DPI (the class has the system's sizes).
  fw::CIcon m_iconSmall;
  fw::CIcon m_iconBig;

 private:
  // The stored normal rectangle, on a monitor that is there, never smaller
  // than the window's minimum; on a first start the design's, at the DPI.
  // The stored splitter position held so that the widest page fits beside
  // it on that monitor.
  void PlaceAsStored(bool firstStart);
  // Set while the stored rectangle is put in place: a change of DPI that
  // this causes finds the stored figures in the new monitor's pixels already.
  bool m_bPlacingAsStored = false;
  int Scale(int pixels) const { return ScaleForDpi(pixels, m_nDpi); }
  // The toolbar's image list and the window's icons at m_nDpi.
  void MakeDpiImages();
  // The window's least size for the shown page beside the panel as it is,
  // or as wide as given.
  TrackSize LeastSize(std::optional<int> panelWidth = std::nullopt) const;
  // A move onto another monitor or a new scale: the suggested rectangle, and
  // everything the program sized by itself made again at the new DPI.
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
  const PageRef* FindPage(int32_t pageId) const;
  void FitPageToHost(int32_t pageId);
  void SetSplitterRange();
  void LayOut(int cx);
  // What the frame and caption take around the client area.
  TrackSize FrameSize() const;
  // Asks whether to exit while a worker runs; pauses it meanwhile. False:
  // the user stays.
  bool AskStopWorker();

  // F6: from the navigation panel into the shown page, from anywhere else
  // into the panel.
  void SwitchPane();
  // The focus on the page's first control.
  void FocusPage(int32_t pageId);
  // The toolbar as a menu bar: Alt or F10 gives it the focus with its first
  // button hot; the arrows, Home and End move, Enter and Space choose, Esc,
  // Tab, Alt and F10 leave, and the focus goes back where it was.
  void EnterToolbar();
  void LeaveToolbar();
  bool OnToolbarKey(WPARAM key);
  HWND m_hFocusBeforeToolbar = nullptr;
  // Alt or F10 alone: the key pressed, until another key comes or it is let go.
  bool OnMenuKey(const MSG& msg);
  WPARAM m_nMenuKeyDown = 0;

  void OnSize(UINT type, int cx, int cy);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  LRESULT OnWindowPosChanged(WPARAM, LPARAM lParam);
  LRESULT OnSysCommand(WPARAM wParam, LPARAM);
  LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
  LRESULT OnToolbarCustomDraw(NMHDR* header);
  void OnTools();
  void OnHelp();
  void OnExit();
  void OnMenuHelp();
  void OnMenuOpen();
  void OnCancel();
  void OnTimer(UINT_PTR timerId);
  LRESULT OnTimeChange(WPARAM, LPARAM);
  LRESULT OnPowerBroadcast(WPARAM event, LPARAM);
  LRESULT OnScheduledRunDone(WPARAM, LPARAM);
  LRESULT OnOpenSearch(WPARAM, LPARAM);
  LRESULT OnCopyData(WPARAM, LPARAM lParam);

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowMain> kMessageTable[] = {
      {fw::Message<WM_SIZE>, &CWindowMain::OnSize},
      {fw::Message<WM_GETMINMAXINFO>, &CWindowMain::OnGetMinMaxInfo},
      {fw::Message<WM_DPICHANGED>, &CWindowMain::OnDpiChanged},
      {fw::Message<WM_WINDOWPOSCHANGED>, &CWindowMain::OnWindowPosChanged},
      {fw::Message<WM_SYSCOMMAND>, &CWindowMain::OnSysCommand},
      {fw::Message<WM_ENDSESSION>, &CWindowMain::OnEndSession},
      {fw::Message<WM_SHOWPAGE>, &CWindowMain::OnShowPage},
      {fw::Message<WM_SPLITTERMOVED>, &CWindowMain::OnSplitterMoved},
      {fw::Message<WM_TRAYNOTIFY>, &CWindowMain::OnTrayNotify},
      {fw::Message<WM_SECONDSTART>, &CWindowMain::OnSecondStart},
      {fw::Message<WM_TIMER>, &CWindowMain::OnTimer},
      {fw::Message<WM_TIMECHANGE>, &CWindowMain::OnTimeChange},
      {fw::Message<WM_POWERBROADCAST>, &CWindowMain::OnPowerBroadcast},
      {fw::Message<WM_SCHEDULED_RUN_DONE>, &CWindowMain::OnScheduledRunDone},
      {fw::Message<WM_OPENSEARCH>, &CWindowMain::OnOpenSearch},
      {fw::Message<WM_COPYDATA>, &CWindowMain::OnCopyData},
      {fw::Notify(IDC_TOOLBAR, NM_CUSTOMDRAW), &CWindowMain::OnToolbarCustomDraw},
      {fw::Command(ID_BUTTON_TOOLS), &CWindowMain::OnTools},
      {fw::Command(ID_BUTTON_HELP), &CWindowMain::OnHelp},
      {fw::Command(ID_BUTTON_EXIT), &CWindowMain::OnExit},
      {fw::Command(ID_MENU_EXIT), &CWindowMain::OnExit},
      {fw::Command(ID_MENU_HELP), &CWindowMain::OnMenuHelp},
      {fw::Command(ID_MENU_OPEN), &CWindowMain::OnMenuOpen},
      {fw::Command(IDCANCEL), &CWindowMain::OnCancel},
  };
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    // A registered message has no fixed number for the table. A new taskbar
    // (Explorer restarted) has lost every icon.
    if (message >= 0xC000 && message == TaskbarCreatedMessage()) {
      AddTrayIcon();
      result = 0;
      return true;
    }
    return Bound::HandleMessage(message, wParam, lParam, result);
  }
};

extern CWindowMain* g_pMainWnd;

// A second start with /search: the name handed to the running instance,
// which opens it; false when it did not take it.
bool HandSearchToFirstInstance(HWND first, const std::string& name);
// The notification of a run that found files: "<name>" found N files (size).
std::wstring FoundNotificationText(const std::string& name, uint32_t files, uint64_t bytes,
                                   bool limitReached);

// The title without blanks: the name of the window class below.
std::string MainWindowClassName();
// The class of the main window and its two panels. Its procedure is the
// dialog manager's own, so these windows behave as dialogs: the close box
// and Esc arrive as the Cancel command. Once per process; true when the
// class exists afterwards.
bool RegisterMainWindowClass();
