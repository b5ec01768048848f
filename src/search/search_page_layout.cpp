#include "search/search_page_layout.h"

#include <algorithm>

namespace {

// Rounded to the nearest pixel, as the dialog manager maps its units.
int Scale(int drawnPixels, int units, int drawnUnits) {
  const long long scaled = 2LL * drawnPixels * units + drawnUnits;
  return static_cast<int>(scaled / (2LL * drawnUnits));
}

LayoutRect At(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

}  // namespace

SearchPagePlaces LayOutSearchPage(int cx, int cy, DialogBaseUnits units) {
  auto h = [&](int pixels) { return Scale(pixels, units.x, kDrawnForBaseUnits.x); };
  auto v = [&](int pixels) { return Scale(pixels, units.y, kDrawnForBaseUnits.y); };
  SearchPagePlaces places;
  const int row = kSavedSearchesRow;
  places.templateShift = v(row);
  places.resultsGroup = At(h(6), v(300 + row), cx - h(12), cy - v(310 + row));
  const int listTop = v(315 + row);
  const int listBottom = std::max(listTop, cy - v(62));
  places.resultsList = At(h(9), listTop, cx - h(18), listBottom - listTop);
  places.recycleBox = At(cx - h(158), cy - v(59), h(150), v(17));
  places.deleteButton = At(cx - h(158), cy - v(39), h(150), v(25));
  places.totalLabel = At(h(9), cy - v(39), h(200), v(25));
  const int selectionLeft = places.totalLabel.right + h(8);
  places.selectionLabel = {selectionLeft, cy - v(39),
                           std::max(selectionLeft, places.deleteButton.left - h(8)), cy - v(13)};
  return places;
}
