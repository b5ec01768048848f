#pragma once
// Where the search page puts the controls that follow its size: the "Search
// Results" frame, the results list, the total label, the selection label
// beside it and "Delete". The page
// was drawn for the dialog base units of its font at 96 DPI on Windows (6 by
// 13 pixels); its offsets are those pixels, scaled to the units the page
// really has, so that a larger font or a higher DPI moves them with the
// template's own controls instead of over them.

#include "framework/layout_rect.h"

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
};

inline constexpr DialogBaseUnits kDrawnForBaseUnits{6, 13};

// The saved searches' row above the conditions: 16 dialog units, in the
// pixels of the drawing. The template's controls move down by it.
inline constexpr int kSavedSearchesRow = 26;

struct SearchPagePlaces {
  LayoutRect resultsGroup;
  LayoutRect resultsList;
  LayoutRect deleteButton;
  LayoutRect totalLabel;
  LayoutRect selectionLabel;  // between the total label and "Delete"; two lines
  // "Move to the Recycle Bin", right above "Delete": beside it on the same
  // row it would leave the selection label no room at the page's least width.
  LayoutRect recycleBox;
  int templateShift = 0;  // how far every control of the template moves down
};

// For a client area of cx by cy pixels.
SearchPagePlaces LayOutSearchPage(int cx, int cy, DialogBaseUnits units);
