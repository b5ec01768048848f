#include "shell/main_layout.h"

#include <gtest/gtest.h>

namespace {

// A toolbar 28 high over a 634 x 412 client area; the figures are made up,
// the arithmetic must hold for any.
constexpr LayoutRect kBelowToolbar{0, 28, 634, 412};

// The design's figures at the four scales a screen usually has.
struct ScaleCase {
  int dpi;
  int bar;       // the 3-pixel splitter
  int sliver;    // the 6 that keep the bar inside the window
  int leastMax;  // the splitter's lowest upper limit, 5
  int gap;       // the 12 beside the panel
};
constexpr ScaleCase kScales[] = {
    {96, 3, 6, 5, 12}, {120, 4, 8, 6, 15}, {144, 5, 9, 8, 18}, {192, 6, 12, 10, 24}};

TEST(MainLayout, PanesSitSideBySideBelowTheToolbar) {
  for (const ScaleCase& scale : kScales) {
    SCOPED_TRACE(scale.dpi);
    MainPanes panes = LayOutPanes(kBelowToolbar, 140, 634, scale.dpi);
    EXPECT_EQ(panes.panel, (LayoutRect{0, 28, 140, 412}));
    EXPECT_EQ(panes.splitter, (LayoutRect{140, 28, 140 + scale.bar, 412}));
    EXPECT_EQ(panes.host, (LayoutRect{140 + scale.bar, 28, 634, 412}));
  }
}

TEST(MainLayout, BarStaysInsideANarrowWindow) {
  // 100 wide: the bar may stand no further right than 94, leaving the host 3.
  MainPanes panes = LayOutPanes({0, 28, 100, 412}, 140, 100, 96);
  EXPECT_EQ(panes.panel.right, 94);
  EXPECT_EQ(panes.splitter, (LayoutRect{94, 28, 97, 412}));
  EXPECT_EQ(panes.host, (LayoutRect{97, 28, 100, 412}));
  for (const ScaleCase& scale : kScales) {
    SCOPED_TRACE(scale.dpi);
    // Exactly at the limit nothing moves.
    const int limit = 140 + scale.sliver;
    EXPECT_EQ(LayOutPanes({0, 0, limit, 10}, 140, limit, scale.dpi).panel.right, 140);
    EXPECT_EQ(LayOutPanes({0, 0, limit - 1, 10}, 140, limit - 1, scale.dpi).panel.right, 139);
  }
}

TEST(MainLayout, SplitterRangeKeepsThePageItsMinimum) {
  // 650 - 480 - 3: the page keeps 480 right of a 3-pixel bar.
  EXPECT_EQ(MainSplitterRange(140, 650, 480, 96), (SplitterRange{140, 167}));
  EXPECT_EQ(MainSplitterRange(200, 800, 530, 96), (SplitterRange{200, 267}));
  // At 150 % the bar is 5 wide, the page's 720 its 480 scaled.
  EXPECT_EQ(MainSplitterRange(210, 975, 720, 144), (SplitterRange{210, 250}));
}

TEST(MainLayout, SplitterRangeNeverBelowFive) {
  EXPECT_EQ(MainSplitterRange(140, 487, 480, 96).max, 5);  // 487 - 480 - 3 = 4
  EXPECT_EQ(MainSplitterRange(140, 488, 480, 96).max, 5);  // exactly 5
  EXPECT_EQ(MainSplitterRange(140, 489, 480, 96).max, 6);
  for (const ScaleCase& scale : kScales) {
    EXPECT_EQ(MainSplitterRange(140, 0, 530, scale.dpi).max, scale.leastMax) << scale.dpi;
  }
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
  EXPECT_EQ(MinTrackSize(530, 520, 140, 28, {}, 96), (TrackSize{682, 548}));
  EXPECT_EQ(MinTrackSize(480, 350, 0, 28, {}, 96), (TrackSize{492, 378}));  // panel not laid out
  EXPECT_EQ(MinTrackSize(450, 450, std::nullopt, std::nullopt, {}, 96), (TrackSize{450, 450}));
  EXPECT_EQ(MinTrackSize(480, 450, std::nullopt, 30, {}, 96), (TrackSize{480, 480}));
  for (const ScaleCase& scale : kScales) {
    EXPECT_EQ(MinTrackSize(800, 700, 210, 40, {}, scale.dpi), (TrackSize{1010 + scale.gap, 740}))
        << scale.dpi;
  }
}

TEST(MainLayout, MinTrackSizeMakesRoomForTheRealFrameAndCaption) {
  // A frame of 8 on each side and a caption of 23: 16 + 3 for the bar is more
  // than the 12 allowed for them, and the caption comes on top.
  EXPECT_EQ(MinTrackSize(530, 520, 140, 28, {16, 39}, 96), (TrackSize{689, 587}));
  // A thin frame never takes the window below the width with those 12.
  EXPECT_EQ(MinTrackSize(530, 520, 140, 28, {2, 2}, 96), (TrackSize{682, 550}));
  // At 200 % the 12 are 24 and the bar 6: a frame of 16 still fits in them.
  EXPECT_EQ(MinTrackSize(1060, 1040, 280, 56, {16, 39}, 192), (TrackSize{1364, 1135}));
}

TEST(MainLayout, FirstStartTakesTheDesignsRectangleAtTheDpi) {
  const LayoutRect design{20, 20, 670, 470};  // 650 by 450
  const LayoutRect screen{0, 0, 2560, 1400};
  EXPECT_EQ(FirstPlacement(design, true, 96, {600, 400}, screen), design);
  EXPECT_EQ(FirstPlacement(design, true, 120, {600, 400}, screen), (LayoutRect{25, 25, 838, 588}));
  EXPECT_EQ(FirstPlacement(design, true, 144, {600, 400}, screen), (LayoutRect{30, 30, 1005, 705}));
  EXPECT_EQ(FirstPlacement(design, true, 192, {600, 400}, screen), (LayoutRect{40, 40, 1340, 940}));
}

TEST(MainLayout, FirstPlacementIsNeverBelowTheMinimumAndStaysOnTheScreen) {
  // Where the page needs more than the design's 650 by 450 (a wide font):
  // the window takes its minimum.
  const LayoutRect screen{0, 0, 1024, 738};
  EXPECT_EQ(FirstPlacement({20, 20, 670, 470}, true, 96, {703, 460}, screen),
            (LayoutRect{20, 20, 723, 480}));
  // A stored placement smaller than the minimum grows to it.
  EXPECT_EQ(FirstPlacement({100, 50, 600, 400}, false, 96, {703, 460}, screen),
            (LayoutRect{100, 50, 803, 510}));
  // Grown past the screen's edge, it moves back onto it.
  EXPECT_EQ(FirstPlacement({500, 400, 900, 700}, false, 96, {703, 460}, screen),
            (LayoutRect{321, 278, 1024, 738}));
  // A stored placement large enough stays where the user left it, even
  // partly off the screen.
  EXPECT_EQ(FirstPlacement({900, 20, 1700, 600}, false, 96, {703, 460}, screen),
            (LayoutRect{900, 20, 1700, 600}));
}

// A stored panel is held where the widest page still fits beside it on the
// monitor, and never below the design's 140.
TEST(MainLayout, ALoadedSplitterLeavesTheWidestPageItsRoomOnTheMonitor) {
  EXPECT_EQ(HoldSplitterPos(300, 530, 1280, {0, 30}, 96), 300);
  EXPECT_EQ(HoldSplitterPos(5000, 530, 1280, {0, 30}, 96), 738);   // 1280 - 530 - 12
  EXPECT_EQ(HoldSplitterPos(5000, 530, 1280, {16, 30}, 96), 731);  // a wider frame
  EXPECT_EQ(HoldSplitterPos(5000, 795, 1920, {0, 30}, 144), 1107);
  EXPECT_EQ(HoldSplitterPos(5000, 530, 600, {0, 30}, 96), 140);  // no room at all
  EXPECT_EQ(HoldSplitterPos(150, 795, 1920, {0, 30}, 144), 210);
  EXPECT_EQ(MinTrackSize(530, 0, 731, 0, {16, 30}, 96).width, 1280);
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
