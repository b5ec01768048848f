#include <gtest/gtest.h>
#include <richedit.h>

#include <atomic>
#include <string>
#include <thread>

#include "dialogs/box_layout.h"
#include "dialogs/message_box_win.h"
#include "dialogs/show_message.h"
#include "framework/dpi_win.h"
#include "framework/window_win.h"
#include "resources/resource.h"
#include "support/box_answerer_ui_win.h"

namespace {

const std::array<int32_t, 5> kAllEnabled{1, 1, 1, 1, 1};
const std::array<std::string, 5> kTemplateLabels{"Yes", "Yes for all", "Cancel", "No",
                                                 "No for all"};
// What the workers ask when a folder is missing or a file cannot go.
const std::array<int32_t, 5> kWorkerEnabled{0, 0, 1, 1, 1};
const std::array<std::string, 5> kWorkerLabels{"", "", "Cancel", "Skip", "Skip all"};

// Each test's boxes get a caption of their own, so a late box of one test is
// never taken for another's.
std::string Caption(const char* what) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->name()) + " " + what;
}

// ---- the answers

TEST(ShowMessageBox, OkEndsIt) {
  std::string caption = Caption("box");
  BoxAnswerer answerer(caption, [](HWND box) { ClickButton(box, IDOK); });
  ShowMessageBox(nullptr, caption, "", "Initialization error.", IDI_MESSAGE);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(FindOwnWindow(caption), nullptr);
}

TEST(ShowMessageBox, EscAndTheCloseBoxEndIt) {
  std::string caption = Caption("box");
  for (auto press : {PressEscape, PressCloseBox}) {
    BoxAnswerer answerer(caption, press);
    ShowMessageBox(nullptr, caption, "", "Please select any folder.", IDI_MESSAGE);
    EXPECT_TRUE(answerer.Answered());
  }
}

TEST(AskYesNo, OnlyYesIsTrue) {
  std::string caption = Caption("question");
  struct Case {
    BoxAnswerer::Action action;
    bool expected;
  };
  const Case cases[] = {
      {[](HWND box) { ClickButton(box, IDOK); }, true},       // Yes
      {[](HWND box) { ClickButton(box, IDCANCEL); }, false},  // No
      {PressEscape, false},
      {PressCloseBox, false},
  };
  for (const Case& c : cases) {
    BoxAnswerer answerer(caption, c.action);
    EXPECT_EQ(AskYesNo(nullptr, caption, "", "Do you want to empty list?", IDI_QUESTION),
              c.expected);
    EXPECT_TRUE(answerer.Answered());
  }
}

TEST(AskYesNo, ShowsYesAndNoWithNoAsDefault) {
  std::string caption = Caption("question");
  std::string yes, no;
  LRESULT defaultId = 0;
  BoxAnswerer answerer(caption, [&](HWND box) {
    yes = fw::CWnd(::GetDlgItem(box, IDOK)).GetText();
    no = fw::CWnd(::GetDlgItem(box, IDCANCEL)).GetText();
    defaultId = ::SendMessageA(box, DM_GETDEFID, 0, 0);
    ClickButton(box, IDCANCEL);
  });
  AskYesNo(nullptr, caption, "", "Do you want to stop searching?", IDI_QUESTION);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(yes, "Yes");
  EXPECT_EQ(no, "No");
  EXPECT_EQ(LOWORD(defaultId), IDCANCEL);
}

TEST(AskChoice, FiveButtonsGiveOneTwoZeroThreeFour) {
  std::string caption = Caption("choice");
  const std::pair<int, int> cases[] = {
      {IDOK, 1}, {IDC_BOX_YES_FOR_ALL, 2}, {IDCANCEL, 0}, {IDC_BOX_NO, 3}, {IDC_BOX_NO_FOR_ALL, 4}};
  for (auto [id, expected] : cases) {
    BoxAnswerer answerer(caption, [id = id](HWND box) { ClickButton(box, id); });
    EXPECT_EQ(AskChoice(nullptr, caption, "", "Replace the file?", IDI_MESSAGE, kAllEnabled,
                        kTemplateLabels),
              expected)
        << "button " << id;
    EXPECT_TRUE(answerer.Answered());
  }
}

