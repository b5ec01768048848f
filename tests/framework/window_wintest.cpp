#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/window_win.h"
#include "resources/resource.h"
#include "support/box_answerer_ui_win.h"

namespace {

constexpr UINT WM_TEST_RAW = WM_APP + 1;
constexpr UINT WM_TEST_VOID = WM_APP + 2;
constexpr UINT IDC_TEST_EDIT = 40;
constexpr UINT IDC_TEST_LIST = 41;
constexpr UINT ID_TEST_COMMAND = 500;

// A window with one entry of every kind; each handler records what it got.
class CTableWindow : public fw::CWindow {
 public:
  static constexpr const char* kClass = "QuilloryTableWindow";

  static void Register(WNDPROC proc, const char* name, int extraBytes) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    ::RegisterClassA(&windowClass);
  }

  HWND CreateTopLevel(const char* className = kClass) {
    return Create(0, className, "Table window", WS_OVERLAPPEDWINDOW, RECT{10, 10, 410, 310},
                  nullptr, 0);
  }

  std::vector<std::string> m_calls;
  int m_cx = -1;
  int m_cy = -1;
  UINT m_sizeType = 99;
  UINT_PTR m_timerId = 0;
  WPARAM m_rawWParam = 0;
  LPARAM m_rawLParam = 0;
  UINT m_notifyCode = 0;
  bool m_bLetSetTextThrough = true;
  bool m_bSeenCreate = false;

 private:
  LRESULT OnCreate(WPARAM, LPARAM) {
    // `this` must already be bound when the window's first real message comes.
    m_bSeenCreate = true;
    return 0;
  }
  void OnSize(UINT type, int cx, int cy) {
    m_sizeType = type;
    m_cx = cx;
    m_cy = cy;
  }
  void OnTimer(UINT_PTR id) {
    m_timerId = id;
    ::KillTimer(m_hWnd, id);
  }
  LRESULT OnRaw(WPARAM wParam, LPARAM lParam) {
    m_rawWParam = wParam;
    m_rawLParam = lParam;
    return 1234;
  }
  void OnVoid() { m_calls.push_back("void"); }
  void OnCommand() { m_calls.push_back("command"); }
  void OnEditChange() { m_calls.push_back("edit change"); }
  LRESULT OnListNotify(NMHDR* header) {
    m_notifyCode = header->code;
    return 77;
  }
  LRESULT OnSetText(WPARAM, LPARAM) {
    m_calls.push_back("set text");
    SetMsgHandled(m_bLetSetTextThrough ? false : true);
    return TRUE;
  }
  void OnCancel() { m_calls.push_back("cancel"); }

  static constexpr fw::MessageEntry<CTableWindow> kMessageTable[] = {
      {fw::Message<WM_CREATE>, &CTableWindow::OnCreate},
      {fw::Message<WM_SIZE>, &CTableWindow::OnSize},
      {fw::Message<WM_TIMER>, &CTableWindow::OnTimer},
      {fw::Message<WM_TEST_RAW>, &CTableWindow::OnRaw},
      {fw::Message<WM_TEST_VOID>, &CTableWindow::OnVoid},
      {fw::Message<WM_SETTEXT>, &CTableWindow::OnSetText},
      {fw::Command(ID_TEST_COMMAND), &CTableWindow::OnCommand},
      {fw::Command(IDCANCEL), &CTableWindow::OnCancel},
      {fw::Control(IDC_TEST_EDIT, EN_CHANGE), &CTableWindow::OnEditChange},
      {fw::Notify(IDC_TEST_LIST, LVN_ITEMCHANGED), &CTableWindow::OnListNotify},
  };
  static_assert(fw::HasUniqueKeys<fw::MessageEntry<CTableWindow>>(kMessageTable));
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return Dispatch(kMessageTable, message, wParam, lParam, result);
  }
};

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CTableWindow::Register(fw::CWindow::WindowProc, CTableWindow::kClass, 0);
    CTableWindow::Register(::DefDlgProcA, "QuilloryDialogClassWindow", DLGWINDOWEXTRA);
  }
};

