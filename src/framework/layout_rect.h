#pragma once
// The rectangle the layout arithmetic works in, portable so that the
// arithmetic is tested natively.

// A rectangle as Windows gives it: right and bottom are one past the edge.
struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const LayoutRect&) const = default;
};
