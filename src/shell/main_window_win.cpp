#include "shell/main_window_win.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "dialogs/message_box_win.h"
#include "framework/dpi_win.h"
#include "resources/product.h"
#include "search/search_page_win.h"
#include "search/search_scheduler_win.h"
#include "settings/app_data.h"
#include "settings/settings_page_win.h"
#include "shell/main_layout.h"

CWindowMain* g_pMainWnd = nullptr;

namespace {

RECT RectInClient(HWND window, HWND parent) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LayoutRect ToLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RECT ToRect(const LayoutRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The size a dialog template gives, in dialog units: both template forms.
SIZE TemplateUnits(UINT templateId) {
  const HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
  if (!words || ::SizeofResource(module, found) < 26) return {};
  // DLGTEMPLATEEX starts with version 1 and 0xFFFF; its cx and cy lie 8
  // bytes further on than DLGTEMPLATE's.
  const size_t cx = words[0] == 1 && words[1] == 0xFFFF ? 11 : 7;
  return {static_cast<short>(words[cx]), static_cast<short>(words[cx + 1])};
}

BOOL CALLBACK CancelBoxOfAnotherThread(HWND hwnd, LPARAM) {
  DWORD process = 0;
  DWORD thread = ::GetWindowThreadProcessId(hwnd, &process);
  if (process != ::GetCurrentProcessId() || thread == ::GetCurrentThreadId()) return TRUE;
  char className[16] = {};
  ::GetClassNameA(hwnd, className, sizeof className);
  if (std::string(className) == "#32770") {
    ::PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  return TRUE;
}

// A worker told to stop ends at its next poll of the flag. Until then it may
// be sending to this thread (its progress, the final refill of the list) or
// sitting in a question box of its own: serve the one, answer the other with
// Cancel. Every box of another thread at this point is a worker's. Bounded,
// so that the program always ends.
bool WaitForWorkerEnd(CWorkerThread& worker, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!worker.IsDone()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::EnumWindows(CancelBoxOfAnotherThread, 0);
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_SENDMESSAGE, 0);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return true;
}

}  // namespace

void PageRef::MeasureTemplate() {
  const SIZE units = TemplateUnits(pWnd->GetTemplateId());
  RECT rect{0, 0, units.cx, units.cy};
  ::MapDialogRect(pWnd->m_hWnd, &rect);
  nTemplateWidth = rect.right;
  nTemplateHeight = rect.bottom;
}

std::string MainWindowClassName() { return WithoutBlanks(g_strTitle); }

bool RegisterMainWindowClass() {
  const std::string name = MainWindowClassName();
  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = ::DefDlgProcA;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hIcon = ::LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(IDI_APP));
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name.c_str();
  return ::RegisterClassA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CWindowMain::CWindowMain() {
  g_pMainWnd = this;
  m_hTrayIcon = ChooseTrayIcon(fw::DpiOf(nullptr));
  m_menuTray.Reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU)));
  m_pWorkerHost = g_SearchPage.GetWorkerHost();
}

CWindowMain::~CWindowMain() {
  if (g_pMainWnd == this) g_pMainWnd = nullptr;
}