TEST(AskChoice, EscAndTheCloseBoxGiveZero) {
  std::string caption = Caption("choice");
  for (auto press : {PressEscape, PressCloseBox}) {
    BoxAnswerer answerer(caption, press);
    EXPECT_EQ(AskChoice(nullptr, caption, "", "Replace the file?", IDI_MESSAGE, kAllEnabled,
                        kTemplateLabels),
              0);
    EXPECT_TRUE(answerer.Answered());
  }
}

TEST(AskChoice, WorkersQueryDisablesTheFirstTwoButtons) {
  std::string caption = Caption("query");
  std::array<bool, 5> enabled{};
  std::array<std::string, 5> labels;
  std::array<RECT, 5> rects{};
  BoxAnswerer answerer(caption, [&](HWND box) {
    for (size_t i = 0; i < 5; ++i) {
      HWND button = ::GetDlgItem(box, CAnswerBoxFull::kButtonIds[i]);
      enabled[i] = ::IsWindowEnabled(button) != FALSE;
      labels[i] = fw::CWnd(button).GetText();
      ::GetWindowRect(button, &rects[i]);
    }
    ClickButton(box, IDCANCEL);
  });
  EXPECT_EQ(
      AskChoice(nullptr, caption, "", "File not found", IDI_MESSAGE, kWorkerEnabled, kWorkerLabels),
      0);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(enabled, (std::array<bool, 5>{false, false, true, true, true}));
  EXPECT_EQ(labels, kWorkerLabels);
  for (size_t i = 1; i < 5; ++i) EXPECT_LT(rects[i - 1].right, rects[i].left) << "left to right";
}

TEST(AskChoice, WorkersQueryAnswers) {
  std::string caption = Caption("query");
  const std::pair<BoxAnswerer::Action, int> cases[] = {
      {[](HWND box) { ClickButton(box, IDCANCEL); }, 0},            // "Cancel"
      {[](HWND box) { ClickButton(box, IDC_BOX_NO); }, 3},          // "Skip"
      {[](HWND box) { ClickButton(box, IDC_BOX_NO_FOR_ALL); }, 4},  // "Skip all"
      {PressEscape, 0},
      {PressCloseBox, 0},
  };
  for (const auto& [action, expected] : cases) {
    BoxAnswerer answerer(caption, action);
    EXPECT_EQ(AskChoice(nullptr, caption, "", "File not found", IDI_MESSAGE, kWorkerEnabled,
                        kWorkerLabels),
              expected);
    EXPECT_TRUE(answerer.Answered());
  }
}

TEST(AskChoice, DisabledButtonsDoNotTakeAClick) {
  std::string caption = Caption("query");
  bool closed = false;
  BoxAnswerer answerer(caption, [&](HWND box) {
    // Real mouse clicks, in one queue: were a disabled button to take its
    // click, the box would end with 1 or 2 before "Skip" is reached.
    ::SetForegroundWindow(box);
    MouseClick(::GetDlgItem(box, IDOK));
    MouseClick(::GetDlgItem(box, IDC_BOX_YES_FOR_ALL));
    MouseClick(::GetDlgItem(box, IDC_BOX_NO));
    closed = WaitUntilClosed(box, 10s);
    if (!closed) ClickButton(box, IDCANCEL);
  });
  int answer =
      AskChoice(nullptr, caption, "", "File not found", IDI_MESSAGE, kWorkerEnabled, kWorkerLabels);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_TRUE(closed) << "the mouse never reached the box";
  EXPECT_EQ(answer, 3);
}

// ---- what the boxes look like

struct Look {
  RECT window{};
  RECT client{};
  RECT text{};  // in the box's client coordinates
  LONG textStyle = 0;
  LONG exStyle = 0;
  int lineHeight = 0;
  int lineCount = 0;
  std::string textContent;
  std::string className;
  int smallIconWidth = 0;  // 0: no small icon
};

