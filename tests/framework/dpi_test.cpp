#include "framework/dpi.h"

#include <gtest/gtest.h>

#include <iterator>

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

// How each Windows release reads a manifest's two settings (the program's
// own manifest is tried in Resources).
TEST(Dpi, AManifestIsReadAsEachWindowsReleaseReadsIt) {
  using enum DpiAwareness;
  constexpr WindowsRelease kReleases[] = {
      {6, 2, 9200}, {6, 3, 9600}, {10, 0, 10240}, {10, 0, 14393}, {10, 0, 15063}};
  struct Case {
    const char* dpiAware;
    const char* dpiAwareness;
    DpiAwareness on[5];  // in the order of kReleases
  };
  constexpr Case kCases[] = {
      {"true/pm",
       "PerMonitorV2, PerMonitor",  // the program's before
       {kSystem, kPerMonitor, kPerMonitor, kPerMonitor, kPerMonitorV2}},
      {"per monitor", "", {kUnaware, kPerMonitor, kPerMonitor, kPerMonitor, kPerMonitor}},
      {" TRUE ", " permonitorv2 ,unaware", {kSystem, kSystem, kSystem, kUnaware, kPerMonitorV2}},
  };
  for (const Case& c : kCases) {
    for (size_t i = 0; i < std::size(kReleases); ++i) {
      EXPECT_EQ(AwarenessFromManifest(c.dpiAware, c.dpiAwareness, kReleases[i]), c.on[i])
          << c.dpiAware << " | " << c.dpiAwareness << " on build " << kReleases[i].build;
    }
  }
}

}  // namespace
