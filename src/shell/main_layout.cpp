#include "shell/main_layout.h"

#include <algorithm>

MainPanes LayOutPanes(const LayoutRect& area, int splitterLeft, int clientWidth) {
  // Six pixels keep the bar and a sliver of the host inside the window.
  const int x = std::min(splitterLeft, clientWidth - 6);
  MainPanes panes;
  panes.panel = {area.left, area.top, x, area.bottom};
  panes.splitter = {x, area.top, x + kSplitterWidth, area.bottom};
  panes.host = {x + kSplitterWidth, area.top, clientWidth, area.bottom};
  return panes;
}

SplitterRange MainSplitterRange(int splitterPos, int clientWidth, int minPageWidth) {
  return {splitterPos, std::max(5, clientWidth - minPageWidth - kSplitterWidth)};
}

int ClampToRange(int position, int min, int max) { return std::min(std::max(position, min), max); }

SplitterRange RangeAround(int centre, int before, int after) {
  return {centre - before, centre + after};
}

TrackSize MinTrackSize(int minPageWidth, int minPageHeight, std::optional<int> panelWidth,
                       std::optional<int> toolbarHeight, TrackSize frame) {
  const int allowedWidth = minPageWidth + (panelWidth ? *panelWidth + 12 : 0);
  const int realWidth =
      minPageWidth + (panelWidth ? *panelWidth + kSplitterWidth : 0) + frame.width;
  return {std::max(allowedWidth, realWidth),
          minPageHeight + (toolbarHeight ? *toolbarHeight : 0) + std::max(0, frame.height)};
}

LayoutRect BringInto(const LayoutRect& rect, const LayoutRect& area) {
  // Right or bottom edge first, then left or top: a rectangle too large for
  // the area ends at the area's top-left corner.
  const int dx = std::max(area.left - rect.left, std::min(0, area.right - rect.right));
  const int dy = std::max(area.top - rect.top, std::min(0, area.bottom - rect.bottom));
  return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

int BarCentre(int low, int high) { return low + (high - low) / 2; }

int BarShift(int position, int low, int high) { return position - (low + high) / 2; }

LayoutRect MoveEdge(LayoutRect rect, int distance, WindowEdge edge) {
  if (edge == WindowEdge::kRight) {
    rect.right += distance;
  } else {
    rect.left += distance;
  }
  return rect;
}