// Reads a box as it shows, then answers it with `id`.
Look LookAt(HWND box, int id) {
  Look look;
  ::GetWindowRect(box, &look.window);
  ::GetClientRect(box, &look.client);
  look.exStyle = ::GetWindowLongA(box, GWL_EXSTYLE);
  // The icon lives only as long as the box.
  auto icon = reinterpret_cast<HICON>(::SendMessageA(box, WM_GETICON, ICON_SMALL, 0));
  ICONINFO info{};
  if (icon && ::GetIconInfo(icon, &info)) {
    BITMAP colour{};
    ::GetObjectA(info.hbmColor, sizeof(colour), &colour);
    look.smallIconWidth = colour.bmWidth;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  HWND text = ::GetDlgItem(box, IDC_BOX_TEXT);
  ::GetWindowRect(text, &look.text);
  ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&look.text), 2);
  look.textStyle = ::GetWindowLongA(text, GWL_STYLE);
  look.textContent = fw::CWnd(text).GetText();
  look.lineCount = static_cast<int>(::SendMessageA(text, EM_GETLINECOUNT, 0, 0));
  char className[64] = {};
  ::GetClassNameA(text, className, sizeof(className));
  look.className = className;
  // Measured as the box measures it: the text control's own context.
  HDC dc = ::GetDC(text);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::ReleaseDC(text, dc);
  look.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  ClickButton(box, id);
  return look;
}

int Height(const RECT& r) { return r.bottom - r.top; }
int Width(const RECT& r) { return r.right - r.left; }

Look ShowAndLook(const std::string& caption, const std::string& text) {
  Look look;
  BoxAnswerer answerer(caption, [&](HWND box) { look = LookAt(box, IDOK); });
  ShowMessageBox(nullptr, caption, "", text, IDI_MESSAGE);
  EXPECT_TRUE(answerer.Answered());
  return look;
}

TEST(BoxLook, OneLineIsCentredInABoxOfOneLine) {
  Look look = ShowAndLook(Caption("box"), "This folder is already in list");
  const int frame = Height(look.window) - Height(look.client);
  EXPECT_EQ(look.className, RICHEDIT_CLASSA);
  EXPECT_EQ(look.textContent, "This folder is already in list");
  EXPECT_TRUE(look.textStyle & ES_CENTER);
  EXPECT_TRUE(look.textStyle & ES_READONLY);
  EXPECT_TRUE(look.textStyle & WS_DISABLED);
  EXPECT_EQ(look.text.left, 15);
  EXPECT_EQ(look.text.top, 20);
  EXPECT_EQ(Width(look.text), 265);
  EXPECT_EQ(Height(look.text), look.lineHeight);
  EXPECT_EQ(Width(look.window), 300);
  EXPECT_EQ(Height(look.window), look.lineHeight + frame + 60);
}

TEST(BoxLook, ThreeLinesGrowTheBoxByTwoLineHeights) {
  Look one = ShowAndLook(Caption("one"), "Wrong settings.dat");
  Look three = ShowAndLook(Caption("three"),
                           "The number of found files exceeds the limit.\nThe results will be "
                           "truncated.\nPlease set new search criteria.");
  ASSERT_EQ(one.lineHeight, three.lineHeight);
  EXPECT_EQ(three.lineCount, 3);
  EXPECT_EQ(Height(three.window) - Height(one.window), 2 * one.lineHeight);
  EXPECT_EQ(Height(three.text), 3 * three.lineHeight);
  EXPECT_FALSE(three.textStyle & ES_CENTER);  // several lines stay left-aligned
  EXPECT_EQ(Width(three.text), 265);          // W + 15
  EXPECT_EQ(Width(three.window), Width(one.window));
}

TEST(BoxLook, EmptyTextIsOneCentredLine) {
  Look look = ShowAndLook(Caption("box"), "");
  EXPECT_TRUE(look.textStyle & ES_CENTER);
  EXPECT_EQ(Height(look.text), look.lineHeight);
}

