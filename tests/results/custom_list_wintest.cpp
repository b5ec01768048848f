#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "framework/run_on_thread_win.h"
#include "results/custom_list_win.h"
#include "results_host_win.h"
#include "support/box_answerer_ui_win.h"

namespace {

struct ColumnSeen {
  std::string text;
  int width;
  int format;
};

ColumnSeen GetColumn(const fw::CListView& list, int column) {
  char text[128] = {};
  LVCOLUMNA info{};
  info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  list.Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  return {text, info.cx, info.fmt & LVCFMT_JUSTIFYMASK};
}

struct ToolSeen {
  bool found = false;
  std::string text;
  RECT rect{};
};

ToolSeen GetTool(const CCustomList& list, int column) {
  char text[256] = {};
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = list.GetHeader();
  tool.uId = static_cast<UINT_PTR>(column) + 1;
  tool.lpszText = text;
  ToolSeen seen;
  seen.found = ::SendMessageA(list.GetHeaderTip(), TTM_GETTOOLINFOA, 0,
                              reinterpret_cast<LPARAM>(&tool)) != 0;
  seen.text = text;
  seen.rect = tool.rect;
  return seen;
}

RECT HeaderItemRect(const CCustomList& list, int column) {
  RECT rect{};
  ::SendMessageA(list.GetHeader(), HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&rect));
  return rect;
}

int HeaderHeight(const CCustomList& list) {
  RECT client{};
  ::GetClientRect(list.GetHeader(), &client);
  return client.bottom;
}

// Each tool lies exactly over its header item, whatever the widths now are.
void ExpectToolsOverHeaderItems(const CCustomList& list, int columns) {
  for (int column = 0; column < columns; ++column) {
    const ToolSeen tool = GetTool(list, column);
    const RECT item = HeaderItemRect(list, column);
    ASSERT_TRUE(tool.found) << "column " << column;
    EXPECT_EQ(tool.rect.left, item.left) << "column " << column;
    EXPECT_EQ(tool.rect.right, item.right) << "column " << column;
    EXPECT_EQ(tool.rect.top, 0) << "column " << column;
    EXPECT_EQ(tool.rect.bottom, HeaderHeight(list)) << "column " << column;
  }
}

class CustomListTest : public ::testing::Test {
 protected:
  CAppData m_data;
  CResultsHost m_host{&m_data};
  CCustomList& Results() { return m_host.m_view.m_listResults; }
  CCustomList& Folders() { return m_host.m_view.m_listFolders; }
};

TEST_F(CustomListTest, ResultsColumnsHaveTheirHeadersWidthsAndAlignment) {
  const ColumnSeen expected[] = {{"N", 30, LVCFMT_CENTER},  {"Name", 130, LVCFMT_LEFT},
                                 {"Type", 45, LVCFMT_LEFT}, {"Location", 150, LVCFMT_LEFT},
                                 {"Size", 75, LVCFMT_LEFT}, {"Date", 150, LVCFMT_LEFT}};
  ASSERT_EQ(::SendMessageA(Results().GetHeader(), HDM_GETITEMCOUNT, 0, 0), 6);
  for (int column = 0; column < 6; ++column) {
    const ColumnSeen seen = GetColumn(Results(), column);
    EXPECT_EQ(seen.text, expected[column].text) << column;
    EXPECT_EQ(seen.width, expected[column].width) << column;
    EXPECT_EQ(seen.format, expected[column].format) << column;
  }
}

TEST_F(CustomListTest, FolderColumnsAreCentred) {
  ASSERT_EQ(::SendMessageA(Folders().GetHeader(), HDM_GETITEMCOUNT, 0, 0), 2);
  const ColumnSeen number = GetColumn(Folders(), 0);
  const ColumnSeen folder = GetColumn(Folders(), 1);
  EXPECT_EQ(number.text, "N");
  EXPECT_EQ(number.width, 30);
  EXPECT_EQ(number.format, LVCFMT_CENTER);
  EXPECT_EQ(folder.text, "Disk/Folder");
  EXPECT_EQ(folder.width, 345);
  EXPECT_EQ(folder.format, LVCFMT_CENTER);
}

TEST_F(CustomListTest, BothListsAreReportsWithManyRowsSelectableGridAndFullRows) {
  for (CCustomList* list : {&Results(), &Folders()}) {
    const LONG_PTR style = ::GetWindowLongPtrA(list->m_hWnd, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    const LRESULT extended = list->Send(LVM_GETEXTENDEDLISTVIEWSTYLE);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  }
}

TEST_F(CustomListTest, EachHeaderHasItsTooltip) {
  const char* tips[] = {"Number", "File Name", "File Type", "File Location", "File Size", "Date"};
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(GetTool(Results(), column).text, tips[column]) << column;
  }
  EXPECT_EQ(GetTool(Folders(), 0).text, "N");
  EXPECT_EQ(GetTool(Folders(), 1).text, "Disk/Folder");
  EXPECT_FALSE(GetTool(Results(), 6).found);
  ExpectToolsOverHeaderItems(Results(), 6);
  ExpectToolsOverHeaderItems(Folders(), 2);
}

