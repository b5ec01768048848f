#pragma once
// Windows and dialogs whose handlers are bound by one table per class.
//
//   class CWindowSample : public fw::CBound<CWindowSample, fw::CDialog> {
//    public:
//     CWindowSample() : Bound(IDD_SAMPLE) {}
//    private:
//     void OnFind();
//     void OnSize(UINT type, int cx, int cy);
//     LRESULT OnItemChanged(NMHDR* header);
//     friend Bound;  // it reads the table
//     static constexpr fw::MessageEntry<CWindowSample> kMessageTable[] = {
//         {fw::Message<WM_SIZE>, &CWindowSample::OnSize},
//         {fw::Command(IDC_FIND), &CWindowSample::OnFind},
//         {fw::Notify(IDC_LIST, LVN_ITEMCHANGED), &CWindowSample::OnItemChanged},
//     };
//   };
//
// A message with a cracker below (MessageTraits) must have a handler of the
// cracker's shape; any other message takes `void()` (result 0) or the raw
// `LRESULT(WPARAM, LPARAM)`. The compiler rejects a handler of the wrong shape.
//
// The object is reached through the creation parameter (WM_NCCREATE for
// windows, WM_INITDIALOG for dialogs) and kept in the window's own user data;
// there is no map from handles to objects.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "framework/message_table.h"
#include "framework/run_on_thread_win.h"
#include "framework/worker_messages.h"

static_assert(fw::kCommandMessage == WM_COMMAND);
static_assert(fw::kNotifyMessage == WM_NOTIFY);

namespace fw {

class CDataExchange;

// The shapes a handler can have. A cracker below must use one of them; a new
// shape goes on this list.
template <class T>
using AnyHandler =
    std::variant<void (T::*)(), LRESULT (T::*)(WPARAM, LPARAM), LRESULT (T::*)(NMHDR*),
                 void (T::*)(UINT, int, int), void (T::*)(MINMAXINFO*), void (T::*)(UINT_PTR)>;

// Crackers: how a message's parameters become a handler's arguments.
// Specialise for a message to give its handlers typed arguments.
template <UINT M>
struct MessageTraits {
  static constexpr bool kCracked = false;
};

template <>
struct MessageTraits<WM_SIZE> {
  static constexpr bool kCracked = true;
  using Handler = void(UINT type, int cx, int cy);
  template <class T>
  static LRESULT Call(T& w, Handler T::*h, WPARAM wParam, LPARAM lParam) {
    (w.*h)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
  }
};

template <>
struct MessageTraits<WM_GETMINMAXINFO> {
  static constexpr bool kCracked = true;
  using Handler = void(MINMAXINFO* info);
  template <class T>
  static LRESULT Call(T& w, Handler T::*h, WPARAM, LPARAM lParam) {
    (w.*h)(reinterpret_cast<MINMAXINFO*>(lParam));
    return 0;
  }
};

template <>
struct MessageTraits<WM_TIMER> {
  static constexpr bool kCracked = true;
  using Handler = void(UINT_PTR timerId);
  template <class T>
  static LRESULT Call(T& w, Handler T::*h, WPARAM wParam, LPARAM) {
    (w.*h)(static_cast<UINT_PTR>(wParam));
    return 0;
  }
};

template <UINT M>
struct MessageTag {};
template <UINT M>
inline constexpr MessageTag<M> Message{};

struct CommandTag {
  UINT id;
};
struct ControlTag {
  UINT id;
  UINT code;
};
struct NotifyTag {
  UINT id;
  UINT code;
};
constexpr CommandTag Command(UINT id) { return {id}; }
constexpr ControlTag Control(UINT id, UINT code) { return {id, code}; }
constexpr NotifyTag Notify(UINT id, UINT code) { return {id, code}; }

// One line of class T's table.
template <class T>
struct MessageEntry {
  using Invoker = LRESULT (*)(T&, const AnyHandler<T>&, WPARAM, LPARAM);

  MessageKey key;
  AnyHandler<T> handler;
  Invoker invoke = nullptr;

