#include "results/compare_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "settings/app_data.h"

namespace {

constexpr int kN = 0, kName = 1, kLocation = 3, kSize = 4, kDate = 5;

// A store of rows that differ only in the column a test looks at.
class CompareRowsTest : public ::testing::Test {
 protected:
  int32_t Row(const std::string& name, uint64_t size = 0, int64_t time = 0,
              const std::string& location = "C:\\") {
    m_data.AddResult(name, location, "", size, "", time);
    return static_cast<int32_t>(m_data.GetResultCount() - 1);
  }
  int Ascending(int32_t a, int32_t b, int column) {
    return CompareRows(m_data, a, b, column, kResultColumnSortKinds[column]);
  }
  int Descending(int32_t a, int32_t b, int column) {
    return CompareRows(m_data, a, b, column, -kResultColumnSortKinds[column]);
  }
  std::vector<int32_t> Sorted(std::vector<int32_t> order, int column, bool ascending) {
    const int32_t kind = kResultColumnSortKinds[column];
    SortRows(m_data, order, column, ascending ? kind : -kind);
    return order;
  }

  CAppData m_data;
};

}  // namespace

TEST_F(CompareRowsTest, NamesIgnoreCase) {
  const int32_t lower = Row("alpha.txt"), upper = Row("Alpha.txt"), shout = Row("ALPHA.TXT");
  const int32_t beta = Row("Beta.txt"), empty = Row("");
  EXPECT_EQ(Ascending(lower, upper, kName), 0);
  EXPECT_EQ(Ascending(upper, lower, kName), 0);
  EXPECT_EQ(Descending(lower, shout, kName), 0);
  EXPECT_LT(Ascending(lower, beta, kName), 0);
  EXPECT_GT(Ascending(beta, upper, kName), 0);
  EXPECT_LT(Ascending(empty, lower, kName), 0);
  const int32_t far = Row("a", 0, 0, "D:\\"), near = Row("b", 0, 0, "c:\\");
  EXPECT_GT(Ascending(far, near, kLocation), 0);
}

TEST_F(CompareRowsTest, SizesCompareAsNumbersBeyondFourGigabytes) {
  const int32_t big = Row("a", 4294967296ULL), almost = Row("b", 4294967295ULL);
  const int32_t nine = Row("c", 9), ten = Row("d", 10), three = Row("e", 3221225472ULL);
  const int32_t threeAgain = Row("f", 3221225472ULL), zero = Row("g", 0);
  EXPECT_GT(Ascending(big, almost, kSize), 0);
  EXPECT_LT(Ascending(almost, big, kSize), 0);
  // As text "9" would come after "10".
  EXPECT_LT(Ascending(nine, ten, kSize), 0);
  EXPECT_EQ(Ascending(three, threeAgain, kSize), 0);
  EXPECT_GT(Ascending(three, zero, kSize), 0);
}

TEST_F(CompareRowsTest, NumberColumnNSortsByTheStoreRow) {
  for (int i = 0; i < 12; ++i) Row("f");
  // 10 after 9, as numbers.
  EXPECT_LT(Ascending(8, 9, kN), 0);
  EXPECT_EQ(Sorted({11, 9, 10, 8, 0}, kN, true), (std::vector<int32_t>{0, 8, 9, 10, 11}));
  EXPECT_EQ(Sorted({11, 9, 10, 8, 0}, kN, false), (std::vector<int32_t>{11, 10, 9, 8, 0}));
}