int CWindowMain::InitMainWindow() {
  // No settings file, or one that could not be read: a first start, which
  // takes the design's placement at this DPI.
  const bool firstStart = !g_AppData.LoadSettings();
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  m_nDpi = fw::DpiOf(m_hWnd);
  // The panel is never narrower than the design's at this DPI.
  g_AppData.m_nSplitterPos = std::max(g_AppData.m_nSplitterPos, Scale(kMinPanelWidth));

  m_wndToolBar.Attach(::CreateWindowExA(
      0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0, m_hWnd,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_TOOLBAR)), instance, nullptr));
  m_wndToolBar.Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  MakeDpiImages();
  // "Separator" is string 2 and no button shows it.
  m_wndToolBar.Send(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Tools\0Help\0Separator\0Exit\0"));
  TBBUTTON buttons[] = {
      {0, ID_BUTTON_TOOLS, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {0, ID_BUTTON_HELP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 1},
      {0, ID_BUTTON_SPACER, TBSTATE_INDETERMINATE, BTNS_BUTTON, {}, 0, -1},
      {0, ID_BUTTON_EXIT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 3},
  };
  m_wndToolBar.Send(TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  m_wndToolBar.Send(TB_CHECKBUTTON, ID_BUTTON_TOOLS, TRUE);

  const std::string className = MainWindowClassName();
  // Both panels take part in the dialog manager's Tab order: Tab and
  // Shift+Tab go from the last control of a page to the tree and back.
  m_wndRightPanel.CreateInDialogClass(WS_EX_CONTROLPARENT, className.c_str(), "",
                                      WS_CHILD | WS_VISIBLE, RECT{}, m_hWnd, 0);

  m_wndHelpPage.Create(m_wndRightPanel.m_hWnd);
  g_SettingsPage.Create(m_wndRightPanel.m_hWnd);
  g_SearchPage.Create(m_wndRightPanel.m_hWnd);
  m_mapPages[PAGE_HELP] = PageRef::Of(m_wndHelpPage);
  m_mapPages[PAGE_SETTINGS] = PageRef::Of(g_SettingsPage);
  m_mapPages[PAGE_DELETE_FILES] = PageRef::Of(g_SearchPage);

  m_wndLeftPanel.CreateInDialogClass(WS_EX_CONTROLPARENT, className.c_str(), "",
                                     WS_CHILD | WS_VISIBLE, RECT{}, m_hWnd, 0);
  m_wndLeftPanel.InitPanel();

  m_wndSplitter.Create(WS_CHILD | WS_VISIBLE, RECT{g_AppData.m_nSplitterPos, 0, 0, 0}, m_hWnd,
                       IDC_SPLITTER);
  m_wndSplitter.SetOrientation(CSplitterBar::ORIENT_VERTICAL);

  OnShowPage(PAGE_SETTINGS, 0);
  ::SetFocus(m_wndLeftPanel.m_hWnd);

  m_pTrayMenu = ::GetSubMenu(m_menuTray.Get(), 0);
  AddTrayIcon();
  // Run as administrator, the window would not hear the new taskbar of a
  // restarted Explorer, which runs at a lower level, and the icon would stay
  // away.
  ::ChangeWindowMessageFilterEx(m_hWnd, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
  // Nor a second start of the program by the user, who is not elevated.
  ::ChangeWindowMessageFilterEx(m_hWnd, WM_SECONDSTART, MSGFLT_ALLOW, nullptr);
  ::ChangeWindowMessageFilterEx(m_hWnd, WM_COPYDATA, MSGFLT_ALLOW, nullptr);

  PlaceAsStored(firstStart);
  // A stored 0 keeps the window hidden: the program starts in the
  // notification area only.
  ::ShowWindow(m_hWnd, g_AppData.m_nWindowShowCmd);
  StartScheduledSearches();
  return INIT_RUN;
}

void CWindowMain::MakeDpiImages() {
  // An empty image list whose 50 by 5 cell makes every button at least that
  // wide, with a little room above its text.
  fw::CImageList cells(::ImageList_Create(Scale(50), Scale(5), ILC_COLOR24 | ILC_MASK, 7, 0));
  m_wndToolBar.Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(cells.Get()));
  m_wndToolBar.Send(TB_AUTOSIZE);
  m_imlToolBar = std::move(cells);  // the toolbar has let go of the old one

  fw::CIcon small(fw::LoadIconOfSize(IDI_APP, fw::SmallIconSize(m_nDpi)));
  fw::CIcon big(fw::LoadIconOfSize(IDI_APP, fw::SystemMetricForDpi(SM_CXICON, m_nDpi)));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  m_iconSmall = std::move(small);  // the window has let go of the old ones
  m_iconBig = std::move(big);
}

void CWindowMain::PlaceAsStored(bool firstStart) {
  // The stored rectangle is the placement's normal one, in workspace
  // coordinates (the screen's less a taskbar at the top or left): set back
  // the same way, or the window creeps by the taskbar's thickness every run.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.showCmd = SW_HIDE;  // shown next, with the stored command
  const int left = g_AppData.m_nWindowLeft;
  const int top = g_AppData.m_nWindowTop;
  LayoutRect rect{left, top, left + g_AppData.m_nWindowWidth, top + g_AppData.m_nWindowHeight};

  // A monitor unplugged since: onto the nearest one, in the screen's terms.
  RECT workArea{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  const RECT onScreen{rect.left + workArea.left, rect.top + workArea.top,
                      rect.right + workArea.left, rect.bottom + workArea.top};
  if (!::MonitorFromRect(&onScreen, MONITOR_DEFAULTTONULL)) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromRect(&onScreen, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const LayoutRect brought =
        BringInto({onScreen.left, onScreen.top, onScreen.right, onScreen.bottom},
                  {area.left, area.top, area.right, area.bottom});
    rect = {brought.left - workArea.left, brought.top - workArea.top, brought.right - workArea.left,
            brought.bottom - workArea.top};
  }
  // Never smaller than the window's minimum, measured now that the page
  // switch has grown the hidden window and its frame can be seen; within the
  // work area of its monitor, in the same workspace terms.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const RECT shifted{rect.left + workArea.left, rect.top + workArea.top, rect.right + workArea.left,
                     rect.bottom + workArea.top};
  ::GetMonitorInfoA(::MonitorFromRect(&shifted, MONITOR_DEFAULTTONEAREST), &monitor);
  LayoutRect area = ToLayout(monitor.rcWork);
  area = {area.left - workArea.left, area.top - workArea.top, area.right - workArea.left,
          area.bottom - workArea.top};
  // First where it was stored: on a monitor of another scale than this one
  // the placement changes the window's DPI, and the stored figures are that
  // monitor's pixels already (OnDpiChanged).
  placement.rcNormalPosition = ToRect(rect);
  m_bPlacingAsStored = true;
  ::SetWindowPlacement(m_hWnd, &placement);
  m_bPlacingAsStored = false;

  // A panel so wide that no window on this monitor leaves a page its room
  // would push the page out of the window, and be saved again at exit.
  int widestPage = 0;
  for (const auto& [pageId, page] : m_mapPages)
    widestPage = std::max(widestPage, page.Width(m_nDpi));
  const int held =
      HoldSplitterPos(g_AppData.m_nSplitterPos, widestPage, area.Width(), FrameSize(), m_nDpi);
  if (held != g_AppData.m_nSplitterPos) {
    g_AppData.m_nSplitterPos = held;
    m_wndSplitter.Move(held, 0, SplitterWidth(m_nDpi), 0);
  }
  // The panel, not laid out while the window is hidden, will be as wide as
  // the bar's place.
  const TrackSize least = LeastSize(RectInClient(m_wndSplitter.m_hWnd, m_hWnd).left);
  rect = FirstPlacement(rect, firstStart, m_nDpi, least, area);
  placement.rcNormalPosition = ToRect(rect);
  ::SetWindowPlacement(m_hWnd, &placement);
}

const PageRef* CWindowMain::FindPage(int32_t pageId) const {
  auto found = m_mapPages.find(pageId);
  return found == m_mapPages.end() ? nullptr : &found->second;
}

void CWindowMain::FitPageToHost(int32_t pageId) {
  if (const PageRef* page = FindPage(pageId)) page->pWnd->Move(m_wndRightPanel.GetClientRect());
}

void CWindowMain::SetSplitterRange() {
  SplitterRange range =
      MainSplitterRange(g_AppData.m_nSplitterPos, GetClientRect().right, m_nMinPageWidth, m_nDpi);
  m_wndSplitter.SetRange(range.min, range.max);
}

LRESULT CWindowMain::OnShowPage(WPARAM wParam, LPARAM) {
  const auto pageId = static_cast<int32_t>(wParam);
  // The tree's notice for no item, as when its selected item is deleted.
  if (pageId == 0) return 1;
  m_nRequestedPage = pageId;
  if (!ConfirmLeaveSettings()) return 1;

  // Keys would go on reaching a page hidden with the focus in it: a toolbar
  // command switches pages with the focus where it was.
  bool focusInHiddenPage = false;
  if (const PageRef* current = FindPage(m_nCurrentPage)) {
    focusInHiddenPage = ::IsChild(current->pWnd->m_hWnd, ::GetFocus()) != FALSE;
    current->pWnd->Show(SW_HIDE);
  }
  if (const PageRef* page = FindPage(pageId)) {
    page->pWnd->Show(SW_SHOWNA);
    ::RedrawWindow(page->pWnd->m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_nMinPageWidth = page->Width(m_nDpi);
    m_nMinPageHeight = page->Height(m_nDpi);
  }
  if (focusInHiddenPage) FocusPage(pageId);
  m_nCurrentPage = pageId;
  // Moving the window onto its own rectangle makes the system apply the new
  // minimum: the window grows when the page needs more room, and one that
  // grew past its monitor's work area comes back onto it.
  const RECT before = GetWindowRect();
  Move(before);
  const RECT after = GetWindowRect();
  if (IsVisible() && !::IsZoomed(m_hWnd) && !::IsIconic(m_hWnd) && !::EqualRect(&before, &after)) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    Move(ToRect(BringInto(ToLayout(after), ToLayout(monitor.rcWork))));
  }
  FitPageToHost(pageId);
  SetSplitterRange();
  return 0;
}

bool CWindowMain::ConfirmLeaveSettings() {
  if (!g_SettingsPage.m_bChanged) return true;
  if (!AskYesNo(m_hWnd, "Warning", "", "You didn't apply any changes. Do you want to reset them?",
                IDI_QUESTION)) {
    return false;
  }
  g_SettingsPage.Reset();
  return true;
}

void CWindowMain::SelectToolbarButton(int commandId) {
  for (int id : {ID_BUTTON_TOOLS, ID_BUTTON_HELP, ID_BUTTON_EXIT}) {
    m_wndToolBar.Send(TB_CHECKBUTTON, static_cast<WPARAM>(id), FALSE);
  }
  m_wndToolBar.Send(TB_CHECKBUTTON, static_cast<WPARAM>(commandId), TRUE);
}

void CWindowMain::LayOut(int cx) {
  if (!m_wndToolBar.m_hWnd || !m_wndSplitter.m_hWnd || !m_wndLeftPanel.m_hWnd ||
      !m_wndRightPanel.m_hWnd || !m_hWnd) {
    return;
  }
  // A hidden window may still be 0 by 0, and a minimised one reports its
  // icon: either would push the bar out of place for good.
  if (!IsVisible() || ::IsIconic(m_hWnd)) return;

  // Given no height, the toolbar takes its own.
  m_wndToolBar.Move(0, 0, cx, 0);
  RECT client = GetClientRect();
  RECT toolbar = RectInClient(m_wndToolBar.m_hWnd, m_hWnd);
  RECT area = client;
  ::SubtractRect(&area, &client, &toolbar);

  const RECT bar = RectInClient(m_wndSplitter.m_hWnd, m_hWnd);
  MainPanes panes = LayOutPanes(ToLayout(area), static_cast<int>(bar.left), cx, m_nDpi);
  m_wndLeftPanel.Move(ToRect(panes.panel));
  RECT strip = ToRect(panes.splitter);
  m_wndSplitter.Move(strip);
  ::InvalidateRect(m_hWnd, &strip, TRUE);
  m_wndRightPanel.Move(ToRect(panes.host));
  FitPageToHost(m_nCurrentPage);
  SetSplitterRange();
}

void CWindowMain::OnSize(UINT, int cx, int) {
  LayOut(cx);
  SetMsgHandled(false);
}

LRESULT CWindowMain::OnWindowPosChanged(WPARAM, LPARAM lParam) {
  // Showing a window sends no size change, yet the layout was skipped while
  // it was hidden: catch up when it appears.
  const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (position->flags & SWP_SHOWWINDOW) LayOut(GetClientRect().right);
  SetMsgHandled(false);
  return 0;
}

TrackSize CWindowMain::FrameSize() const {
  // Measured, not asked of the style: without a window manager Wine draws no
  // frame at all. The window made at 0 by 0 has no client area to measure.
  const RECT window = GetWindowRect();
  const RECT client = GetClientRect();
  if (client.right <= 0 || client.bottom <= 0) return {};
  return {static_cast<int>(window.right - window.left - client.right),
          static_cast<int>(window.bottom - window.top - client.bottom)};
}

TrackSize CWindowMain::LeastSize(std::optional<int> panelWidth) const {
  std::optional<int> toolbarHeight;
  if (m_wndLeftPanel.m_hWnd && !panelWidth) {
    RECT rect = m_wndLeftPanel.GetWindowRect();
    panelWidth = rect.right - rect.left;
  }
  if (m_wndToolBar.m_hWnd) {
    RECT rect = m_wndToolBar.GetWindowRect();
    toolbarHeight = rect.bottom - rect.top;
  }
  // The page's template as it is now: after a change of DPI Windows gives a
  // dialog its new font only once the main window has seen the change.
  int pageWidth = m_nMinPageWidth;
  int pageHeight = m_nMinPageHeight;
  if (const PageRef* page = FindPage(m_nCurrentPage)) {
    PageRef now = *page;
    now.MeasureTemplate();
    pageWidth = std::max(pageWidth, now.nTemplateWidth);
    pageHeight = std::max(pageHeight, now.nTemplateHeight);
  }
  return MinTrackSize(pageWidth, pageHeight, panelWidth, toolbarHeight, FrameSize(), m_nDpi);
}

void CWindowMain::OnGetMinMaxInfo(MINMAXINFO* info) {
  const TrackSize size = LeastSize();
  info->ptMinTrackSize.x = size.width;
  info->ptMinTrackSize.y = size.height;
  SetMsgHandled(false);
}

LRESULT CWindowMain::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  const int oldDpi = m_nDpi;
  const int newDpi = LOWORD(wParam);
  if (newDpi <= 0 || !lParam) return 0;
  m_nDpi = newDpi;
  MakeDpiImages();

  // The panel keeps its share of the window, and its lower limit with it;
  // not while the stored placement is put in place, whose figures are the
  // new monitor's already.
  if (!m_bPlacingAsStored) {
    g_AppData.m_nSplitterPos = ScaleForDpi(g_AppData.m_nSplitterPos, newDpi, oldDpi);
    if (m_wndSplitter.m_hWnd) {
      const RECT bar = RectInClient(m_wndSplitter.m_hWnd, m_hWnd);
      m_wndSplitter.Move(ScaleForDpi(bar.left, newDpi, oldDpi), bar.top, SplitterWidth(newDpi),
                         bar.bottom - bar.top);
    }
  }
  for (auto& [pageId, page] : m_mapPages) page.MeasureTemplate();
  if (const PageRef* page = FindPage(m_nCurrentPage)) {
    m_nMinPageWidth = page->Width(m_nDpi);
    m_nMinPageHeight = page->Height(m_nDpi);
  } else {
    m_nMinPageWidth = ScaleForDpi(m_nMinPageWidth, newDpi, oldDpi);
    m_nMinPageHeight = ScaleForDpi(m_nMinPageHeight, newDpi, oldDpi);
  }
  if (m_wndRightPanel.m_hWnd) fw::ScaleListColumns(m_wndRightPanel.m_hWnd, oldDpi, newDpi);

  // The panes at the new scale first: the window's minimum counts the panel
  // as it stands.
  LayOut(GetClientRect().right);
  if (m_bPlacingAsStored) return 0;  // the stored rectangle stands
  const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
  ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The same size sends no size change, yet the bar and the pages moved.
  LayOut(GetClientRect().right);
  return 0;
}

LRESULT CWindowMain::OnSplitterMoved(WPARAM, LPARAM distance) {
  const auto pixels = static_cast<int>(distance);
  MoveWindowEdge(m_wndLeftPanel.m_hWnd, pixels, WindowEdge::kRight);
  MoveWindowEdge(m_wndRightPanel.m_hWnd, pixels, WindowEdge::kLeft);
  FitPageToHost(m_nCurrentPage);
  return 0;
}

LRESULT CWindowMain::OnToolbarCustomDraw(NMHDR* header) {
  const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(header);
  if (draw->dwDrawStage == CDDS_PREPAINT) {
    // An etched line along the toolbar's bottom parts it from the panes.
    RECT client = m_wndToolBar.GetClientRect();
    const int height = client.bottom;
    RECT shadow{0, height - 4, client.right, height - 3};
    RECT light{0, height - 3, client.right, height - 2};
    ::FillRect(draw->hdc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::FillRect(draw->hdc, &light, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  }
  return 0;
}

LRESULT CWindowMain::OnSysCommand(WPARAM wParam, LPARAM lParam) {
  // Alt alone or F10, as for a menu bar: the toolbar is the window's.
  if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
    if (::GetFocus() == m_wndToolBar.m_hWnd) {
      LeaveToolbar();
    } else {
      EnterToolbar();
    }
    return 0;
  }
  // Closing only hides: the program stays in the notification area. The
  // default handling then turns the close into the Cancel command, which is
  // ignored.
  if ((wParam & 0xFFF0) == SC_CLOSE && ConfirmLeaveSettings()) Show(SW_HIDE);
  SetMsgHandled(false);
  return 0;
}

// ---- the keyboard

bool CWindowMain::PreTranslateMessage(const MSG& msg) {
  if (!msg.hwnd || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd))) return false;
  if (OnMenuKey(msg)) return true;
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd == m_wndToolBar.m_hWnd) return OnToolbarKey(msg.wParam);
  if (msg.wParam != VK_F6 || (::GetKeyState(VK_CONTROL) & 0x8000)) return false;
  SwitchPane();
  return true;
}