TEST(BoxLook, FullBoxIsWiderAndItsLineNarrower) {
  std::string caption = Caption("choice");
  Look look;
  BoxAnswerer answerer(caption, [&](HWND box) { look = LookAt(box, IDCANCEL); });
  AskChoice(nullptr, caption, "", "File not found", IDI_MESSAGE, kWorkerEnabled, kWorkerLabels);
  ASSERT_TRUE(answerer.Answered());
  const int frame = Height(look.window) - Height(look.client);
  EXPECT_EQ(Width(look.window), 535);
  EXPECT_EQ(Height(look.window), look.lineHeight + frame + 70);
  EXPECT_TRUE(look.textStyle & ES_CENTER);
  EXPECT_EQ(Width(look.text), 500);
}

TEST(BoxLook, LaidOutByTheArithmetic) {
  std::string caption = Caption("question");
  Look look;
  std::array<RECT, 2> buttons{};
  RECT group{};
  BoxAnswerer answerer(caption, [&](HWND box) {
    int ids[] = {IDOK, IDCANCEL};
    for (size_t i = 0; i < 2; ++i) {
      ::GetWindowRect(::GetDlgItem(box, ids[i]), &buttons[i]);
      ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&buttons[i]), 2);
    }
    HWND child = ::FindWindowExA(box, nullptr, "Button", nullptr);
    for (; child; child = ::FindWindowExA(box, child, "Button", nullptr)) {
      if ((::GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
        ::GetWindowRect(child, &group);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&group), 2);
      }
    }
    look = LookAt(box, IDCANCEL);
  });
  AskYesNo(nullptr, caption, "", "Do you want to remove 2 item(s)\nfrom list?", IDI_QUESTION);
  ASSERT_TRUE(answerer.Answered());
  const int frame = Height(look.window) - Height(look.client);
  BoxLayout layout =
      ComputeBoxLayout(BoxKind::kAnswer, 2, look.lineHeight, frame, fw::DpiOf(nullptr));
  auto same = [](const RECT& r, const BoxRect& b) {
    return r.left == b.left && r.top == b.top && r.right == b.right && r.bottom == b.bottom;
  };
  EXPECT_TRUE(same(buttons[0], layout.buttons[0]));
  EXPECT_TRUE(same(buttons[1], layout.buttons[1]));
  EXPECT_TRUE(same(group, layout.groupBox));
  EXPECT_TRUE(same(look.text, layout.multiLineText));
  EXPECT_EQ(Height(look.window), layout.windowHeight);
}

TEST(BoxLook, AlwaysOnTopWithTheCallersIcon) {
  Look look = ShowAndLook(Caption("box"), "Wrong password.");
  EXPECT_TRUE(look.exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(look.smallIconWidth, 16);
}

// ---- owners

class CTestMainWindow : public fw::CWindow {
 public:
  static constexpr const char* kClass = "QuilloryBoxTestMain";
  CTestMainWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    ::RegisterClassA(&windowClass);
    Create(0, kClass, "Box test main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 700, 500},
           nullptr, 0);
  }
};

// Registers a main window for one test and forgets it at the end.
class OwnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(m_main.m_hWnd, nullptr);
    fw::SetMainWindow(m_main.m_hWnd);
  }
  void TearDown() override { fw::SetMainWindow(nullptr); }

  CTestMainWindow m_main;
};

TEST_F(OwnerTest, BoxFromAWorkerDisablesTheMainWindowWhileOpen) {
  std::string caption = Caption("box");
  std::atomic<bool> done{false};
  bool enabledWhileOpen = true;
  HWND owner = nullptr;
  DWORD boxThread = 0;
  BoxAnswerer answerer(caption, [&](HWND box) {
    enabledWhileOpen = ::IsWindowEnabled(m_main.m_hWnd) != FALSE;
    owner = ::GetWindow(box, GW_OWNER);
    boxThread = ::GetWindowThreadProcessId(box, nullptr);
    ClickButton(box, IDOK);
  });
  DWORD workerThread = 0;
  std::thread worker([&] {
    workerThread = ::GetCurrentThreadId();
    ShowMessageBox(nullptr, caption, "", "File not found", IDI_MESSAGE);
    done = true;
  });
  // The main window's thread keeps answering while the worker's box is open.
  bool finished = PumpUntil([&] { return done.load(); });
  worker.join();
  ASSERT_TRUE(finished);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(boxThread, workerThread);
  EXPECT_EQ(owner, m_main.m_hWnd);
  EXPECT_FALSE(enabledWhileOpen);
  EXPECT_TRUE(::IsWindowEnabled(m_main.m_hWnd));
}

