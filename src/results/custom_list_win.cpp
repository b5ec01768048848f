#include "results/custom_list_win.h"

#include "framework/dpi.h"
#include "framework/dpi_win.h"
#include "framework/run_on_thread_win.h"
#include "framework/worker_messages.h"

// One window's hook: whose it is and what it stands in front of. The window
// keeps it in its user data. SetWindowSubclass would do the same, but Wine
// looks its records up in a window property, a trip to its server on every
// message; at six messages a row a refill of 100000 rows paid half a minute.
struct CCustomList::Hook {
  CCustomList* self;
  WNDPROC previous;
  WNDPROC own;

  static Hook* Install(CCustomList* self, HWND hwnd, WNDPROC own) {
    auto* hook = new Hook{self, nullptr, own};
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hook));
    // The wide forms: the controls are wide windows and stay so.
    hook->previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own)));
    return hook;
  }
  static Hook* Of(HWND hwnd) {
    return reinterpret_cast<Hook*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }

  // Takes the hook out of the window's chain when nobody has put another in
  // front of it since; otherwise it stays, forwarding only, until the
  // window's end.
  static void Remove(Hook*& hook, HWND hwnd) {
    if (!hook) return;
    if (::IsWindow(hwnd) &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == hook->own) {
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete hook;
    } else {
      hook->self = nullptr;
    }
    hook = nullptr;
  }

  // Passes a message on to the window's own procedure; the window's last
  // message takes the hook with it.
  static LRESULT Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Hook* hook = Of(hwnd);
    const LRESULT result = ::CallWindowProcW(hook->previous, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete hook;
    }
    return result;
  }
};

namespace {

// The header reads its items' texts at most this long.
constexpr int kMaxHeaderText = 100;

// The timer of the deferred work; the list's own timers use small ids.
constexpr UINT_PTR kDeferredTimer = 0x51DE;

// What must find the deferred work done: the user's input to the list (it
// may change the selection, or scroll rows into view), a new size, and the
// questions and changes of its items' states from anyone.
bool NeedsDeferredWorkDone(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_CONTEXTMENU:
    case WM_SIZE:
    case LVM_GETNEXTITEM:
    case LVM_GETSELECTEDCOUNT:
    case LVM_GETITEMSTATE:
    case LVM_GETITEMA:
    case LVM_GETITEMW:
    case LVM_SETITEMSTATE:
    case LVM_GETSELECTIONMARK:
    case LVM_SETITEMCOUNT:
    case LVM_DELETEALLITEMS:
    case LVM_ENSUREVISIBLE:
    case LVM_SCROLL: return true;
    default: return false;
  }
}

TTTOOLINFOA MakeToolInfo(HWND header, int column) {
  TTTOOLINFOA tool{};
  // The version-5 size: the control of both versions 5 and 6 takes it.
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = header;
  tool.uId = static_cast<UINT_PTR>(column) + 1;
  return tool;
}

}  // namespace

CCustomList::~CCustomList() {
  Unhook();
  if (m_wndHeaderTip.m_hWnd && ::IsWindow(m_wndHeaderTip.m_hWnd)) {
    ::DestroyWindow(m_wndHeaderTip.m_hWnd);
  }
}

void CCustomList::SetListStyles() const {
  LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK | LVS_SINGLESEL)) | LVS_REPORT |
          LVS_SHOWSELALWAYS;
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
  SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void CCustomList::InitHeaderToolTips() {
  if (!m_hWnd || m_wndHeaderTip.m_hWnd) return;
  // A tooltip is a pop-up: the list is named as its parent, but the system
  // makes the list's top-level window its owner, so the list's end does not
  // take the tooltip with it: its last message and the destructor do.
  m_wndHeaderTip.Attach(::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                          nullptr, ::GetModuleHandleA(nullptr), nullptr));
  if (!m_wndHeaderTip.m_hWnd) return;
  m_wndHeaderTip.Send(TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(100, fw::DpiOf(m_hWnd)));
  m_wndHeaderTip.Send(TTM_ACTIVATE, TRUE);

  m_pListHook = Hook::Install(this, m_hWnd, ListProc);
  if (HWND header = GetHeader()) m_pHeaderHook = Hook::Install(this, header, HeaderProc);
}

RECT CCustomList::ToolRect(int left, int width) const {
  RECT client{};
  ::GetClientRect(GetHeader(), &client);
  return RECT{left, 0, left + width, client.bottom};
}

BOOL CCustomList::AddHeaderToolTip(int nColumn, const char* pszText) {
  HWND header = GetHeader();
  if (!header || !m_wndHeaderTip.m_hWnd) return FALSE;
  if (nColumn < 0 || nColumn >= static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)))
    return FALSE;

  int left = -::GetScrollPos(m_hWnd, SB_HORZ);
  for (int column = 0; column < nColumn; ++column) {
    left += static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
  }
  const int width = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nColumn)));

  char ownText[kMaxHeaderText + 1] = {};
  if (!pszText) {
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = ownText;
    item.cchTextMax = sizeof ownText;
    if (!::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(nColumn),
                        reinterpret_cast<LPARAM>(&item)))
      return FALSE;
    pszText = ownText;
  }

  TTTOOLINFOA tool = MakeToolInfo(header, nColumn);
  tool.rect = ToolRect(left, width);
  tool.lpszText = const_cast<char*>(pszText);
  return m_wndHeaderTip.Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) ? TRUE : FALSE;
}

