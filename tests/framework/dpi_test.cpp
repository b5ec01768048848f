#include "framework/dpi.h"

#include <gtest/gtest.h>

#include <utility>

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

// The releases whose reading of a manifest differs.
constexpr WindowsRelease kWindows7{6, 1, 7601}, kWindows8{6, 2, 9200}, kWindows81{6, 3, 9600},
    kWindows10v1507{10, 0, 10240}, kWindows10v1607{10, 0, 14393}, kWindows10v1703{10, 0, 15063},
    kWindows11{10, 0, 22631};

TEST(Dpi, AManifestIsReadAsEachWindowsReleaseReadsIt) {
  using enum DpiAwareness;
  struct Case {
    const char* dpiAware;
    const char* dpiAwareness;
    DpiAwareness on7, on8, on81, on1507, on1607, on1703, on11;
  };
  constexpr Case kCases[] = {
      // The program's own: the system's DPI wherever per monitor would be v1.
      {"true", "PerMonitorV2, System", kSystem, kSystem, kSystem, kSystem, kSystem, kPerMonitorV2,
       kPerMonitorV2},
      // What it said before: v1, which scales neither dialogs nor their
      // fonts, on 8.1 and Windows 10 before 1703.
      {"true/pm", "PerMonitorV2, PerMonitor", kSystem, kSystem, kPerMonitor, kPerMonitor,
       kPerMonitor, kPerMonitorV2, kPerMonitorV2},
      {"per monitor", "", kUnaware, kUnaware, kPerMonitor, kPerMonitor, kPerMonitor, kPerMonitor,
       kPerMonitor},
      {" TRUE ", " permonitorv2 ,unaware", kSystem, kSystem, kSystem, kSystem, kUnaware,
       kPerMonitorV2, kPerMonitorV2},
      {"false", "gibberish", kUnaware, kUnaware, kUnaware, kUnaware, kUnaware, kUnaware, kUnaware},
      {"", "", kUnaware, kUnaware, kUnaware, kUnaware, kUnaware, kUnaware, kUnaware},
  };
  for (const Case& c : kCases) {
    const std::pair<WindowsRelease, DpiAwareness> releases[] = {
        {kWindows7, c.on7},          {kWindows8, c.on8},          {kWindows81, c.on81},
        {kWindows10v1507, c.on1507}, {kWindows10v1607, c.on1607}, {kWindows10v1703, c.on1703},
        {kWindows11, c.on11}};
    for (const auto& [release, expected] : releases) {
      EXPECT_EQ(AwarenessFromManifest(c.dpiAware, c.dpiAwareness, release), expected)
          << c.dpiAware << " | " << c.dpiAwareness << " on build " << release.build;
    }
  }
}

}  // namespace
