#include "framework/window_win.h"

#include <atomic>

#include "framework/data_exchange_win.h"

namespace fw {

MessageQuery MakeQuery(UINT message, WPARAM wParam, LPARAM lParam) {
  MessageQuery query{message};
  if (message == WM_COMMAND) {
    query.id = LOWORD(wParam);
    query.code = HIWORD(wParam);
  } else if (message == WM_NOTIFY && lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    query.id = static_cast<uint32_t>(header->idFrom);
    query.code = header->code;
  }
  return query;
}

// ---- CWnd

bool CWnd::AttachDlgItem(HWND parent, int id) {
  m_hWnd = ::GetDlgItem(parent, id);
  return m_hWnd != nullptr;
}

std::string CWnd::GetText() const {
  int length = ::GetWindowTextLengthA(m_hWnd);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void CWnd::Enable(bool enable) const {
  if (!enable) MoveFocusOn(m_hWnd);
  ::EnableWindow(m_hWnd, enable ? TRUE : FALSE);
}

RECT CWnd::GetWindowRect() const {
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  return rect;
}

RECT CWnd::GetClientRect() const {
  RECT rect{};
  ::GetClientRect(m_hWnd, &rect);
  return rect;
}

// ---- CMessageWnd

namespace {

std::atomic<HWND> g_hMainWnd{nullptr};

}  // namespace

CMessageWnd::~CMessageWnd() { DestroyWindow(); }

void CMessageWnd::DestroyWindow() {
  if (!m_hWnd) return;
  HWND hwnd = m_hWnd;
  ::DestroyWindow(hwnd);
  // Destroying another thread's window fails; the window must at least stop
  // reaching this object, which is going away.
  if (::IsWindow(hwnd)) {
    ::SetWindowLongPtrA(hwnd, m_nThisSlot, 0);
    m_hWnd = nullptr;
  }
}

INT_PTR CMessageWnd::AnswerAsDialogProc(CMessageWnd& self, HWND hwnd, UINT message, bool handled,
                                        LRESULT result) {
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self.OnFinalMessage();
  }
  if (!handled) return FALSE;

  switch (message) {
    // These answer through the procedure's own result, the rest through
    // DWLP_MSGRESULT.
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON: return static_cast<INT_PTR>(result);
    default: ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result); return TRUE;
  }
}

void CMessageWnd::OnFinalMessage() {
  HWND hwnd = m_hWnd;
  m_hWnd = nullptr;
  HWND expected = hwnd;
  if (hwnd && g_hMainWnd.compare_exchange_strong(expected, nullptr)) ::PostQuitMessage(0);
}

// ---- CWindow

HWND CWindow::Create(DWORD exStyle, const char* className, const char* text, DWORD style,
                     const RECT& rect, HWND parent, UINT id) {
  // For a child the menu argument carries its id.
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  return ::CreateWindowExA(exStyle, className, text, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                           ::GetModuleHandleA(nullptr), static_cast<CMessageWnd*>(this));
}

HWND CWindow::CreateInDialogClass(DWORD exStyle, const char* className, const char* text,
                                  DWORD style, const RECT& rect, HWND parent, UINT id) {
  HWND hwnd = Create(exStyle, className, text, style, rect, parent, id);
  if (!hwnd) return nullptr;
  m_hWnd = hwnd;
  m_nThisSlot = DWLP_USER;
  ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(static_cast<CMessageWnd*>(this)));
  ::SetWindowLongPtrA(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&DialogSlotProc));
  return hwnd;
}

INT_PTR CALLBACK CWindow::DialogSlotProc(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<CMessageWnd*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  auto* window = static_cast<CWindow*>(self);
  LRESULT result = 0;
  bool handled = window->HandleMessage(message, wParam, lParam, result);
  return AnswerAsDialogProc(*self, hwnd, message, handled, result);
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (auto* self = static_cast<CMessageWnd*>(create->lpCreateParams)) {
      self->m_hWnd = hwnd;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  // A few messages (WM_GETMINMAXINFO) come before WM_NCCREATE: they get the
  // default handling.
  auto* self = reinterpret_cast<CMessageWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);

  auto* window = static_cast<CWindow*>(self);
  LRESULT result = 0;
  if (!window->HandleMessage(message, wParam, lParam, result)) {
    result = ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    window->OnFinalMessage();
  }
  return result;
}

// ---- CDialog

INT_PTR CDialog::DoModal(HWND owner) {
  m_bModal = true;
  INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nTemplateId),
                                     owner, DialogProc, reinterpret_cast<LPARAM>(this));
  m_bModal = false;
  return result;
}

HWND CDialog::Create(HWND parent) {
  m_bModal = false;
  return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nTemplateId), parent,
                              DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

void CDialog::UpdateData(bool save) {
  CDataExchange exchange(m_hWnd, save);
  DoDataExchange(exchange);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialog*>(lParam);
    self->m_hWnd = hwnd;
    self->m_nThisSlot = DWLP_USER;
    ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;  // before WM_INITDIALOG: WM_SETFONT and the like

  LRESULT result = 0;
  bool handled = self->HandleMessage(message, wParam, lParam, result);
  if (!handled && message == WM_COMMAND && self->m_bModal) {
    // A modal dialog ends on OK and Cancel unless its table says otherwise;
    // a page (modeless) never closes itself.
    WORD id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
      ::EndDialog(hwnd, id);
      return TRUE;
    }
  }
  return AnswerAsDialogProc(*self, hwnd, message, handled, result);
}

// ---- the main window and the loop

void SetMainWindow(HWND hwnd) { g_hMainWnd.store(hwnd); }

HWND GetMainWindow() { return g_hMainWnd.load(); }

bool GiveFocusBack(HWND control) {
  if (!control || !::IsWindow(control) || !::IsWindowVisible(control) ||
      !::IsWindowEnabled(control)) {
    return false;
  }
  // Through the dialog manager where there is one, which also moves the
  // default button's frame and selects an edit's text as Tab would.
  ::SendMessageA(::GetAncestor(control, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control),
                 TRUE);
  if (::GetFocus() != control) ::SetFocus(control);
  return ::GetFocus() == control;
}

void MoveFocusOn(HWND control) {
  const HWND focus = ::GetFocus();
  if (!control || !focus || (focus != control && !::IsChild(control, focus)) ||
      !(::GetWindowLongA(control, GWL_STYLE) & WS_CHILD)) {
    return;
  }
  HWND next = ::GetNextDlgTabItem(::GetParent(control), control, FALSE);
  if (!next || next == control)
    next = ::GetNextDlgTabItem(::GetAncestor(control, GA_ROOT), control, FALSE);
  if (next && next != control) GiveFocusBack(next);
}

int RunMessageLoop(const std::function<bool(const MSG&)>& preTranslate) {
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (preTranslate && preTranslate(msg)) continue;
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && ::IsDialogMessageA(root, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace fw