void CWindowMain::SwitchPane() {
  HWND focus = ::GetFocus();
  const HWND panel = m_wndLeftPanel.m_hWnd;
  if (focus != panel && !::IsChild(panel, focus)) {
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_wndLeftPanel.m_wndTree.m_hWnd), TRUE);
    return;
  }
  FocusPage(m_nCurrentPage);
}

void CWindowMain::FocusPage(int32_t pageId) {
  const PageRef* page = FindPage(pageId);
  if (!page) return;
  // The page's first control, as Tab from the tree reaches it.
  if (HWND first = ::GetNextDlgTabItem(page->pWnd->m_hWnd, nullptr, FALSE)) {
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  }
}

namespace {

// The command of the toolbar's button at `index` when it can be chosen (not
// the spacer), else 0.
int ChoosableCommand(HWND toolbar, int index) {
  TBBUTTON button{};
  const bool read = ::SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(&button)) != FALSE;
  return read && (button.fsState & TBSTATE_ENABLED) && button.idCommand != ID_BUTTON_SPACER
             ? button.idCommand
             : 0;
}

}  // namespace

bool CWindowMain::OnMenuKey(const MSG& msg) {
  // Alt or F10 pressed and let go with no other key between, wherever the
  // focus is. The system's own handling of them runs in the focused
  // control's default procedure, which the navigation tree never calls.
  const WPARAM key = msg.wParam;
  const bool menuKey = key == VK_MENU || key == VK_F10;
  // Shift+F10 is the context menu's key, and Ctrl with Alt is AltGr.
  const bool modified = (::GetKeyState(VK_SHIFT) & 0x8000) || (::GetKeyState(VK_CONTROL) & 0x8000);
  const bool repeat = (msg.lParam & (1L << 30)) != 0;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!repeat) m_nMenuKeyDown = menuKey && !modified ? key : 0;
      return false;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (key != std::exchange(m_nMenuKeyDown, 0) || !menuKey) return false;
      if (::GetFocus() == m_wndToolBar.m_hWnd) {
        LeaveToolbar();
      } else {
        EnterToolbar();
      }
      return true;  // not again by the system's handling
    default: return false;
  }
}