TEST_F(WindowTest, ObjectIsReachedThroughTheCreationParameter) {
  CTableWindow window;
  HWND hwnd = window.CreateTopLevel();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(window.m_hWnd, hwnd);
  EXPECT_TRUE(window.m_bSeenCreate);
  EXPECT_EQ(::GetWindowLongPtrA(hwnd, GWLP_USERDATA),
            reinterpret_cast<LONG_PTR>(static_cast<fw::CMessageWnd*>(&window)));
}

TEST_F(WindowTest, CrackedMessagesGetTypedArguments) {
  CTableWindow window;
  window.CreateTopLevel();
  window.Send(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(321, 123));
  EXPECT_EQ(window.m_sizeType, static_cast<UINT>(SIZE_MAXIMIZED));
  EXPECT_EQ(window.m_cx, 321);
  EXPECT_EQ(window.m_cy, 123);

  ::SetTimer(window.m_hWnd, 7, 1, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return window.m_timerId == 7; }));
}

TEST_F(WindowTest, RawHandlerAnswersAndVoidHandlerGivesZero) {
  CTableWindow window;
  window.CreateTopLevel();
  EXPECT_EQ(window.Send(WM_TEST_RAW, 5, 6), 1234);
  EXPECT_EQ(window.m_rawWParam, 5u);
  EXPECT_EQ(window.m_rawLParam, 6);
  EXPECT_EQ(window.Send(WM_TEST_VOID), 0);
  EXPECT_EQ(window.m_calls, std::vector<std::string>{"void"});
}

TEST_F(WindowTest, CommandsAndControlNotifications) {
  CTableWindow window;
  window.CreateTopLevel();
  HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window.m_hWnd,
                                reinterpret_cast<HMENU>(IDC_TEST_EDIT), ::GetModuleHandleA(nullptr),
                                nullptr);
  window.Send(WM_COMMAND, MAKEWPARAM(ID_TEST_COMMAND, 0), 0);  // a menu
  window.Send(WM_COMMAND, MAKEWPARAM(ID_TEST_COMMAND, 1), 0);  // an accelerator
  ::SetWindowTextA(edit, "typed");                             // the edit sends EN_CHANGE
  window.Send(WM_COMMAND, MAKEWPARAM(IDC_TEST_EDIT, EN_SETFOCUS), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(window.m_calls, (std::vector<std::string>{"command", "command", "edit change"}));
}

