#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings/app_data.h"
#include "settings/check_password_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/typing_ui_win.h"

namespace {

constexpr const char* kPromptCaption = "Enter password";
constexpr const char* kPassword = "Tr0ub4dor&3";

class CheckPasswordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_AppData.SetDefaults();
    g_AppData.m_bPasswordProtection = 1;
    g_AppData.SetPassword(kPassword);
  }
  void TearDown() override { g_AppData.SetDefaults(); }
};

// What the helper saw of one refused entry.
struct Refusal {
  std::string boxText;
  std::string editAfter;
};

// Types `text` and presses OK; waits for the "Error" box, reads it, closes it
// and reads the edit once the prompt has emptied it (or given up waiting).
Refusal EnterRefused(HWND prompt, const std::string& text) {
  HWND edit = ::GetDlgItem(prompt, IDC_PROMPT_PASSWORD);
  PostTyping(edit, text);
  PostClick(prompt, IDOK);
  Refusal refusal;
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindOwnWindow("Error")) != nullptr; })) return refusal;
  refusal.boxText = ReadItemText(box, IDC_BOX_TEXT);
  ClickButton(box, IDOK);
  WaitUntilClosed(box);
  WaitUntil([&] { return ReadText(edit).empty(); });
  refusal.editAfter = ReadText(edit);
  return refusal;
}

TEST_F(CheckPasswordTest, RightPasswordGivesOk) {
  BoxAnswerer answerer(kPromptCaption, [](HWND prompt) {
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
    PostClick(prompt, IDOK);
  });
  EXPECT_EQ(CCheckPassword().DoModal(), IDOK);
  EXPECT_TRUE(answerer.Answered());
}

TEST_F(CheckPasswordTest, EnterIsOk) {
  BoxAnswerer answerer(kPromptCaption, [](HWND prompt) {
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
    PostEnter(prompt);
  });
  EXPECT_EQ(CCheckPassword().DoModal(), IDOK);
  EXPECT_TRUE(answerer.Answered());
}

TEST_F(CheckPasswordTest, RightPasswordAfterWrongOnesGivesOk) {
  std::vector<Refusal> refusals;
  BoxAnswerer answerer(kPromptCaption, [&](HWND prompt) {
    refusals.push_back(EnterRefused(prompt, "tr0ub4dor&3"));  // the case counts
    refusals.push_back(EnterRefused(prompt, ""));
    refusals.push_back(EnterRefused(prompt, std::string(kPassword) + " "));
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
    PostClick(prompt, IDOK);
  });
  EXPECT_EQ(CCheckPassword().DoModal(), IDOK);
  ASSERT_TRUE(answerer.Answered());
  ASSERT_EQ(refusals.size(), 3u);
  EXPECT_EQ(refusals[0].boxText, "Wrong password.");
  EXPECT_EQ(refusals[1].boxText, "Please enter password.");
  EXPECT_EQ(refusals[2].boxText, "Wrong password.");
  for (const Refusal& refusal : refusals) EXPECT_EQ(refusal.editAfter, "");
}

TEST_F(CheckPasswordTest, EscAndTheCloseBoxGiveCancel) {
  for (auto press : {PressEscape, PressCloseBox}) {
    BoxAnswerer answerer(kPromptCaption, press);
    EXPECT_EQ(CCheckPassword().DoModal(), IDCANCEL);
    EXPECT_TRUE(answerer.Answered());
  }
}

TEST_F(CheckPasswordTest, EscAndTheCloseBoxAfterWrongTriesGiveCancel) {
  for (auto press : {PressEscape, PressCloseBox}) {
    std::string boxText;
    BoxAnswerer answerer(kPromptCaption, [&](HWND prompt) {
      EnterRefused(prompt, "guess one");
      boxText = EnterRefused(prompt, "guess two").boxText;
      press(prompt);
    });
    EXPECT_EQ(CCheckPassword().DoModal(), IDCANCEL);
    ASSERT_TRUE(answerer.Answered());
    EXPECT_EQ(boxText, "Wrong password.");
  }
}

// A damaged settings file may switch protection on without a hash: nothing
// typed can match, so the prompt can only be cancelled.
TEST_F(CheckPasswordTest, EmptyStoredHashRefusesEverything) {
  g_AppData.m_strPasswordHash.clear();
  std::string boxText;
  BoxAnswerer answerer(kPromptCaption, [&](HWND prompt) {
    boxText = EnterRefused(prompt, kPassword).boxText;
    PressEscape(prompt);
  });
  EXPECT_EQ(CCheckPassword().DoModal(), IDCANCEL);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(boxText, "Wrong password.");
}

// The notification icon can ask again while the first prompt still waits:
// the second ends at once and the first goes on as if nothing happened.
std::atomic<INT_PTR> g_nSecondResult{-1};
std::atomic<bool> g_bFirstOpenAfterSecond{false};

UINT_PTR g_nSecondTimer = 0;

