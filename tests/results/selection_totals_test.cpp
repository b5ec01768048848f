#include "results/selection_totals.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace {

TEST(SizeText, TheLargestUnitItIsOneOfWithOneDecimalRoundedDown) {
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "0 B"},
      {812, "812 B"},
      {1023, "1023 B"},
      {1024, "1.0 KB"},
      {5 * 1024 + 102, "5.0 KB"},  // 5.0996 KB
      {5 * 1024 + 103, "5.1 KB"},  // 5.1006 KB
      {1048575, "1023.9 KB"},      // a byte short of 1 MB never reads as 1024.0 KB
      {1048576, "1.0 MB"},
      {1395864371, "1.2 GB"},  // a byte under 1.3 GB
      {1395864372, "1.3 GB"},
      {4398046511104, "4096.0 GB"},  // GB is the largest unit
      {UINT64_MAX, "17179869183.9 GB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
  EXPECT_EQ(SelectionText(0, 0), "");
  EXPECT_EQ(SelectionText(3, 5 * 1024), "Selected: 3 files, 5.0 KB");
  EXPECT_EQ(SelectionText(1, 812), "Selected: 1 files, 812 B");
}

// Any run of single, range and all-row changes leaves the sums a fresh count
// of the selected rows would give.
TEST(SelectionTotals, KeepTheCountAndSizeOfWhatIsSelected) {
  std::mt19937 random(17);
  const size_t rows = 500;
  std::vector<uint64_t> sizes(rows);
  for (uint64_t& size : sizes) size = random() % 100000;
  CSelectionTotals totals;
  totals.Reset(rows);
  std::vector<bool> selected(rows, false);
  for (int step = 0; step < 2000; ++step) {
    const bool on = random() % 2 == 0;
    switch (random() % 10) {
      case 0:
        totals.SetAll(on, sizes);
        selected.assign(rows, on);
        break;
      case 1:
      case 2: {
        const size_t from = random() % rows, to = from + random() % (rows - from);
        for (size_t row = from; row <= to; ++row) {
          totals.Set(row, on, sizes);
          selected[row] = on;
        }
        break;
      }
      default: {
        const size_t row = random() % rows;
        totals.Set(row, on, sizes);
        selected[row] = on;
      }
    }
    size_t count = 0;
    uint64_t bytes = 0;
    for (size_t row = 0; row < rows; ++row) {
      if (!selected[row]) continue;
      ++count;
      bytes += sizes[row];
    }
    ASSERT_EQ(totals.Count(), count) << step;
    ASSERT_EQ(totals.Bytes(), bytes) << step;
  }
  totals.Set(rows, true, sizes);  // no such row
  totals.Reset(3);
  EXPECT_EQ(totals.Count(), 0u);
  EXPECT_EQ(totals.Bytes(), 0u);
  EXPECT_FALSE(totals.IsSelected(0));
}

}  // namespace