void CCustomList::UpdateHeaderToolTipRects() {
  HWND header = GetHeader();
  if (!header || !m_wndHeaderTip.m_hWnd) return;
  // Header items sit at fixed places in the header's own coordinates: when
  // the list scrolls sideways the header window moves, not its items.
  const int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  int left = 0;
  for (int column = 0; column < count; ++column) {
    const int width = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    TTTOOLINFOA tool = MakeToolInfo(header, column);
    tool.rect = ToolRect(left, width);
    m_wndHeaderTip.Send(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    left += width;
  }
}

void CCustomList::DeferWork(DeferredWork work) {
  CancelDeferredWork();
  if (!m_hWnd || !work) return;
  m_fnDeferred = std::move(work);
  ::SetTimer(m_hWnd, kDeferredTimer, USER_TIMER_MINIMUM, nullptr);
}

void CCustomList::FinishDeferredWork() {
  if (!m_fnDeferred || m_bRunningDeferred) return;
  if (m_hWnd) ::KillTimer(m_hWnd, kDeferredTimer);
  DeferredWork work = std::move(m_fnDeferred);
  m_fnDeferred = nullptr;
  m_bRunningDeferred = true;
  work(true);
  m_bRunningDeferred = false;
}

void CCustomList::CancelDeferredWork() {
  if (m_hWnd) ::KillTimer(m_hWnd, kDeferredTimer);
  m_fnDeferred = nullptr;
  ++m_nDeferredGeneration;
}

bool CCustomList::ShouldYield() {
  return HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0;
}

void CCustomList::RunDeferredSlice() {
  ::KillTimer(m_hWnd, kDeferredTimer);
  if (!m_fnDeferred || m_bRunningDeferred) return;
  // Out of the member while it runs: what it calls may replace or cancel
  // the work, which must not destroy the function still running.
  DeferredWork work = std::move(m_fnDeferred);
  m_fnDeferred = nullptr;
  const uint32_t generation = m_nDeferredGeneration;
  m_bRunningDeferred = true;
  const bool done = work(false);
  m_bRunningDeferred = false;
  // Replaced or cancelled meanwhile: that stands. Otherwise the rest waits
  // for the next slice.
  if (done || generation != m_nDeferredGeneration || !m_hWnd) return;
  m_fnDeferred = std::move(work);
  ::SetTimer(m_hWnd, kDeferredTimer, USER_TIMER_MINIMUM, nullptr);
}

void CCustomList::Unhook() {
  Hook::Remove(m_pHeaderHook, GetHeader());
  Hook::Remove(m_pListHook, m_hWnd);
}

LRESULT CALLBACK CCustomList::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CCustomList* self = Hook::Of(hwnd)->self;
  if (!self) return Hook::Forward(hwnd, message, wParam, lParam);
  if (self->m_fnDeferred && !self->m_bRunningDeferred && NeedsDeferredWorkDone(message)) {
    self->FinishDeferredWork();
  }
  switch (message) {
    case WM_RUN_TASK: return fw::RunSentTask(lParam);
    case WM_TIMER:
      if (wParam == kDeferredTimer) {
        self->RunDeferredSlice();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      // A column's new width, from a drag or from the program: the header
      // says so in the narrow or the wide form, as its parent asked.
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == self->GetHeader() &&
          (header->code == HDN_ITEMCHANGEDA || header->code == HDN_ITEMCHANGEDW)) {
        self->UpdateHeaderToolTipRects();
      }
      break;
    }
    case WM_NCDESTROY: {
      self->m_fnDeferred = nullptr;
      ++self->m_nDeferredGeneration;
      // The header went before; its hook went with it.
      self->m_pHeaderHook = nullptr;
      self->m_pListHook = nullptr;
      if (self->m_wndHeaderTip.m_hWnd) ::DestroyWindow(self->m_wndHeaderTip.m_hWnd);
      self->m_wndHeaderTip.m_hWnd = nullptr;
      if (self->m_hWnd == hwnd) self->m_hWnd = nullptr;
      break;
    }
  }
  return Hook::Forward(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CCustomList::HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CCustomList* self = Hook::Of(hwnd)->self;
  if (self && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && self->m_wndHeaderTip.m_hWnd) {
    // The tooltip learns where the mouse rests only from what it is shown.
    MSG relayed{hwnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::GetCursorPos(&relayed.pt);
    self->m_wndHeaderTip.Send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  if (self && message == WM_NCDESTROY) self->m_pHeaderHook = nullptr;
  return Hook::Forward(hwnd, message, wParam, lParam);
}