TEST_F(OwnerTest, OwnerIsTheLastActivePopupAndBothTakeNoInput) {
  // Stands in for the progress window of a running task.
  HWND popup = ::CreateWindowExA(0, CTestMainWindow::kClass, "Box test progress",
                                 WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200, 300, 200,
                                 m_main.m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(popup, nullptr);
  ::SetActiveWindow(popup);
  ASSERT_EQ(::GetLastActivePopup(m_main.m_hWnd), popup);

  std::string caption = Caption("query");
  std::atomic<int> answer{-1};
  bool mainEnabled = true;
  bool popupEnabled = true;
  HWND owner = nullptr;
  BoxAnswerer answerer(caption, [&](HWND box) {
    mainEnabled = ::IsWindowEnabled(m_main.m_hWnd) != FALSE;
    popupEnabled = ::IsWindowEnabled(popup) != FALSE;
    owner = ::GetWindow(box, GW_OWNER);
    ClickButton(box, IDC_BOX_NO_FOR_ALL);
  });
  std::thread worker([&] {
    answer = AskChoice(nullptr, caption, "", "Cannot delete", IDI_MESSAGE, kWorkerEnabled,
                       kWorkerLabels);
  });
  bool finished = PumpUntil([&] { return answer.load() != -1; });
  worker.join();
  ASSERT_TRUE(finished);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(answer.load(), 4);
  EXPECT_EQ(owner, popup);
  EXPECT_FALSE(mainEnabled);
  EXPECT_FALSE(popupEnabled);
  EXPECT_TRUE(::IsWindowEnabled(m_main.m_hWnd));
  EXPECT_TRUE(::IsWindowEnabled(popup));
  ::DestroyWindow(popup);
}

TEST_F(OwnerTest, BoxIsCentredOverItsOwner) {
  std::string caption = Caption("box");
  RECT box{};
  BoxAnswerer answerer(caption, [&](HWND hwnd) {
    ::GetWindowRect(hwnd, &box);
    ClickButton(hwnd, IDOK);
  });
  ShowMessageBox(m_main.m_hWnd, caption, "", "Please select any file.", IDI_MESSAGE);
  ASSERT_TRUE(answerer.Answered());
  RECT main = m_main.GetWindowRect();
  EXPECT_NEAR((box.left + box.right) / 2.0, (main.left + main.right) / 2.0, 1.0);
  EXPECT_NEAR((box.top + box.bottom) / 2.0, (main.top + main.bottom) / 2.0, 1.0);
}

TEST_F(OwnerTest, GivenOwnerIsDisabledAndTheMainWindowIsNotTouched) {
  HWND other = ::CreateWindowExA(0, CTestMainWindow::kClass, "Box test other",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
  std::string caption = Caption("question");
  bool otherEnabled = true;
  bool mainEnabled = false;
  BoxAnswerer answerer(caption, [&](HWND box) {
    otherEnabled = ::IsWindowEnabled(other) != FALSE;
    mainEnabled = ::IsWindowEnabled(m_main.m_hWnd) != FALSE;
    ClickButton(box, IDOK);
  });
  EXPECT_TRUE(AskYesNo(other, caption, "", "Do you want to empty list?", IDI_QUESTION));
  ASSERT_TRUE(answerer.Answered());
  EXPECT_FALSE(otherEnabled);
  EXPECT_TRUE(mainEnabled);
  ::DestroyWindow(other);
}

// ---- the core's seam

TEST(DialogKit, CoreShowMessageOpensTheBox) {
  InstallDialogKit();
  std::string caption = Caption("box");
  std::string text;
  BoxAnswerer answerer(caption, [&](HWND box) {
    text = fw::CWnd(::GetDlgItem(box, IDC_BOX_TEXT)).GetText();
    ClickButton(box, IDOK);
  });
  ShowMessage(nullptr, caption, "", "Wrong settings.dat", kMessageIconId);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(text, "Wrong settings.dat");
  SetShowMessageHandler(nullptr);
}

}  // namespace