  template <UINT M, class H>
  constexpr MessageEntry(MessageTag<M>, H T::*member)
      : key{EntryKind::kMessage, M, 0, 0}, handler(member) {
    if constexpr (MessageTraits<M>::kCracked) {
      static_assert(std::is_same_v<H, typename MessageTraits<M>::Handler>,
                    "the handler's arguments do not match the message's cracker");
      invoke = &CallCracked<M>;
    } else if constexpr (std::is_same_v<H, void()>) {
      invoke = &CallVoid;
    } else {
      static_assert(std::is_same_v<H, LRESULT(WPARAM, LPARAM)>,
                    "a message without a cracker takes void() or LRESULT(WPARAM, LPARAM)");
      invoke = &CallRaw;
    }
  }
  constexpr MessageEntry(CommandTag tag, void (T::*member)())
      : key{EntryKind::kCommand, WM_COMMAND, tag.id, 0}, handler(member), invoke(&CallVoid) {}
  constexpr MessageEntry(ControlTag tag, void (T::*member)())
      : key{EntryKind::kControl, WM_COMMAND, tag.id, tag.code},
        handler(member),
        invoke(&CallVoid) {}
  constexpr MessageEntry(NotifyTag tag, LRESULT (T::*member)(NMHDR*))
      : key{EntryKind::kNotify, WM_NOTIFY, tag.id, tag.code},
        handler(member),
        invoke(&CallNotify) {}

 private:
  template <UINT M>
  static LRESULT CallCracked(T& w, const AnyHandler<T>& h, WPARAM wParam, LPARAM lParam) {
    using Traits = MessageTraits<M>;
    return Traits::Call(w, std::get<typename Traits::Handler T::*>(h), wParam, lParam);
  }
  static LRESULT CallVoid(T& w, const AnyHandler<T>& h, WPARAM, LPARAM) {
    (w.*std::get<void (T::*)()>(h))();
    return 0;
  }
  static LRESULT CallRaw(T& w, const AnyHandler<T>& h, WPARAM wParam, LPARAM lParam) {
    return (w.*std::get<LRESULT (T::*)(WPARAM, LPARAM)>(h))(wParam, lParam);
  }
  static LRESULT CallNotify(T& w, const AnyHandler<T>& h, WPARAM, LPARAM lParam) {
    return (w.*std::get<LRESULT (T::*)(NMHDR*)>(h))(reinterpret_cast<NMHDR*>(lParam));
  }
};

// The query the lookup needs from one message.
MessageQuery MakeQuery(UINT message, WPARAM wParam, LPARAM lParam);

// A window handle and the few calls every window and control needs. Does not
// own the window: controls die with their dialog.
class CWnd {
 public:
  CWnd() = default;
  explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}

  HWND m_hWnd = nullptr;

  void Attach(HWND hwnd) { m_hWnd = hwnd; }
  // Binds to the child with this id; false when there is none.
  bool AttachDlgItem(HWND parent, int id);
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

  std::string GetText() const;
  void SetText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
  // A control disabled while it has the focus hands the focus on first (see
  // MoveFocusOn): a disabled control keeps the focus from every key.
  void Enable(bool enable) const;
  bool IsEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
  void Show(int showCommand) const { ::ShowWindow(m_hWnd, showCommand); }
  bool IsVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
  void Move(int x, int y, int width, int height, bool repaint = true) const {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint ? TRUE : FALSE);
  }
  void Move(const RECT& rect, bool repaint = true) const {
    Move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
  }
  void SetFont(HFONT font, bool redraw = true) const {
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
  }
  RECT GetWindowRect() const;
  RECT GetClientRect() const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
  }
};

// A window whose messages go through its class's table. Destroying the object
// destroys its window.
class CMessageWnd : public CWnd {
 public:
  CMessageWnd() = default;
  virtual ~CMessageWnd();
  CMessageWnd(const CMessageWnd&) = delete;
  CMessageWnd& operator=(const CMessageWnd&) = delete;

  void DestroyWindow();

 protected:
  // The class's table: each class with handlers overrides this with
  //   return Dispatch(kMessageTable, message, wParam, lParam, result);
  // True when a handler took the message; `result` is then its answer.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return false;
  }

  template <class T, size_t N>
  bool Dispatch(const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam, LPARAM lParam,
                LRESULT& result) {
    static_assert(std::is_base_of_v<CMessageWnd, T>);
    // Every window takes work handed over from another thread.
    if (message == WM_RUN_TASK) {
      result = RunSentTask(lParam);
      return true;
    }
    const MessageEntry<T>* entry =
        FindEntry(std::span<const MessageEntry<T>>(table), MakeQuery(message, wParam, lParam));
    if (!entry) return false;
    // Handlers may send messages to their own window: keep the outer flag.
    bool outer = std::exchange(m_bMsgHandled, true);
    result = entry->invoke(static_cast<T&>(*this), entry->handler, wParam, lParam);
    return std::exchange(m_bMsgHandled, outer);
  }

  // Called from a handler: let the default handling run after it, as if no
  // entry had taken the message.
  void SetMsgHandled(bool handled) { m_bMsgHandled = handled; }

  // The window is going away: forget the handle, end the loop for the main window.
  void OnFinalMessage();

  // The end of a message that reached the table through a dialog procedure:
  // the final message is noted, and the result goes where DefDlgProc looks
  // for it.
  static INT_PTR AnswerAsDialogProc(CMessageWnd& self, HWND hwnd, UINT message, bool handled,
                                    LRESULT result);

 private:
  friend class CWindow;
  friend class CDialog;
  bool m_bMsgHandled = true;
  // Where the window keeps `this`: a window's own user data, or the dialog
  // manager's slot for dialogs and windows of a dialog class.
  int m_nThisSlot = GWLP_USERDATA;
};

