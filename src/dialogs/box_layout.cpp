#include "dialogs/box_layout.h"

#include <algorithm>

#include "framework/dpi.h"

namespace {

constexpr int kTextLeft = 15;
constexpr int kTextTop = 20;
constexpr int kButtonGap = 35;  // from the text's bottom to the buttons' top

BoxRect Sized(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

int DesignTextWidth(BoxKind kind) { return kind == BoxKind::kAnswerFull ? 500 : 250; }

}  // namespace

int BoxTextWidth(BoxKind kind, int dpi) { return ScaleForDpi(DesignTextWidth(kind), dpi); }

BoxLayout ComputeBoxLayout(BoxKind kind, int lineCount, int lineHeight, int frameHeight, int dpi) {
  auto s = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
  const bool full = kind == BoxKind::kAnswerFull;
  const int h = lineCount * lineHeight;
  const int buttonTop = h + s(kButtonGap);
  const int left = s(kTextLeft);
  const int top = s(kTextTop);

  BoxLayout layout;
  // Edges scaled from the design's, so that rounding does not add up.
  layout.multiLineText = {left, top, s(kTextLeft + DesignTextWidth(kind) + 15), top + h};
  // The full box's centred line is narrower than its wrapping control.
  layout.singleLineText = {left, top, s(full ? 515 : 280), top + h};
  layout.groupBox = {s(5), 0, s(full ? 525 : 290), h + s(30)};

  switch (kind) {
    case BoxKind::kMessage:
      layout.buttonCount = 1;
      layout.buttons[0] = {s(100), buttonTop, s(200), h + s(55)};
      break;
    case BoxKind::kAnswer:
      layout.buttonCount = 2;
      layout.buttons[0] = Sized(s(5), buttonTop, s(100), s(20));
      layout.buttons[1] = Sized(s(190), buttonTop, s(100), s(20));
      break;
    case BoxKind::kAnswerFull:
      layout.buttonCount = 5;
      for (int i = 0; i < 5; ++i) {
        layout.buttons[i] = Sized(s(5 + 105 * i), buttonTop, s(100), s(25));
      }
      break;
  }

  layout.windowWidth = s(full ? 535 : 300);
  layout.windowHeight = h + frameHeight + s(full ? 70 : 60);
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
