#pragma once
// Pixel layout of the message and question boxes, as pure arithmetic: the
// boxes measure the font and count the text's lines, and this says where
// everything goes. Its figures are drawn for 96 DPI and scaled to the box's.

#include <array>

#include "framework/layout_rect.h"

enum class BoxKind {
  kMessage,     // CMessageBox: "Ok"
  kAnswer,      // CAnswerBox: Yes, No
  kAnswerFull,  // CAnswerBoxFull: five buttons
};

using BoxRect = LayoutRect;

struct BoxLayout {
  BoxRect multiLineText;   // where the wrapping text control goes
  BoxRect singleLineText;  // the centred control that replaces it for one line
  BoxRect groupBox;
  int buttonCount = 0;
  std::array<BoxRect, 5> buttons{};  // left to right
  int windowWidth = 0;
  int windowHeight = 0;
};

// Width of the text control while its lines are first counted.
int BoxTextWidth(BoxKind kind, int dpi);

// lineCount: the lines of the text at BoxTextWidth (an empty text counts 1);
// lineHeight: character height plus external leading; frameHeight: the
// window's height minus its client height; dpi: the box's.
BoxLayout ComputeBoxLayout(BoxKind kind, int lineCount, int lineHeight, int frameHeight, int dpi);

// Top-left corner that centres a width x height window over `over`, pulled
// back inside `bounds` (the work area) when it would stick out.
struct BoxPoint {
  int x = 0;
  int y = 0;
  bool operator==(const BoxPoint&) const = default;
};
BoxPoint CenterBox(int width, int height, const BoxRect& over, const BoxRect& bounds);
