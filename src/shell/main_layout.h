#pragma once
// The main window's arithmetic: where the navigation panel, the splitter bar
// and the page host go below the toolbar, the smallest size the window may
// take for the shown page, how far the bar may be dragged and where the window
// first stands. Plain numbers, so it is tested natively; the window code only
// feeds it what it measured and its DPI, by which the design's figures (all
// drawn for 96 DPI) are scaled.

#include <optional>

#include "framework/layout_rect.h"

inline constexpr int kSplitterWidth = 3;  // at 96 DPI
inline constexpr int kMinPanelWidth = 140;

int SplitterWidth(int dpi);

struct MainPanes {
  LayoutRect panel;     // navigation panel
  LayoutRect splitter;  // the bar
  LayoutRect host;      // page host
};

// `area` is the client area below the toolbar, `clientWidth` the client
// width the size change reported, `splitterLeft` the bar's left edge now. The
// bar keeps its place unless the window got too narrow for it.
MainPanes LayOutPanes(const LayoutRect& area, int splitterLeft, int clientWidth, int dpi);

struct SplitterRange {
  int min = -1;
  int max = -1;
  bool operator==(const SplitterRange&) const = default;
};

// The bar may not go left of where the panel started this run (`splitterPos`,
// changed only at exit) nor so far right that the page loses its minimum
// width; a window too narrow for that still lets it move up to 5 (at 96 DPI).
SplitterRange MainSplitterRange(int splitterPos, int clientWidth, int minPageWidth, int dpi);

// A dragged position: first raised to `min`, then lowered to `max`, so an
// inverted range yields `max`.
int ClampToRange(int position, int min, int max);

// [centre - before, centre + after].
SplitterRange RangeAround(int centre, int before, int after);

struct TrackSize {
  int width = 0;
  int height = 0;
  bool operator==(const TrackSize&) const = default;
};

// The smallest window that shows the page: its minimum plus the panel (and
// 12 at 96 DPI for the bar and the frame) beside it and the toolbar above it.
// A part that does not exist yet adds nothing. `frame` is what the window's
// own frame and caption take around its client area: where the system's
// frame is wider than those 12 allow for, and for the caption, the window
// grows by it, so that the page is never cut off.
TrackSize MinTrackSize(int minPageWidth, int minPageHeight, std::optional<int> panelWidth,
                       std::optional<int> toolbarHeight, TrackSize frame, int dpi);

// A splitter position as loaded: no narrower than the design's panel, and
// no wider than leaves the widest page its minimum in a window as wide as
// `areaWidth` (its monitor's work area) with `frame` around its client area;
// where not even that fits, the design's panel.
int HoldSplitterPos(int stored, int widestPage, int areaWidth, TrackSize frame, int dpi);

// Where a drag starts: the middle of the bar's span, rounded toward its low
// edge the way integer division does.
int BarCentre(int low, int high);

// How far the bar spanning [low, high) moves so that its centre line lands
// on `position`.
int BarShift(int position, int low, int high);

// A window rectangle that lies on no monitor any more, moved into `area`
// (the nearest monitor's work area) by as little as it takes; one larger
// than the area keeps its size with its top-left corner in the area's.
LayoutRect BringInto(const LayoutRect& rect, const LayoutRect& area);

// Where the window first stands: the stored normal rectangle, or on a first
// start (`designed`) the design's one scaled to the DPI; never smaller than
// `least`, the window's minimum. A rectangle that was scaled or grown is
// brought into `area` (its monitor's work area), as a user would expect of a
// window the program sized itself; one stored as the user left it stays.
LayoutRect FirstPlacement(const LayoutRect& stored, bool designed, int dpi, TrackSize least,
                          const LayoutRect& area);

enum class WindowEdge { kRight = 1, kLeft = 2 };

// The rectangle with one edge moved by `distance`.
LayoutRect MoveEdge(LayoutRect rect, int distance, WindowEdge edge);
