#include "search/search_page_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchPageLayout, AtTheUnitsItWasDrawnForItsOwnPixels) {
  const SearchPagePlaces places = LayOutSearchPage(800, 600, kDrawnForBaseUnits);
  // The saved searches' row moves the frame and the list down by 26; the
  // Recycle Bin's box takes 22 more from the list.
  EXPECT_EQ(places.templateShift, 26);
  EXPECT_EQ(places.resultsGroup, (LayoutRect{6, 326, 794, 590}));
  EXPECT_EQ(places.resultsList, (LayoutRect{9, 341, 791, 538}));
  EXPECT_EQ(places.recycleBox, (LayoutRect{642, 541, 792, 558}));
  EXPECT_EQ(places.deleteButton, (LayoutRect{642, 561, 792, 586}));
  EXPECT_EQ(places.totalLabel, (LayoutRect{9, 561, 209, 586}));
  EXPECT_EQ(places.selectionLabel, (LayoutRect{217, 561, 634, 587}));
  // A page narrower than both labels and "Delete" gives the second none.
  const SearchPagePlaces narrow = LayOutSearchPage(300, 600, kDrawnForBaseUnits);
  EXPECT_EQ(narrow.selectionLabel.Width(), 0);
}

TEST(SearchPageLayout, LargerUnitsKeepTheResultsBelowTheTemplatesControls) {
  // Twice the units (a 192-DPI screen): every offset and size doubles, so the
  // frame still starts below "Find" of the template.
  const SearchPagePlaces places = LayOutSearchPage(1600, 1200, {12, 26});
  EXPECT_EQ(places.resultsGroup, (LayoutRect{12, 652, 1588, 1180}));
  EXPECT_EQ(places.templateShift, 52);
  EXPECT_EQ(places.deleteButton, (LayoutRect{1284, 1122, 1584, 1172}));
  // Wine's DejaVu Sans (7 by 15, rounded to the nearest pixel).
  const SearchPagePlaces wine = LayOutSearchPage(900, 700, {7, 15});
  EXPECT_EQ(wine.resultsList, (LayoutRect{11, 393, 890, 628}));
  EXPECT_EQ(wine.totalLabel, (LayoutRect{11, 655, 244, 684}));
}

}  // namespace