void CWindowMain::EnterToolbar() {
  m_hFocusBeforeToolbar = ::GetFocus();
  ::SetFocus(m_wndToolBar.m_hWnd);
  m_wndToolBar.Send(TB_SETHOTITEM, 0);
}

void CWindowMain::LeaveToolbar() {
  m_wndToolBar.Send(TB_SETHOTITEM, static_cast<WPARAM>(-1));
  if (!fw::GiveFocusBack(std::exchange(m_hFocusBeforeToolbar, nullptr)))
    fw::GiveFocusBack(m_wndLeftPanel.m_wndTree.m_hWnd);
}

bool CWindowMain::OnToolbarKey(WPARAM key) {
  const HWND toolbar = m_wndToolBar.m_hWnd;
  const int count = static_cast<int>(m_wndToolBar.Send(TB_BUTTONCOUNT));
  const int hot = static_cast<int>(m_wndToolBar.Send(TB_GETHOTITEM));
  // The next choosable button from `from` in steps of `step`, wrapping.
  auto next = [&](int from, int step) {
    for (int i = 1; i <= count; ++i) {
      const int index = ((from + step * i) % count + count) % count;
      if (ChoosableCommand(toolbar, index)) return index;
    }
    return from;
  };
  int newHot = -1;
  switch (key) {
    case VK_LEFT:
    case VK_UP: newHot = next(hot, -1); break;
    case VK_RIGHT:
    case VK_DOWN: newHot = next(hot, 1); break;
    case VK_HOME: newHot = next(-1, 1); break;
    case VK_END: newHot = next(count, -1); break;
    case VK_RETURN:
    case VK_SPACE: {
      const int command = hot >= 0 ? ChoosableCommand(toolbar, hot) : 0;
      LeaveToolbar();
      // Posted: Exit destroys the window this key came to.
      if (command)
        Post(WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
      return true;
    }
    case VK_ESCAPE:
    case VK_TAB: LeaveToolbar(); return true;
    default: return false;
  }
  m_wndToolBar.Send(TB_SETHOTITEM, static_cast<WPARAM>(newHot));
  return true;
}

LRESULT CWindowMain::OnEndSession(WPARAM wParam, LPARAM lParam) {
  ::DefWindowProcA(m_hWnd, WM_ENDSESSION, wParam, lParam);
  // Whether or not the session really ends, the settings are saved now.
  ExitApplication();
  return 0;
}

void CWindowMain::OnTools() {
  if (!ConfirmLeaveSettings()) return;
  SelectToolbarButton(ID_BUTTON_TOOLS);
  m_wndLeftPanel.SetPageSet(0);
}

void CWindowMain::OnHelp() {
  if (!ConfirmLeaveSettings()) return;
  SelectToolbarButton(ID_BUTTON_HELP);
  m_wndLeftPanel.SetPageSet(1);
}

void CWindowMain::OnExit() {
  if (ConfirmLeaveSettings()) ExitApplication();
}

void CWindowMain::OnMenuHelp() {
  if (!ConfirmLeaveSettings()) return;
  ShowMainWindow();
  SelectToolbarButton(ID_BUTTON_HELP);
  m_wndLeftPanel.SetPageSet(1);
  m_wndLeftPanel.SelectPage(PAGE_HELP);
}

void CWindowMain::OnMenuOpen() { ShowMainWindow(); }

void CWindowMain::OnCancel() {
  // Esc and the close box: the window stays as it is.
}

bool CWindowMain::AskStopWorker() {
  const bool search = g_AppData.m_nRunningTask == TASK_SEARCH;
  // The running worker's own words (a move to the Recycle Bin is no delete);
  // the task's when no window runs one.
  const CWorkerThread* worker = m_pWorkerHost ? m_pWorkerHost->GetRunningWorker() : nullptr;
  const char* caption = worker   ? worker->GetCaption()
                        : search ? "Files Searching"
                                 : "Deleting Files";
  const char* text = worker   ? worker->GetExitQuestion()
                     : search ? " Searching is in progress. Do you really want to exit?"
                              : "Deleting Files. Do you really want to exit?";
  HWND progress = m_pWorkerHost ? m_pWorkerHost->GetProgressWindow() : nullptr;
  if (progress) ::SendMessageA(progress, WM_WORKER_PAUSE, 0, 0);
  const bool exit = AskYesNo(m_hWnd, caption, "", text, IDI_QUESTION);
  if (progress) ::SendMessageA(progress, WM_WORKER_RESUME, 0, 0);
  if (!exit) return false;
  if (progress) ::SendMessageA(progress, WM_WORKER_STOP, 0, 0);
  return true;
}

void CWindowMain::ExitApplication() {
  if ((g_AppData.m_nRunningTask == TASK_SEARCH || g_AppData.m_nRunningTask == TASK_DELETE) &&
      !AskStopWorker()) {
    return;
  }
  // The worker writes to the pages, the result store and the progress
  // window; none of them may go before it has ended. One that clears
  // m_nRunningTask before its final refill of the list is not done yet.
  CWorkerThread* worker = m_pWorkerHost ? m_pWorkerHost->GetUnfinishedWorker() : nullptr;
  const bool workerEnded = !worker || WaitForWorkerEnd(*worker, m_nWorkerEndBound);

  // A run by itself uses no page; it ends before anything else does.
  g_SearchScheduler.StopForExit();
  RemoveTrayIcon();
  m_pTrayMenu = nullptr;
  m_menuTray.Reset();

  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ::GetWindowPlacement(m_hWnd, &placement);
  const RECT& normal = placement.rcNormalPosition;
  g_AppData.m_nWindowLeft = normal.left;
  g_AppData.m_nWindowTop = normal.top;
  g_AppData.m_nWindowWidth = normal.right - normal.left;
  g_AppData.m_nWindowHeight = normal.bottom - normal.top;
  g_AppData.m_nWindowShowCmd = IsVisible() ? static_cast<int32_t>(placement.showCmd) : 0;
  g_AppData.m_nSplitterPos = RectInClient(m_wndSplitter.m_hWnd, m_hWnd).left;

  m_mapPages.clear();
  g_SearchPage.RememberAtExit();
  if (!g_AppData.m_bKeepUnreadSettingsFile) g_AppData.SaveSettings();
  // A worker stuck past the bound (a hung network drive, say) still uses the
  // pages and the result store: end here, before any of it is destroyed.
  // ExitProcess would still run the static destructors under it.
  if (!workerEnded) ::TerminateProcess(::GetCurrentProcess(), 0);
  ::Sleep(500);
  DestroyWindow();
}