TEST(ParseRowNumber, ReadsTheLeadingDigits) {
  EXPECT_EQ(ParseRowNumber("12abc"), 12);
  EXPECT_EQ(ParseRowNumber("abc"), 0);
  EXPECT_EQ(ParseRowNumber(""), 0);
  EXPECT_EQ(ParseRowNumber("  -7"), -7);
  EXPECT_EQ(ParseRowNumber("+8"), 8);
  EXPECT_EQ(ParseRowNumber("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(ParseRowNumber("-9223372036854775808"), INT64_MIN);
  // Too long for 64 bits: held at the limit rather than wrapped round.
  EXPECT_EQ(ParseRowNumber("99999999999999999999"), INT64_MAX);
  EXPECT_EQ(ParseRowNumber("-99999999999999999999"), INT64_MIN);
}

TEST_F(CompareRowsTest, DescendingNegates) {
  const int32_t one = Row("alpha", 1), two = Row("beta", 2), five = Row("x", 5);
  const int32_t fiveAgain = Row("y", 5);
  const int32_t pairs[][2] = {{one, two}, {two, one}, {five, fiveAgain}};
  for (const auto& pair : pairs)
    EXPECT_EQ(Descending(pair[0], pair[1], kSize), -Ascending(pair[0], pair[1], kSize));
  EXPECT_GT(Descending(one, two, kName), 0);
}

// By the instant: the text's two-digit years would put 2050 before 1999.
TEST_F(CompareRowsTest, DatesCompareTheirInstantsAcrossTheCenturies) {
  const int32_t y1950 = Row("a", 0, -631152000), y1999 = Row("b", 0, 946684799);
  const int32_t y2000 = Row("c", 0, 946684800), y2050 = Row("d", 0, 2524608000);
  EXPECT_LT(Ascending(y1950, y1999, kDate), 0);
  EXPECT_LT(Ascending(y1999, y2000, kDate), 0);
  EXPECT_LT(Ascending(y2000, y2050, kDate), 0);
  EXPECT_GT(Ascending(y2050, y1950, kDate), 0);
  EXPECT_GT(Descending(y1950, y2050, kDate), 0);
  EXPECT_EQ(Sorted({y2050, y1950, y2000, y1999}, kDate, true),
            (std::vector<int32_t>{y1950, y1999, y2000, y2050}));
}

// Unlike a comparison that answers +1 for equal dates either way round, the
// sort's ordering is strict: equal instants compare 0 both ways and keep
// the order they had, ascending and descending.
TEST_F(CompareRowsTest, EqualDatesCompareZeroAndKeepTheirOrder) {
  const int32_t first = Row("a", 0, 1276603200), second = Row("b", 0, 1276603200);
  const int32_t earlier = Row("c", 0, 1276603199);
  EXPECT_EQ(Ascending(first, second, kDate), 0);
  EXPECT_EQ(Ascending(second, first, kDate), 0);
  EXPECT_EQ(Descending(first, second, kDate), 0);
  EXPECT_EQ(Sorted({second, earlier, first}, kDate, true),
            (std::vector<int32_t>{earlier, second, first}));
  EXPECT_EQ(Sorted({second, earlier, first}, kDate, false),
            (std::vector<int32_t>{second, first, earlier}));
}

TEST_F(CompareRowsTest, OtherKindsCompareZeroAndLeaveTheOrder) {
  const int32_t a = Row("a", 1), b = Row("b", 2);
  EXPECT_EQ(CompareRows(m_data, a, b, kName, SORT_NONE), 0);
  EXPECT_EQ(CompareRows(m_data, a, b, kName, 4), 0);
  EXPECT_EQ(CompareRows(m_data, a, b, kName, -4), 0);
  EXPECT_EQ(CompareRows(m_data, a, b, kName, INT32_MIN), 0);
  std::vector<int32_t> order = {b, a};
  SortRows(m_data, order, kName, 4);
  EXPECT_EQ(order, (std::vector<int32_t>{b, a}));
}

// Many rows with few distinct keys: every sort is ordered by its column and,
// within equal keys, keeps the order of the sort before it.
TEST_F(CompareRowsTest, SortsAreStableInEveryColumnAndDirection) {
  for (int i = 0; i < 500; ++i) {
    const int key = (i * 7919) % 13;
    Row(std::string(1, static_cast<char>((key % 2 ? 'a' : 'A') + key / 2)),
        static_cast<uint64_t>(key), key * 3600, key % 3 ? "C:\\x\\" : "c:\\X\\");
  }
  std::vector<int32_t> order(m_data.GetResultCount());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
  for (int column : {kSize, kName, kLocation, kDate, kN, kName}) {
    for (bool ascending : {true, false}) {
      const std::vector<int32_t> before = order;
      std::vector<size_t> placeBefore(order.size());
      for (size_t i = 0; i < before.size(); ++i) placeBefore[static_cast<size_t>(before[i])] = i;
      const int32_t param = (ascending ? 1 : -1) * kResultColumnSortKinds[column];
      SortRows(m_data, order, column, param);
      for (size_t i = 0; i + 1 < order.size(); ++i) {
        const int order2 = CompareRows(m_data, order[i], order[i + 1], column, param);
        ASSERT_LE(order2, 0) << column;
        if (order2 == 0) {
          ASSERT_LT(placeBefore[static_cast<size_t>(order[i])],
                    placeBefore[static_cast<size_t>(order[i + 1])])
              << column;
        }
      }
    }
  }
}

TEST(CollectSelectedResults, MarksTheRowsNamedInColumnN) {
  std::vector<int32_t> marks = {1, 1, 0, 1, 0, 0, 1, 0, 0, 1};  // left from an earlier run
  std::vector<int32_t> selected = {4, 4};
  // Rows 3 and 7 after a sort: the list reports 7 first when it stands higher.
  const std::vector<std::string> texts = {"7", "3"};
  CollectSelectedResults(texts, selected, marks);
  EXPECT_EQ(selected, (std::vector<int32_t>{6, 2}));
  EXPECT_EQ(marks, (std::vector<int32_t>{0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
}

TEST(CollectSelectedResults, NoSelectionClearsEveryMark) {
  std::vector<int32_t> marks = {1, 0, 1};
  std::vector<int32_t> selected = {0, 2};
  CollectSelectedResults({}, selected, marks);
  EXPECT_TRUE(selected.empty());
  EXPECT_EQ(marks, (std::vector<int32_t>{0, 0, 0}));
}

TEST(CollectSelectedResults, TextsNamingNoRowArePassedOver) {
  std::vector<int32_t> marks(3, 0);
  std::vector<int32_t> selected;
  const std::vector<std::string> texts = {"0", "4", "x", "-1", "99999999999999999999", "3", "1"};
  CollectSelectedResults(texts, selected, marks);
  EXPECT_EQ(selected, (std::vector<int32_t>{2, 0}));
  EXPECT_EQ(marks, (std::vector<int32_t>{1, 0, 1}));
}

// Typed text in a list sorted by Name descending: echo, delta, charlie,
// bravo, alpha. Each case: the text, where the search starts, whether it
// takes a beginning (partial) and wraps, and the list row it must give.
TEST_F(CompareRowsTest, TypedTextFindsTheNextNameFromTheStartOrNone) {
  for (const char* name : {"alpha.doc", "Bravo.doc", "charlie.doc", "DELTA.doc", "echo.doc"})
    Row(name);
  const std::vector<int32_t> order = Sorted({0, 1, 2, 3, 4}, kName, false);
  ASSERT_EQ(order, (std::vector<int32_t>{4, 3, 2, 1, 0}));
  struct Case {
    const char* text;
    int start;
    bool partial, wrap;
    int row;
  } cases[] = {
      {"z", 3, true, true, -1},           // no name: nothing, not row 0
      {"d", 4, true, true, 1},            // from the last row round to delta
      {"d", 1, true, true, 1},            // the start row itself counts
      {"d", 2, true, false, -1},          // no wrap: delta lies behind
      {"De", 0, true, true, 1},           // case does not count
      {"delta.DOC", 0, false, true, 1},   // the whole name
      {"delta", 0, false, true, -1},      // a whole name that is only its beginning
      {"alpha.doc.", 0, true, true, -1},  // longer than every name
      {"e", -1, true, true, 0},           // before the first row: from the top
      {"a", 5, true, true, 4},            // past the last row: from the top
      {"a", 5, true, false, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindRowByName(m_data, order, c.start, c.text, c.partial, c.wrap), c.row)
        << c.text << " from " << c.start;
  }
  EXPECT_EQ(FindRowByName(m_data, std::vector<int32_t>{}, 0, "a", true, true), -1);
}
