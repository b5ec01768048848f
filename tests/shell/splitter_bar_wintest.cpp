#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "framework/worker_messages.h"
#include "shell/main_layout.h"
#include "shell/splitter_bar_win.h"

namespace {

// The bar's owner: records what the bar reports.
class CBarParent : public fw::CWindow {
 public:
  std::vector<LPARAM> m_distances;

  void CreateAt(const RECT& rect) {
    static bool registered = [] {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = fw::CWindow::WindowProc;
      windowClass.hInstance = ::GetModuleHandleA(nullptr);
      windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      windowClass.lpszClassName = "QuilloryBarParent";
      return ::RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    Create(0, "QuilloryBarParent", "Bar parent", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
  }

 private:
  LRESULT OnSplitterMoved(WPARAM wParam, LPARAM lParam) {
    EXPECT_EQ(wParam, 0u);
    m_distances.push_back(lParam);
    return 0;
  }
  static constexpr fw::MessageEntry<CBarParent> kMessageTable[] = {
      {fw::Message<WM_SPLITTERMOVED>, &CBarParent::OnSplitterMoved},
  };
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return Dispatch(kMessageTable, message, wParam, lParam, result);
  }
};

// Records every tracker drawn, and still draws it.
class CRecordingBar : public CSplitterBar {
 public:
  std::vector<POINT> m_draws;

  void DrawTracker(HDC dc, int x, int y) override {
    m_draws.push_back({x, y});
    CSplitterBar::DrawTracker(dc, x, y);
  }

  // Every tracker drawn an even number of times: the screen is as before.
  bool AllErased() const {
    std::map<std::pair<LONG, LONG>, int> counts;
    for (const POINT& p : m_draws) ++counts[{p.x, p.y}];
    for (const auto& [point, count] : counts) {
      if (count % 2) return false;
    }
    return true;
  }
};

LPARAM At(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                    static_cast<WORD>(static_cast<SHORT>(y)));
}

RECT InParent(const fw::CWnd& child) {
  RECT rect = child.GetWindowRect();
  ::MapWindowPoints(nullptr, ::GetParent(child.m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class SplitterBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.CreateAt(RECT{100, 100, 700, 500});
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, RECT{200, 0, 203, 400}, parent.m_hWnd, 153));
  }

  // A drag by the mouse to a point of the parent's client area.
  void DragTo(int parentX, int parentY) {
    const RECT rect = InParent(bar);
    bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
    bar.Send(WM_MOUSEMOVE, MK_LBUTTON, At(parentX - rect.left, parentY - rect.top));
    bar.Send(WM_LBUTTONUP, 0, At(parentX - rect.left, parentY - rect.top));
  }

  CBarParent parent;
  CRecordingBar bar;
};

TEST_F(SplitterBarTest, OrientationFollowsTheRectangle) {
  EXPECT_EQ(bar.m_nOrientation, CSplitterBar::ORIENT_VERTICAL);
  CSplitterBar flat;
  ASSERT_TRUE(flat.Create(WS_CHILD, RECT{0, 200, 600, 203}, parent.m_hWnd, 154));
  EXPECT_EQ(flat.m_nOrientation, CSplitterBar::ORIENT_HORIZONTAL);
  CSplitterBar square;  // not narrower than high: flat
  ASSERT_TRUE(square.Create(WS_CHILD, RECT{0, 0, 3, 3}, parent.m_hWnd, 155));
  EXPECT_EQ(square.m_nOrientation, CSplitterBar::ORIENT_HORIZONTAL);
  EXPECT_EQ(square.SetOrientation(CSplitterBar::ORIENT_VERTICAL), CSplitterBar::ORIENT_HORIZONTAL);
  EXPECT_EQ(square.m_nOrientation, CSplitterBar::ORIENT_VERTICAL);
}

TEST_F(SplitterBarTest, NewBarCannotMove) {
  // Its range is its own centre on the screen.
  RECT screen = bar.GetWindowRect();
  EXPECT_EQ(bar.m_nMin, BarCentre(screen.left, screen.right));
  EXPECT_EQ(bar.m_nMax, bar.m_nMin);
  EXPECT_EQ(bar.m_bDragging, 0);
  bar.SetRangeAround(10, 20, 100);
  EXPECT_EQ(bar.m_nMin, 90);
  EXPECT_EQ(bar.m_nMax, 120);
}

