#include "dialogs/box_layout.h"

#include <algorithm>

namespace {

constexpr int kTextLeft = 15;
constexpr int kTextTop = 20;
constexpr int kButtonGap = 35;  // from the text's bottom to the buttons' top

BoxRect Sized(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

}  // namespace

int BoxTextWidth(BoxKind kind) { return kind == BoxKind::kAnswerFull ? 500 : 250; }

BoxLayout ComputeBoxLayout(BoxKind kind, int lineCount, int lineHeight, int frameHeight) {
  const bool full = kind == BoxKind::kAnswerFull;
  const int w = BoxTextWidth(kind);
  const int h = lineCount * lineHeight;
  const int buttonTop = h + kButtonGap;

  BoxLayout layout;
  layout.multiLineText = Sized(kTextLeft, kTextTop, w + 15, h);
  // The full box's centred line is narrower than its wrapping control.
  layout.singleLineText = {kTextLeft, kTextTop, full ? 515 : 280, kTextTop + h};
  layout.groupBox = {5, 0, full ? 525 : 290, h + 30};

  switch (kind) {
    case BoxKind::kMessage:
      layout.buttonCount = 1;
      layout.buttons[0] = {100, buttonTop, 200, h + 55};
      break;
    case BoxKind::kAnswer:
      layout.buttonCount = 2;
      layout.buttons[0] = Sized(5, buttonTop, 100, 20);
      layout.buttons[1] = Sized(190, buttonTop, 100, 20);
      break;
    case BoxKind::kAnswerFull:
      layout.buttonCount = 5;
      for (int i = 0; i < 5; ++i) layout.buttons[i] = Sized(5 + 105 * i, buttonTop, 100, 25);
      break;
  }

  layout.windowWidth = full ? 535 : 300;
  layout.windowHeight = h + frameHeight + (full ? 70 : 60);
  return layout;
}

BoxPoint CenterBox(int width, int height, const BoxRect& over, const BoxRect& bounds) {
  int x = over.left + (over.Width() - width) / 2;
  int y = over.top + (over.Height() - height) / 2;
  // Right and bottom first, so a box larger than the work area keeps its
  // caption on screen.
  x = std::max(std::min(x, bounds.right - width), bounds.left);
  y = std::max(std::min(y, bounds.bottom - height), bounds.top);
  return {x, y};
}
