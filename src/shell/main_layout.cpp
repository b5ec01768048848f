#include "shell/main_layout.h"

#include <algorithm>

#include "framework/dpi.h"

int SplitterWidth(int dpi) { return ScaleForDpi(kSplitterWidth, dpi); }

MainPanes LayOutPanes(const LayoutRect& area, int splitterLeft, int clientWidth, int dpi) {
  // Six pixels keep the bar and a sliver of the host inside the window.
  const int x = std::min(splitterLeft, clientWidth - ScaleForDpi(6, dpi));
  const int bar = SplitterWidth(dpi);
  MainPanes panes;
  panes.panel = {area.left, area.top, x, area.bottom};
  panes.splitter = {x, area.top, x + bar, area.bottom};
  panes.host = {x + bar, area.top, clientWidth, area.bottom};
  return panes;
}

SplitterRange MainSplitterRange(int splitterPos, int clientWidth, int minPageWidth, int dpi) {
  return {splitterPos,
          std::max(ScaleForDpi(5, dpi), clientWidth - minPageWidth - SplitterWidth(dpi))};
}

int ClampToRange(int position, int min, int max) { return std::min(std::max(position, min), max); }

SplitterRange RangeAround(int centre, int before, int after) {
  return {centre - before, centre + after};
}

TrackSize MinTrackSize(int minPageWidth, int minPageHeight, std::optional<int> panelWidth,
                       std::optional<int> toolbarHeight, TrackSize frame, int dpi) {
  const int allowedWidth = minPageWidth + (panelWidth ? *panelWidth + ScaleForDpi(12, dpi) : 0);
  const int realWidth =
      minPageWidth + (panelWidth ? *panelWidth + SplitterWidth(dpi) : 0) + frame.width;
  return {std::max(allowedWidth, realWidth),
          minPageHeight + (toolbarHeight ? *toolbarHeight : 0) + std::max(0, frame.height)};
}

int HoldSplitterPos(int stored, int widestPage, int areaWidth, TrackSize frame, int dpi) {
  // What MinTrackSize adds beside the panel and the page.
  const int beside = std::max(ScaleForDpi(12, dpi), SplitterWidth(dpi) + frame.width);
  return std::max(ScaleForDpi(kMinPanelWidth, dpi),
                  std::min(stored, areaWidth - widestPage - beside));
}

LayoutRect BringInto(const LayoutRect& rect, const LayoutRect& area) {
  // Right or bottom edge first, then left or top: a rectangle too large for
  // the area ends at the area's top-left corner.
  const int dx = std::max(area.left - rect.left, std::min(0, area.right - rect.right));
  const int dy = std::max(area.top - rect.top, std::min(0, area.bottom - rect.bottom));
  return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

LayoutRect FirstPlacement(const LayoutRect& stored, bool designed, int dpi, TrackSize least,
                          const LayoutRect& area) {
  LayoutRect rect = stored;
  if (designed) {
    rect.left = ScaleForDpi(stored.left, dpi);
    rect.top = ScaleForDpi(stored.top, dpi);
    rect.right = rect.left + ScaleForDpi(stored.Width(), dpi);
    rect.bottom = rect.top + ScaleForDpi(stored.Height(), dpi);
  }
  const bool grows = rect.Width() < least.width || rect.Height() < least.height;
  rect.right = rect.left + std::max(rect.Width(), least.width);
  rect.bottom = rect.top + std::max(rect.Height(), least.height);
  return designed || grows ? BringInto(rect, area) : rect;
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
