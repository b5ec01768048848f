#include "shell/main_layout.h"

#include <gtest/gtest.h>

namespace {

// A toolbar 28 high over a 634 x 412 client area; the figures are made up,
// the arithmetic must hold for any.
constexpr LayoutRect kBelowToolbar{0, 28, 634, 412};

TEST(MainLayout, PanesSitSideBySideBelowTheToolbar) {
  MainPanes panes = LayOutPanes(kBelowToolbar, 140, 634);
  EXPECT_EQ(panes.panel, (LayoutRect{0, 28, 140, 412}));
  EXPECT_EQ(panes.splitter, (LayoutRect{140, 28, 143, 412}));
  EXPECT_EQ(panes.host, (LayoutRect{143, 28, 634, 412}));
}

TEST(MainLayout, BarStaysInsideANarrowWindow) {
  // 100 wide: the bar may stand no further right than 94, leaving the host 3.
  MainPanes panes = LayOutPanes({0, 28, 100, 412}, 140, 100);
  EXPECT_EQ(panes.panel.right, 94);
  EXPECT_EQ(panes.splitter, (LayoutRect{94, 28, 97, 412}));
  EXPECT_EQ(panes.host, (LayoutRect{97, 28, 100, 412}));
  // Exactly at the limit nothing moves.
  EXPECT_EQ(LayOutPanes({0, 0, 146, 10}, 140, 146).panel.right, 140);
  EXPECT_EQ(LayOutPanes({0, 0, 145, 10}, 140, 145).panel.right, 139);
}

TEST(MainLayout, SplitterRangeKeepsThePageItsMinimum) {
  // 650 - 480 - 3: the page keeps 480 right of a 3-pixel bar.
  EXPECT_EQ(MainSplitterRange(140, 650, 480), (SplitterRange{140, 167}));
  EXPECT_EQ(MainSplitterRange(200, 800, 530), (SplitterRange{200, 267}));
}

TEST(MainLayout, SplitterRangeNeverBelowFive) {
  EXPECT_EQ(MainSplitterRange(140, 487, 480).max, 5);  // 487 - 480 - 3 = 4
  EXPECT_EQ(MainSplitterRange(140, 488, 480).max, 5);  // exactly 5
  EXPECT_EQ(MainSplitterRange(140, 489, 480).max, 6);
  EXPECT_EQ(MainSplitterRange(140, 0, 530).max, 5);
}

TEST(MainLayout, ClampRaisesToMinThenLowersToMax) {
  EXPECT_EQ(ClampToRange(10, 140, 300), 140);
  EXPECT_EQ(ClampToRange(500, 140, 300), 300);
  EXPECT_EQ(ClampToRange(200, 140, 300), 200);
  EXPECT_EQ(ClampToRange(140, 140, 300), 140);
  EXPECT_EQ(ClampToRange(300, 140, 300), 300);
  // A window too narrow for its panel: the range is inverted and max wins,
  // wherever the mouse is.
  EXPECT_EQ(ClampToRange(10, 140, 5), 5);
  EXPECT_EQ(ClampToRange(500, 140, 5), 5);
}

TEST(MainLayout, RangeAroundACentre) {
  EXPECT_EQ(RangeAround(141, 0, 0), (SplitterRange{141, 141}));  // a new bar cannot move
  EXPECT_EQ(RangeAround(100, 20, 30), (SplitterRange{80, 130}));
}

TEST(MainLayout, MinTrackSizeAddsPanelAndToolbar) {
  // The first switch to "Delete Files" beside a 140-pixel panel.
  EXPECT_EQ(MinTrackSize(530, 520, 140, 28), (TrackSize{682, 548}));
  EXPECT_EQ(MinTrackSize(480, 350, 0, 28), (TrackSize{492, 378}));  // panel not laid out yet
  EXPECT_EQ(MinTrackSize(450, 450, std::nullopt, std::nullopt), (TrackSize{450, 450}));
  EXPECT_EQ(MinTrackSize(480, 450, std::nullopt, 30), (TrackSize{480, 480}));
}

TEST(MainLayout, MinTrackSizeMakesRoomForTheRealFrameAndCaption) {
  // A frame of 8 on each side and a caption of 23: 16 + 3 for the bar is more
  // than the 12 allowed for them, and the caption comes on top.
  EXPECT_EQ(MinTrackSize(530, 520, 140, 28, {16, 39}), (TrackSize{689, 587}));
  // A thin frame never takes the window below the width with those 12.
  EXPECT_EQ(MinTrackSize(530, 520, 140, 28, {2, 2}), (TrackSize{682, 550}));
}

TEST(MainLayout, ARectangleOffEveryMonitorIsBroughtIntoTheNearestOne) {
  const LayoutRect area{0, 0, 1280, 994};  // a taskbar of 30 at the bottom
  EXPECT_EQ(BringInto({3000, 20, 3650, 470}, area), (LayoutRect{630, 20, 1280, 470}));
  EXPECT_EQ(BringInto({-900, -600, -250, -150}, area), (LayoutRect{0, 0, 650, 450}));
  EXPECT_EQ(BringInto({20, 2000, 670, 2450}, area), (LayoutRect{20, 544, 670, 994}));
  // Larger than the monitor: its top-left corner in the area's.
  EXPECT_EQ(BringInto({5000, 5000, 6500, 6200}, area), (LayoutRect{0, 0, 1500, 1200}));
}

TEST(MainLayout, BarCentreRoundsTowardTheLowEdge) {
  EXPECT_EQ(BarCentre(140, 143), 141);
  EXPECT_EQ(BarCentre(140, 144), 142);
  EXPECT_EQ(BarCentre(-10, -7), -9);  // a bar partly off the screen's left edge
}

TEST(MainLayout, BarShiftPutsTheCentreLineOnThePoint) {
  EXPECT_EQ(BarShift(141, 140, 143), 0);
  EXPECT_EQ(BarShift(200, 140, 143), 59);
  EXPECT_EQ(BarShift(140, 140, 143), -1);
  // After the shift the centre (by the same rule) is on the point.
  const int shift = BarShift(250, 140, 143);
  EXPECT_EQ((140 + shift + 143 + shift) / 2, 250);
}

TEST(MainLayout, MoveEdgeMovesOneSideOnly) {
  const LayoutRect panel{0, 28, 140, 412};
  EXPECT_EQ(MoveEdge(panel, 25, WindowEdge::kRight), (LayoutRect{0, 28, 165, 412}));
  EXPECT_EQ(MoveEdge(panel, -25, WindowEdge::kRight), (LayoutRect{0, 28, 115, 412}));
  const LayoutRect host{143, 28, 634, 412};
  EXPECT_EQ(MoveEdge(host, 25, WindowEdge::kLeft), (LayoutRect{168, 28, 634, 412}));
  EXPECT_EQ(MoveEdge(host, 0, WindowEdge::kLeft), host);
}

}  // namespace