TEST_F(WindowTest, NotifyHandlerGetsTheHeaderAndAnswers) {
  CTableWindow window;
  window.CreateTopLevel();
  NMHDR header{nullptr, IDC_TEST_LIST, LVN_ITEMCHANGED};
  EXPECT_EQ(window.Send(WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&header)), 77);
  EXPECT_EQ(window.m_notifyCode, static_cast<UINT>(LVN_ITEMCHANGED));
  // Another code of the same control goes to the default handling (0).
  window.m_notifyCode = 0;
  header.code = NM_CLICK;
  EXPECT_EQ(window.Send(WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_EQ(window.m_notifyCode, 0u);
}

TEST_F(WindowTest, HandlerCanLetTheDefaultHandlingRunAfterIt) {
  CTableWindow window;
  window.CreateTopLevel();
  window.m_bLetSetTextThrough = true;
  window.SetText("through");
  EXPECT_EQ(window.GetText(), "through");
  window.m_bLetSetTextThrough = false;
  window.SetText("stopped");
  EXPECT_EQ(window.GetText(), "through");
  EXPECT_EQ(window.m_calls, (std::vector<std::string>{"set text", "set text"}));
}

TEST_F(WindowTest, UnmatchedMessagesGetTheDefaultHandling) {
  CTableWindow window;
  window.CreateTopLevel();
  // WM_GETTEXTLENGTH has no entry: the default procedure answers.
  EXPECT_EQ(window.Send(WM_GETTEXTLENGTH),
            static_cast<LRESULT>(std::string("Table window").size()));
}

TEST_F(WindowTest, DestroyingTheObjectDestroysItsWindow) {
  HWND hwnd;
  {
    CTableWindow window;
    hwnd = window.CreateTopLevel();
    ASSERT_TRUE(::IsWindow(hwnd));
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(WindowTest, DestroyingTheMainWindowEndsTheLoop) {
  CTableWindow window;
  window.CreateTopLevel();
  fw::SetMainWindow(window.m_hWnd);
  ::PostMessageA(window.m_hWnd, WM_CLOSE, 0, 0);  // default: DestroyWindow
  EXPECT_EQ(fw::RunMessageLoop(), 0);
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(fw::GetMainWindow(), nullptr);
}

TEST_F(WindowTest, OtherWindowsDoNotEndTheLoop) {
  CTableWindow window;
  window.CreateTopLevel();
  window.DestroyWindow();
  MSG msg;
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WindowTest, DialogClassWindowTurnsCloseIntoCancel) {
  CTableWindow window;
  ASSERT_NE(window.CreateInDialogClass(0, "QuilloryDialogClassWindow", "Dialog class", WS_POPUP,
                                       RECT{0, 0, 200, 100}, nullptr, 0),
            nullptr);
  // The table answers through the dialog procedure's result slot.
  EXPECT_EQ(window.Send(WM_TEST_RAW, 1, 2), 1234);
  window.Send(WM_CLOSE);
  EXPECT_TRUE(PumpUntil([&] { return !window.m_calls.empty(); }));
  EXPECT_EQ(window.m_calls, std::vector<std::string>{"cancel"});
  EXPECT_TRUE(::IsWindow(window.m_hWnd));  // the cancel handler keeps it
}

TEST_F(WindowTest, WindowOfTheDialogManagersOwnClassRunsItsTable) {
  // The class procedure is DefDlgProcA itself, as for the main window.
  CTableWindow::Register(::DefDlgProcA, "QuilloryDefDlgClass", DLGWINDOWEXTRA);
  CTableWindow window;
  HWND hwnd = window.CreateInDialogClass(0, "QuilloryDefDlgClass", "Table window",
                                         WS_OVERLAPPEDWINDOW, RECT{10, 10, 410, 310}, nullptr, 0);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(window.m_hWnd, hwnd);
  EXPECT_FALSE(window.m_bSeenCreate);  // the creation itself had the default handling
  // Results come back through DWLP_MSGRESULT.
  EXPECT_EQ(window.Send(WM_TEST_RAW, 5, 6), 1234);
  NMHDR header{nullptr, IDC_TEST_LIST, LVN_ITEMCHANGED};
  EXPECT_EQ(window.Send(WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&header)), 77);
  // Unhandled and passed-on messages reach the dialog manager's handling.
  window.SetText("through");
  EXPECT_EQ(window.GetText(), "through");
  window.Send(WM_CLOSE);
  EXPECT_TRUE(PumpUntil([&] { return window.m_calls.size() == 2; }));
  EXPECT_EQ(window.m_calls, (std::vector<std::string>{"set text", "cancel"}));
  EXPECT_TRUE(::IsWindow(hwnd));
  window.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(window.m_hWnd, nullptr);
}

// ---- work handed over from another thread

TEST_F(WindowTest, ATaskFromAnotherThreadRunsOnTheWindowsThreadBeforeTheCallReturns) {
  CTableWindow plain;
  CTableWindow dialogClass;
  ASSERT_NE(plain.CreateTopLevel(), nullptr);
  ASSERT_NE(dialogClass.CreateInDialogClass(0, "QuilloryDialogClassWindow", "Dialog class",
                                            WS_POPUP, RECT{0, 0, 200, 100}, nullptr, 0),
            nullptr);
  for (HWND window : {plain.m_hWnd, dialogClass.m_hWnd}) {
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> returned{false};
    bool ranBeforeReturn = false;
    std::thread other([&] {
      const bool done = fw::RunOnWindowThread(window, [&] { ranOn = ::GetCurrentThreadId(); });
      ranBeforeReturn = done && ranOn.load() != 0;
      returned = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
    other.join();
    EXPECT_EQ(ranOn.load(), ::GetCurrentThreadId());
    EXPECT_TRUE(ranBeforeReturn);
  }
  EXPECT_TRUE(plain.m_calls.empty());  // the tables never saw the hand-over

  // On the window's own thread it runs at once; a window that is gone runs nothing.
  int calls = 0;
  EXPECT_TRUE(fw::RunOnWindowThread(plain.m_hWnd, [&] { ++calls; }));
  EXPECT_EQ(calls, 1);

  // The message alone runs nothing: any process may send or post it with
  // any number, a real task's address among them.
  const std::function<void()> foreign = [&] { ++calls; };
  const LPARAM address = reinterpret_cast<LPARAM>(&foreign);
  EXPECT_EQ(plain.Send(WM_RUN_TASK, 0, address), 0);
  ::PostMessageA(plain.m_hWnd, WM_RUN_TASK, 0, address);
  ::PostMessageA(plain.m_hWnd, WM_RUN_TASK, 0, 0x12345678);
  DrainMessages();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(plain.m_calls.empty());

  HWND gone = plain.m_hWnd;
  plain.DestroyWindow();
  EXPECT_FALSE(fw::RunOnWindowThread(gone, [&] { ++calls; }));
  EXPECT_EQ(calls, 1);
}

// ---- dialogs

// The answer box's template, run by a dialog of the test's own.
class CTemplateDialog : public fw::CDialog {
 public:
  CTemplateDialog() : CDialog(IDD_ANSWERBOX) {}

  bool m_bControlsAtInit = false;
  INT_PTR m_nPressAtInit = 0;  // a command the dialog sends itself once shown
  std::vector<std::string> m_calls;

 protected:
  BOOL OnInitDialog() override {
    m_bControlsAtInit = GetDlgItem(IDOK) && GetDlgItem(IDCANCEL);
    if (m_nPressAtInit) Post(WM_COMMAND, MAKEWPARAM(m_nPressAtInit, BN_CLICKED), 0);
    return TRUE;
  }

 private:
  void OnYes() {
    m_calls.push_back("yes");
    EndDialog(42);
  }
  LRESULT OnPing(WPARAM, LPARAM) { return 99; }

  static constexpr fw::MessageEntry<CTemplateDialog> kMessageTable[] = {
      {fw::Command(IDOK), &CTemplateDialog::OnYes},
      {fw::Message<WM_TEST_RAW>, &CTemplateDialog::OnPing},
  };
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return Dispatch(kMessageTable, message, wParam, lParam, result);
  }
};

TEST(Dialog, ModalRunsTheTableAndEndsWithTheHandlersResult) {
  CTemplateDialog dialog;
  dialog.m_nPressAtInit = IDOK;
  EXPECT_EQ(dialog.DoModal(nullptr), 42);
  EXPECT_TRUE(dialog.m_bControlsAtInit);
  EXPECT_EQ(dialog.m_calls, std::vector<std::string>{"yes"});
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Dialog, ModalCancelWithoutEntryEndsTheDialog) {
  CTemplateDialog dialog;
  dialog.m_nPressAtInit = IDCANCEL;
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_TRUE(dialog.m_calls.empty());
}

TEST(Dialog, MissingTemplateFails) {
  fw::CDialog dialog(9999);
  EXPECT_EQ(dialog.DoModal(nullptr), -1);
}

TEST(Dialog, ModelessStaysOnCancelAndAnswersThroughItsTable) {
  CTableWindow::Register(fw::CWindow::WindowProc, "QuilloryDialogHost", 0);
  CTableWindow host;
  host.Create(0, "QuilloryDialogHost", "Host", WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 300}, nullptr,
              0);
  CTemplateDialog page;
  HWND hwnd = page.Create(host.m_hWnd);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(page.m_hWnd, hwnd);
  EXPECT_EQ(::GetWindowLongPtrA(hwnd, DWLP_USER),
            reinterpret_cast<LONG_PTR>(static_cast<fw::CDialog*>(&page)));
  // A dialog procedure answers through DWLP_MSGRESULT; the caller sees the result.
  EXPECT_EQ(page.Send(WM_TEST_RAW), 99);
  page.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(::IsWindow(hwnd));  // a page never closes itself
  page.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(page.m_hWnd, nullptr);
}

}  // namespace