TEST_F(SplitterBarTest, DragIsClampedAndReportsTheDistanceToTheLimit) {
  bar.SetRange(150, 300);
  DragTo(50, 10);
  ASSERT_EQ(parent.m_distances.size(), 1u);
  EXPECT_EQ(parent.m_distances[0], 150 - 201);
  EXPECT_EQ(BarCentre(InParent(bar).left, InParent(bar).right), 150);

  DragTo(550, 10);
  ASSERT_EQ(parent.m_distances.size(), 2u);
  EXPECT_EQ(parent.m_distances[1], 300 - 150);
  EXPECT_EQ(BarCentre(InParent(bar).left, InParent(bar).right), 300);

  DragTo(250, 10);  // within the range: exactly where the mouse went
  EXPECT_EQ(parent.m_distances[2], 250 - 300);
  EXPECT_EQ(InParent(bar).top, 0);  // an upright bar moves sideways only
  EXPECT_TRUE(bar.AllErased());
}

TEST_F(SplitterBarTest, DragThatEndsWhereItBeganReportsZero) {
  bar.SetRange(150, 300);
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
  EXPECT_EQ(bar.m_bDragging, 1);
  EXPECT_EQ(::GetCapture(), bar.m_hWnd);
  bar.Send(WM_LBUTTONUP, 0, At(2, 50));
  ASSERT_EQ(parent.m_distances.size(), 1u);
  EXPECT_EQ(parent.m_distances[0], 0);
  EXPECT_EQ(InParent(bar).left, 200);
  EXPECT_EQ(bar.m_bDragging, 0);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(bar.AllErased());
}

TEST_F(SplitterBarTest, ReleaseCountsTheLastTrackerNotTheReleasePoint) {
  bar.SetRange(150, 300);
  const RECT rect = InParent(bar);
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, At(260 - rect.left, 10));
  bar.Send(WM_LBUTTONUP, 0, At(100 - rect.left, 10));
  ASSERT_EQ(parent.m_distances.size(), 1u);
  EXPECT_EQ(parent.m_distances[0], 260 - 201);
}

TEST_F(SplitterBarTest, InvertedRangeHoldsTheBarAtItsUpperLimit) {
  // A window too narrow for the page: the upper limit is below the lower.
  bar.SetRange(150, 5);
  DragTo(400, 10);
  EXPECT_EQ(parent.m_distances.at(0), 5 - 201);
  DragTo(20, 10);
  EXPECT_EQ(parent.m_distances.at(1), 0);
}

TEST_F(SplitterBarTest, FlatBarMovesUpAndDown) {
  CRecordingBar flat;
  ASSERT_TRUE(flat.Create(WS_CHILD | WS_VISIBLE, RECT{0, 200, 600, 203}, parent.m_hWnd, 154));
  flat.SetRange(100, 250);
  const RECT rect = InParent(flat);
  flat.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 1));
  flat.Send(WM_MOUSEMOVE, MK_LBUTTON, At(300 - rect.left, 20 - rect.top));
  flat.Send(WM_LBUTTONUP, 0, At(300 - rect.left, 20 - rect.top));
  ASSERT_EQ(parent.m_distances.size(), 1u);
  EXPECT_EQ(parent.m_distances[0], 100 - 201);
  EXPECT_EQ(BarCentre(InParent(flat).top, InParent(flat).bottom), 100);
  EXPECT_EQ(InParent(flat).left, 0);
}

TEST_F(SplitterBarTest, TrackerFollowsTheClampedPosition) {
  bar.SetRange(150, 300);
  const RECT rect = InParent(bar);
  POINT origin{0, 0};
  ::ClientToScreen(parent.m_hWnd, &origin);
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
  ASSERT_EQ(bar.m_draws.size(), 1u);
  EXPECT_EQ(bar.m_draws[0].x, origin.x + 201);  // the bar's centre, on the screen
  EXPECT_EQ(bar.m_nDragStart, origin.x + 201);
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, At(500 - rect.left, 10));
  // Erased where it was, drawn at the limit.
  ASSERT_EQ(bar.m_draws.size(), 3u);
  EXPECT_EQ(bar.m_draws[1].x, origin.x + 201);
  EXPECT_EQ(bar.m_draws[2].x, origin.x + 300);
  EXPECT_EQ(bar.m_ptLast.x, origin.x + 300);
  bar.Send(WM_LBUTTONUP, 0, At(500 - rect.left, 10));
  ASSERT_EQ(bar.m_draws.size(), 4u);
  EXPECT_EQ(bar.m_draws[3].x, origin.x + 300);
}