// A window created from a registered class: one whose procedure is
// WindowProc (Create), or one whose procedure is DefDlgProcA, so that its
// windows behave as dialogs: Esc and the close box arrive as IDCANCEL
// (CreateInDialogClass).
class CWindow : public CMessageWnd {
 public:
  CWindow() = default;
  // Destroys the window while the object is still whole.
  ~CWindow() override { DestroyWindow(); }

  HWND Create(DWORD exStyle, const char* className, const char* text, DWORD style, const RECT& rect,
              HWND parent, UINT id);
  // For a class whose procedure is DefDlgProcA itself (DLGWINDOWEXTRA window
  // bytes): such a window has no template and no creation parameter the
  // dialog manager passes on, so the table goes into its dialog-procedure
  // slot as soon as the window exists. The messages of the creation itself
  // get the default handling.
  HWND CreateInDialogClass(DWORD exStyle, const char* className, const char* text, DWORD style,
                           const RECT& rect, HWND parent, UINT id);

  // The system calls these: nothing may leave them, not even an exception.
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;

 private:
  static INT_PTR CALLBACK DialogSlotProc(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept;
};

// A dialog from a template of the program's resources, modal or modeless.
class CDialog : public CMessageWnd {
 public:
  explicit CDialog(UINT templateId) : m_nTemplateId(templateId) {}
  ~CDialog() override { DestroyWindow(); }

  // Runs the dialog modally; its end result, or -1 when it could not be created.
  INT_PTR DoModal(HWND owner);
  // Creates the dialog modeless; null on failure.
  HWND Create(HWND parent);
  void EndDialog(INT_PTR result);

  // Reads every control into its member (save) or writes every member back.
  void UpdateData(bool save);

  UINT GetTemplateId() const { return m_nTemplateId; }

 protected:
  // After the controls exist and before the dialog shows. TRUE leaves the
  // focus to the system.
  virtual BOOL OnInitDialog() { return TRUE; }
  // Binds controls to members, in both directions (see data_exchange_win.h).
  virtual void DoDataExchange(CDataExchange&) {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;

  UINT m_nTemplateId;
  bool m_bModal = false;
};

// Binds class T's own table, T::kMessageTable, and checks once for every
// class that no two of its entries share a key (see the sample at the top).
template <class T, class Base>
class CBound : public Base {
 public:
  using Base::Base;

 protected:
  using Bound = CBound;

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    static_assert(HasUniqueKeys<MessageEntry<T>>(T::kMessageTable),
                  "two entries of the table share a key");
    return this->Dispatch(T::kMessageTable, message, wParam, lParam, result);
  }
};

// The program's main window: boxes opened without an owner are owned by its
// last active pop-up, and its destruction ends the message loop. Worker
// threads read it, so it is kept atomically.
void SetMainWindow(HWND hwnd);
HWND GetMainWindow();

// Gives the keyboard focus back to a control after a box or a progress
// window that took it has closed: the system would hand it to whatever its
// dialog manager last saw, a control since disabled or the first of the
// window. False when the control can no longer take it (gone, hidden,
// disabled).
bool GiveFocusBack(HWND control);
// Before `control` is disabled: when it, or a window within it, has the focus,
// the focus goes on to the next tab stop of its dialog, as Tab would take it;
// where its dialog has no other, to the next of the whole window.
void MoveFocusOn(HWND control);
// The same around a modal box: the focus of the moment goes back when the
// object ends.
class CKeepFocus {
 public:
  CKeepFocus() : m_hFocus(::GetFocus()) {}
  ~CKeepFocus() { GiveFocusBack(m_hFocus); }
  CKeepFocus(const CKeepFocus&) = delete;
  CKeepFocus& operator=(const CKeepFocus&) = delete;

 private:
  HWND m_hFocus;
};

// Runs the thread's message loop until WM_QUIT; returns the quit code. Keys
// for dialog windows go through the dialog manager first, and before it
// through `preTranslate`, which takes a message by returning true: keys the
// dialog manager would take for its own (F6, the arrows on a toolbar).
int RunMessageLoop(const std::function<bool(const MSG&)>& preTranslate = {});

}  // namespace fw