TEST_F(CustomListTest, TooltipsFollowAWidenedColumn) {
  const RECT before = GetTool(Results(), 4).rect;
  // The program's way and a drag's way: both end in the header's change.
  Results().Send(LVM_SETCOLUMNWIDTH, 3, MAKELPARAM(250, 0));
  EXPECT_EQ(GetTool(Results(), 3).rect.right - GetTool(Results(), 3).rect.left, 250);
  EXPECT_EQ(GetTool(Results(), 4).rect.left, before.left + 100);
  ExpectToolsOverHeaderItems(Results(), 6);

  HDITEMA item{};
  item.mask = HDI_WIDTH;
  item.cxy = 60;
  ::SendMessageA(Results().GetHeader(), HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(GetTool(Results(), 1).rect.right - GetTool(Results(), 1).rect.left, 60);
  ExpectToolsOverHeaderItems(Results(), 6);
}

TEST_F(CustomListTest, AddHeaderToolTipNeedsAnExistingColumnAndReadsTheHeaderWithoutText) {
  CCustomList& list = Results();
  EXPECT_FALSE(list.AddHeaderToolTip(6, "beyond the last column"));
  EXPECT_FALSE(list.AddHeaderToolTip(-1, "before the first"));
  // Column 2's tool made again with no text of its own takes the header's.
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = list.GetHeader();
  tool.uId = 3;
  ::SendMessageA(list.GetHeaderTip(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  EXPECT_FALSE(GetTool(list, 2).found);
  EXPECT_TRUE(list.AddHeaderToolTip(2, nullptr));
  EXPECT_EQ(GetTool(list, 2).text, "Type");
  ExpectToolsOverHeaderItems(list, 6);
}

TEST_F(CustomListTest, TooltipShowsWhileTheMouseRestsOverAHeader) {
  CCustomList& list = Results();
  m_host.Show(SW_SHOW);
  ::SetForegroundWindow(m_host.m_hWnd);
  const RECT item = HeaderItemRect(list, 3);
  POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ::ClientToScreen(list.GetHeader(), &centre);
  ::SetCursorPos(centre.x, centre.y);
  // What the header is told of the mouse reaches the tooltip only through
  // the list's relay.
  ::PostMessageA(list.GetHeader(), WM_MOUSEMOVE, 0,
                 MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
  HWND tip = list.GetHeaderTip();
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }, 10s));
  char text[128] = {};
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.lpszText = text;
  ASSERT_TRUE(::SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(tool.uId, 4u);
  EXPECT_STREQ(text, "File Location");
}

// The list is the system's control: its hook takes the framework's hand-over.
TEST_F(CustomListTest, ATaskFromAnotherThreadRunsOnTheListsThreadBeforeTheCallReturns) {
  const DWORD listThread = ::GetCurrentThreadId();
  std::atomic<DWORD> ranOn{0};
  std::atomic<bool> returned{false};
  bool ranBeforeReturn = false;
  std::thread other([&] {
    const bool done =
        fw::RunOnWindowThread(Results().m_hWnd, [&] { ranOn = ::GetCurrentThreadId(); });
    ranBeforeReturn = done && ranOn.load() != 0;
    returned = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  other.join();
  EXPECT_EQ(ranOn.load(), listThread);
  EXPECT_TRUE(ranBeforeReturn);
}

// A slice may replace or cancel the work it belongs to: the work stays whole
// until the slice returns, and what the slice did stands.
TEST_F(CustomListTest, DeferredWorkReplacedOrCancelledByItsOwnSliceStaysWholeMeanwhile) {
  static std::weak_ptr<int> s_own;  // out of the work's captures, which are at stake
  static bool s_whole = false;
  for (const bool replace : {true, false}) {
    auto own = std::make_shared<int>(1);
    s_own = own;
    Results().DeferWork([this, replace, own = std::move(own)](bool) {
      if (replace) Results().DeferWork([](bool) { return true; });
      if (!replace) Results().CancelDeferredWork();
      s_whole = !s_own.expired() && *own == 1;
      return false;  // not done: only what the slice did may end it
    });
    EXPECT_TRUE(PumpUntil([&] { return s_own.expired(); }));
    EXPECT_TRUE(s_whole) << replace;
    EXPECT_TRUE(PumpUntil([&] { return !Results().HasDeferredWork(); })) << replace;
  }
}

TEST_F(CustomListTest, TheTooltipGoesWithTheList) {
  HWND tip = Results().GetHeaderTip();
  ASSERT_TRUE(::IsWindow(tip));
  ::DestroyWindow(Results().m_hWnd);
  EXPECT_FALSE(::IsWindow(tip));
  EXPECT_EQ(Results().m_hWnd, nullptr);
}

}  // namespace