TEST_F(SplitterBarTest, MouseMoveWithoutButtonDownDrawsNothing) {
  bar.SetRange(150, 300);
  bar.Send(WM_MOUSEMOVE, 0, At(50, 10));
  bar.Send(WM_LBUTTONUP, 0, At(50, 10));
  EXPECT_TRUE(bar.m_draws.empty());
  EXPECT_TRUE(parent.m_distances.empty());
  EXPECT_EQ(InParent(bar).left, 200);
}

TEST_F(SplitterBarTest, TrackerIsDrawnOnTheScreenAndErasedAgain) {
  ::UpdateWindow(parent.m_hWnd);
  ::UpdateWindow(bar.m_hWnd);
  RECT screen = bar.GetWindowRect();
  const int x = BarCentre(screen.left, screen.right) - 1;
  const int y = screen.top + 50;
  HDC dc = ::GetDC(nullptr);
  const COLORREF before = ::GetPixel(dc, x, y);
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
  const COLORREF during = ::GetPixel(dc, x, y);
  bar.Send(WM_LBUTTONUP, 0, At(1, 10));
  const COLORREF after = ::GetPixel(dc, x, y);
  ::ReleaseDC(nullptr, dc);
  // R2_NOTXORPEN with grey 200: the inverse of the pixel xor the pen.
  const COLORREF expected =
      RGB(~(GetRValue(before) ^ 200) & 0xFF, ~(GetGValue(before) ^ 200) & 0xFF,
          ~(GetBValue(before) ^ 200) & 0xFF);
  EXPECT_EQ(during, expected);
  EXPECT_EQ(after, before);
}

TEST_F(SplitterBarTest, LosingTheMouseEndsTheDragAndErasesTheTracker) {
  bar.SetRange(150, 300);
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, At(40, 10));
  ASSERT_EQ(::GetCapture(), bar.m_hWnd);
  // Alt+Tab or a box popping up takes the capture away.
  ::SetCapture(parent.m_hWnd);
  ::ReleaseCapture();
  EXPECT_EQ(bar.m_bDragging, 0);
  EXPECT_TRUE(bar.AllErased());
  // Moves and a late button-up are no drag any more.
  const size_t draws = bar.m_draws.size();
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, At(60, 10));
  bar.Send(WM_LBUTTONUP, 0, At(60, 10));
  EXPECT_EQ(bar.m_draws.size(), draws);
  EXPECT_TRUE(parent.m_distances.empty());
  EXPECT_EQ(InParent(bar).left, 200);
}

TEST_F(SplitterBarTest, CursorIsTheSizingArrowOverTheBar) {
  EXPECT_EQ(bar.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            FALSE);
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_SIZEWE));
  CSplitterBar flat;
  ASSERT_TRUE(flat.Create(WS_CHILD | WS_VISIBLE, RECT{0, 200, 600, 203}, parent.m_hWnd, 154));
  flat.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(flat.m_hWnd),
            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_SIZENS));
}

TEST_F(SplitterBarTest, PaintsASunkenGroove) {
  ::RedrawWindow(bar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = ::GetDC(bar.m_hWnd);
  const COLORREF left = ::GetPixel(dc, 0, 100);
  const COLORREF right = ::GetPixel(dc, 2, 100);
  ::ReleaseDC(bar.m_hWnd, dc);
  EXPECT_EQ(left, ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(right, ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(SplitterBarTest, MoveBarToPutsTheCentreLineOnThePoint) {
  bar.MoveBarTo(321, 999);
  EXPECT_EQ(BarCentre(InParent(bar).left, InParent(bar).right), 321);
  EXPECT_EQ(InParent(bar).top, 0);
  EXPECT_EQ(InParent(bar).bottom, 400);
}

TEST(MoveWindowEdge, MovesOneEdgeOfAChild) {
  CBarParent parent;
  parent.CreateAt(RECT{100, 100, 500, 400});
  HWND child = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 20, 100, 50,
                                 parent.m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  MoveWindowEdge(child, 25, WindowEdge::kRight);
  RECT rect = InParent(fw::CWnd(child));
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.right, 135);
  MoveWindowEdge(child, -5, WindowEdge::kLeft);
  rect = InParent(fw::CWnd(child));
  EXPECT_EQ(rect.left, 5);
  EXPECT_EQ(rect.right, 135);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.bottom, 70);
}

TEST(MoveWindowEdge, LeavesATopLevelWindowAlone) {
  CBarParent window;
  window.CreateAt(RECT{100, 100, 500, 400});
  MoveWindowEdge(window.m_hWnd, 25, WindowEdge::kRight);
  RECT rect = window.GetWindowRect();
  EXPECT_EQ(rect.right, 500);
}

}  // namespace
