#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/help_about_win.h"
#include "resources/product.h"

namespace {

// The page with the browser left out: it records what it would open.
class CHelpPageUnderTest : public CWindowHelpAbout {
 public:
  std::vector<std::string> m_opened;

 protected:
  void OpenWebPage(const std::string& address) override { m_opened.push_back(address); }
};

class HelpPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 700, 500, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(page.Create(host), nullptr);
    page.Show(SW_SHOW);
  }
  void TearDown() override {
    page.DestroyWindow();
    ::DestroyWindow(host);
  }

  std::string Text(int id) const {
    char text[256] = {};
    ::GetDlgItemTextA(page.m_hWnd, id, text, sizeof text);
    return text;
  }

  // The text colour the page picks for one of its static controls.
  COLORREF TextColourOf(int id) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 2, 3));
    page.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
              reinterpret_cast<LPARAM>(page.GetDlgItem(id)));
    COLORREF colour = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return colour;
  }

  HWND host = nullptr;
  CHelpPageUnderTest page;
};

TEST_F(HelpPageTest, ShowsNameAndVersion) {
  EXPECT_EQ(page.m_strVersion, "1.0");
  EXPECT_EQ(page.m_strTitle, "Quillory 1.0");
  EXPECT_EQ(Text(IDC_HELP_TITLE), "Quillory 1.0");
  // Shown, not for editing.
  HWND title = page.GetDlgItem(IDC_HELP_TITLE);
  EXPECT_NE(::GetWindowLongA(title, GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(::GetWindowLongA(title, GWL_STYLE) & WS_BORDER, 0);
  EXPECT_EQ(page.m_nPageWidth, 480);
  EXPECT_EQ(page.m_nPageHeight, 450);
}

TEST_F(HelpPageTest, LinksCarryTheirAddresses) {
  EXPECT_EQ(Text(IDC_HOME_LINK), std::string("Home: ") + kHomePageAddress);
  EXPECT_EQ(Text(IDC_HELP_LINK), "On-Line Help: " + HelpPageAddress());
  EXPECT_EQ(HelpPageAddress(), std::string(kHomePageAddress) + "help/");
  // The help link stands above the home link.
  RECT help{};
  RECT home{};
  ::GetWindowRect(page.GetDlgItem(IDC_HELP_LINK), &help);
  ::GetWindowRect(page.GetDlgItem(IDC_HOME_LINK), &home);
  EXPECT_LT(help.top, home.top);
}

TEST_F(HelpPageTest, LinksAreBlueAndTheTitleIsNot) {
  EXPECT_EQ(TextColourOf(IDC_HOME_LINK), RGB(0, 0, 255));
  EXPECT_EQ(TextColourOf(IDC_HELP_LINK), RGB(0, 0, 255));
  EXPECT_NE(TextColourOf(IDC_HELP_TITLE), RGB(0, 0, 255));
}

TEST_F(HelpPageTest, HandCursorExactlyOverTheLinks) {
  const HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND);
  const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  for (int id : {IDC_HOME_LINK, IDC_HELP_LINK}) {
    ::SetCursor(arrow);
    EXPECT_EQ(page.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(page.GetDlgItem(id)),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), hand) << id;
  }
  ::SetCursor(arrow);
  page.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(page.GetDlgItem(IDC_HELP_TITLE)),
            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(::GetCursor(), hand);
}

TEST_F(HelpPageTest, EachClickOpensItsPageOnce) {
  ::SendMessageA(page.GetDlgItem(IDC_HOME_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageA(page.GetDlgItem(IDC_HOME_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ::SendMessageA(page.GetDlgItem(IDC_HELP_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageA(page.GetDlgItem(IDC_HELP_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(page.m_opened, (std::vector<std::string>{kHomePageAddress, HelpPageAddress()}));
  // The second click of a double click is no extra click.
  ::SendMessageA(page.GetDlgItem(IDC_HOME_LINK), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(page.m_opened.size(), 2u);
  // The title opens nothing; the page stays as it was.
  ::SendMessageA(page.GetDlgItem(IDC_HELP_TITLE), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(page.m_opened.size(), 2u);
  EXPECT_EQ(Text(IDC_HOME_LINK), std::string("Home: ") + kHomePageAddress);
}

}  // namespace
