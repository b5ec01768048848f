#include "framework/dpi.h"

#include <gtest/gtest.h>

namespace {

TEST(Dpi, ScalesTheDesignsFiguresRoundingHalvesAwayFromZero) {
  struct Case {
    int pixels, dpi, from, scaled;
  };
  constexpr Case kCases[] = {
      {650, 96, 96, 650},  {650, 120, 96, 813}, {650, 144, 96, 975}, {650, 192, 96, 1300},
      {3, 120, 96, 4},     {3, 144, 96, 5},     {5, 144, 96, 8},     {-11, 144, 96, -17},
      {-3, 144, 96, -5},   {0, 192, 96, 0},     {975, 96, 144, 650}, {45, 120, 144, 38},
      {140, 168, 96, 245}, {7, 96, 0, 7},  // no DPI to come from: unchanged
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi, c.from), c.scaled)
        << c.pixels << " from " << c.from << " to " << c.dpi;
  }
  EXPECT_EQ(ScaleForDpi(30, 144), 45);  // from the design's 96 unless told
}

}  // namespace