void CALLBACK OpenSecondPrompt(HWND, UINT, UINT_PTR, DWORD) {
  // The loop runs before the first prompt shows; wait until the user sees it.
  if (!FindOwnWindow(kPromptCaption)) return;
  ::KillTimer(nullptr, g_nSecondTimer);
  g_nSecondResult = CCheckPassword().DoModal();
  g_bFirstOpenAfterSecond = FindOwnWindow(kPromptCaption) != nullptr;
}

TEST_F(CheckPasswordTest, SecondPromptWhileOneIsOpenGivesCancelAtOnce) {
  g_nSecondResult = -1;
  g_bFirstOpenAfterSecond = false;
  BoxAnswerer answerer(kPromptCaption, [](HWND prompt) {
    // The first prompt's loop runs the timer, which opens the second.
    WaitUntil([] { return g_nSecondResult != -1; });
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
    PostClick(prompt, IDOK);
  });
  g_nSecondTimer = ::SetTimer(nullptr, 0, 1, OpenSecondPrompt);
  EXPECT_EQ(CCheckPassword().DoModal(), IDOK);
  ASSERT_TRUE(answerer.Answered());
  ::KillTimer(nullptr, g_nSecondTimer);
  EXPECT_EQ(g_nSecondResult, IDCANCEL);
  EXPECT_TRUE(g_bFirstOpenAfterSecond);

  // Closed, the first no longer blocks the next one.
  BoxAnswerer next(kPromptCaption, PressEscape);
  EXPECT_EQ(CCheckPassword().DoModal(), IDCANCEL);
  EXPECT_TRUE(next.Answered());
}

TEST_F(CheckPasswordTest, TemplateAsDesigned) {
  RECT edit{}, ok{}, label{}, expectedEdit{55, 5, 100, 12}, expectedOk{55, 17, 100, 12},
      expectedLabel{5, 5, 40, 12};  // x, y, width, height
  LONG editStyle = 0, labelStyle = 0;
  std::string caption, labelText, okText;
  LRESULT defaultId = 0;
  HWND focus = nullptr, editWindow = nullptr;
  BoxAnswerer answerer(kPromptCaption, [&](HWND prompt) {
    caption = ReadText(prompt);
    editWindow = ::GetDlgItem(prompt, IDC_PROMPT_PASSWORD);
    HWND labelWindow = ::GetWindow(prompt, GW_CHILD);
    editStyle = ::GetWindowLongA(editWindow, GWL_STYLE);
    labelStyle = ::GetWindowLongA(labelWindow, GWL_STYLE);
    labelText = ReadText(labelWindow);
    okText = ReadItemText(prompt, IDOK);
    defaultId = ::SendMessageA(prompt, DM_GETDEFID, 0, 0);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(prompt, nullptr), &info);
    focus = info.hwndFocus;
    for (auto [window, rect] :
         {std::pair{editWindow, &edit}, std::pair{::GetDlgItem(prompt, IDOK), &ok},
          std::pair{labelWindow, &label}}) {
      ::GetWindowRect(window, rect);
      ::MapWindowPoints(nullptr, prompt, reinterpret_cast<POINT*>(rect), 2);
    }
    ::MapDialogRect(prompt, &expectedEdit);
    ::MapDialogRect(prompt, &expectedOk);
    ::MapDialogRect(prompt, &expectedLabel);
    PressEscape(prompt);
  });
  CCheckPassword().DoModal();
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(caption, kPromptCaption);
  EXPECT_EQ(labelText, "Password");
  EXPECT_EQ(okText, "Ok");
  EXPECT_EQ(LOWORD(defaultId), IDOK);
  EXPECT_EQ(focus, editWindow) << "the edit is the first tab stop";
  EXPECT_TRUE(editStyle & ES_PASSWORD) << "typed text is masked";
  EXPECT_TRUE(editStyle & ES_AUTOHSCROLL);
  EXPECT_TRUE(editStyle & WS_TABSTOP);
  EXPECT_EQ(labelStyle & SS_TYPEMASK, SS_CENTER);
  EXPECT_TRUE(labelStyle & SS_CENTERIMAGE);
  // The dialog manager converts the width and height on their own.
  for (auto [actual, expected] : {std::pair{edit, expectedEdit}, std::pair{ok, expectedOk},
                                  std::pair{label, expectedLabel}}) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right - actual.left, expected.right);
    EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
  }
}

// Checking never changes what is stored.
TEST_F(CheckPasswordTest, LeavesTheSettingsAlone) {
  const std::string hash = g_AppData.m_strPasswordHash;
  BoxAnswerer answerer(kPromptCaption, [](HWND prompt) {
    EnterRefused(prompt, "nope");
    PostTyping(::GetDlgItem(prompt, IDC_PROMPT_PASSWORD), kPassword);
    PostClick(prompt, IDOK);
  });
  EXPECT_EQ(CCheckPassword().DoModal(), IDOK);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(g_AppData.m_strPasswordHash, hash);
  EXPECT_EQ(g_AppData.m_bPasswordProtection, 1);
}

}  // namespace
