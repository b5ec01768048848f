#include "dialogs/box_layout.h"

#include <gtest/gtest.h>

namespace {

// Figures as a Windows system font gives them; the arithmetic must hold for any.
constexpr int kLine = 16;
constexpr int kFrame = 25;

TEST(BoxLayout, MessageBoxOneLine) {
  BoxLayout layout = ComputeBoxLayout(BoxKind::kMessage, 1, kLine, kFrame, 96);
  EXPECT_EQ(layout.multiLineText, (BoxRect{15, 20, 280, 36}));
  EXPECT_EQ(layout.singleLineText, (BoxRect{15, 20, 280, 36}));  // 265 wide, both
  EXPECT_EQ(layout.groupBox, (BoxRect{5, 0, 290, 46}));
  ASSERT_EQ(layout.buttonCount, 1);
  EXPECT_EQ(layout.buttons[0], (BoxRect{100, 51, 200, 71}));  // "Ok", 100 x 20
  EXPECT_EQ(layout.windowWidth, 300);
  EXPECT_EQ(layout.windowHeight, kLine + kFrame + 60);
}

TEST(BoxLayout, EachLineGrowsTheBoxByOneLineHeight) {
  for (int dpi : {96, 120, 144, 192}) {
    for (BoxKind kind : {BoxKind::kMessage, BoxKind::kAnswer, BoxKind::kAnswerFull}) {
      BoxLayout one = ComputeBoxLayout(kind, 1, kLine, kFrame, dpi);
      BoxLayout three = ComputeBoxLayout(kind, 3, kLine, kFrame, dpi);
      EXPECT_EQ(three.windowHeight - one.windowHeight, 2 * kLine);
      EXPECT_EQ(three.groupBox.bottom - one.groupBox.bottom, 2 * kLine);
      EXPECT_EQ(three.buttons[0].top - one.buttons[0].top, 2 * kLine);
      EXPECT_EQ(three.windowWidth, one.windowWidth);  // only the height grows
    }
  }
}

TEST(BoxLayout, EveryFigureScalesWithTheBoxsDpi) {
  // A line of 24 and a frame of 38 as a 150 % screen gives them.
  BoxLayout layout = ComputeBoxLayout(BoxKind::kMessage, 1, 24, 38, 144);
  EXPECT_EQ(layout.multiLineText, (BoxRect{23, 30, 420, 54}));  // 15, 20, 265 wide
  EXPECT_EQ(layout.groupBox, (BoxRect{8, 0, 435, 69}));
  EXPECT_EQ(layout.buttons[0], (BoxRect{150, 77, 300, 107}));
  EXPECT_EQ(layout.windowWidth, 450);
  EXPECT_EQ(layout.windowHeight, 24 + 38 + 90);
  BoxLayout full = ComputeBoxLayout(BoxKind::kAnswerFull, 1, 24, 38, 192);
  EXPECT_EQ(full.buttons[4], (BoxRect{850, 94, 1050, 144}));
  EXPECT_EQ(full.windowWidth, 1070);
}

TEST(BoxLayout, AnswerBoxButtons) {
  BoxLayout layout = ComputeBoxLayout(BoxKind::kAnswer, 2, 13, 30, 96);
  ASSERT_EQ(layout.buttonCount, 2);
  EXPECT_EQ(layout.buttons[0], (BoxRect{5, 61, 105, 81}));    // Yes
  EXPECT_EQ(layout.buttons[1], (BoxRect{190, 61, 290, 81}));  // No
  EXPECT_EQ(layout.windowWidth, 300);
  EXPECT_EQ(layout.windowHeight, 26 + 30 + 60);
}

TEST(BoxLayout, FullBoxIsWiderAndTaller) {
  BoxLayout layout = ComputeBoxLayout(BoxKind::kAnswerFull, 1, kLine, kFrame, 96);
  EXPECT_EQ(layout.multiLineText, (BoxRect{15, 20, 530, 36}));   // 515 wide
  EXPECT_EQ(layout.singleLineText, (BoxRect{15, 20, 515, 36}));  // but 500 when centred
  EXPECT_EQ(layout.groupBox, (BoxRect{5, 0, 525, 46}));
  ASSERT_EQ(layout.buttonCount, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(layout.buttons[i], (BoxRect{5 + 105 * i, 51, 105 + 105 * i, 76})) << i;
  }
  EXPECT_EQ(layout.windowWidth, 535);
  EXPECT_EQ(layout.windowHeight, kLine + kFrame + 70);
}

TEST(BoxLayout, ButtonsDoNotOverlap) {
  BoxLayout layout = ComputeBoxLayout(BoxKind::kAnswerFull, 1, kLine, kFrame, 96);
  for (int i = 1; i < layout.buttonCount; ++i) {
    EXPECT_LT(layout.buttons[i - 1].right, layout.buttons[i].left);
  }
  EXPECT_LE(layout.buttons[4].right, layout.windowWidth);
}

TEST(BoxLayout, MeasuringWidth) {
  EXPECT_EQ(BoxTextWidth(BoxKind::kMessage, 96), 250);
  EXPECT_EQ(BoxTextWidth(BoxKind::kAnswer, 96), 250);
  EXPECT_EQ(BoxTextWidth(BoxKind::kAnswerFull, 96), 500);
  EXPECT_EQ(BoxTextWidth(BoxKind::kAnswerFull, 120), 625);
}

TEST(CenterBox, CentresOverTheOwner) {
  BoxRect screen{0, 0, 1280, 1024};
  // An odd leftover pixel goes below the box.
  EXPECT_EQ(CenterBox(300, 101, {100, 100, 700, 500}, screen), (BoxPoint{250, 249}));
}

TEST(CenterBox, CentresOverTheScreenWhenThatIsTheArea) {
  BoxRect screen{0, 0, 1280, 1024};
  EXPECT_EQ(CenterBox(300, 100, screen, screen), (BoxPoint{490, 462}));
}

TEST(CenterBox, StaysInsideTheWorkArea) {
  BoxRect work{0, 0, 1280, 994};
  EXPECT_EQ(CenterBox(300, 100, {-400, -300, -100, -100}, work), (BoxPoint{0, 0}));
  EXPECT_EQ(CenterBox(300, 100, {1200, 950, 1400, 1100}, work), (BoxPoint{980, 894}));
}

TEST(CenterBox, LargerThanTheWorkAreaKeepsTheTopLeft) {
  EXPECT_EQ(CenterBox(600, 400, {0, 0, 100, 100}, {10, 20, 410, 320}), (BoxPoint{10, 20}));
}

}  // namespace
