#include "results/compare_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace {

int Ascending(const char* a, const char* b, int32_t kind) { return CompareRows(a, b, kind); }
int Descending(const char* a, const char* b, int32_t kind) { return CompareRows(a, b, -kind); }

std::string Shown(int year, int month, int day, int hour, int minute, int second) {
  return platform::FormatDateTime(platform::MakeTime({year, month, day, hour, minute, second}));
}

}  // namespace

TEST(CompareRows, NamesIgnoreCase) {
  EXPECT_EQ(Ascending("alpha.txt", "Alpha.txt", SORT_TEXT), 0);
  EXPECT_EQ(Ascending("Alpha.txt", "alpha.txt", SORT_TEXT), 0);
  EXPECT_EQ(Descending("alpha.txt", "ALPHA.TXT", SORT_TEXT), 0);
  EXPECT_LT(Ascending("alpha.txt", "Beta.txt", SORT_TEXT), 0);
  EXPECT_GT(Ascending("beta.txt", "Alpha.txt", SORT_TEXT), 0);
  EXPECT_LT(Ascending("", "a", SORT_TEXT), 0);
}

TEST(CompareRows, SizesCompareAsNumbersBeyondFourGigabytes) {
  EXPECT_GT(Ascending("4294967296", "4294967295", SORT_NUMBER), 0);
  EXPECT_LT(Ascending("4294967295", "4294967296", SORT_NUMBER), 0);
  // As text "9" would come after "10".
  EXPECT_LT(Ascending("9", "10", SORT_NUMBER), 0);
  EXPECT_EQ(Ascending("3221225472", "3221225472", SORT_NUMBER), 0);
  EXPECT_GT(Ascending("3221225472", "0", SORT_NUMBER), 0);
}

TEST(CompareRows, NumbersReadTheirLeadingDigits) {
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
  EXPECT_EQ(Ascending("x", "0", SORT_NUMBER), 0);
  EXPECT_LT(Ascending("-3", "2", SORT_NUMBER), 0);
}

TEST(CompareRows, DescendingNegates) {
  const char* pairs[][2] = {{"1", "2"}, {"2", "1"}, {"5", "5"}};
  for (const auto& pair : pairs)
    EXPECT_EQ(Descending(pair[0], pair[1], SORT_NUMBER), -Ascending(pair[0], pair[1], SORT_NUMBER));
  EXPECT_GT(Descending("alpha", "beta", SORT_TEXT), 0);
  EXPECT_EQ(Descending("12/31/99 23:59:59", "01/01/00 00:00:00", SORT_DATE), 1);
  EXPECT_EQ(Descending("01/01/00 00:00:00", "12/31/99 23:59:59", SORT_DATE), -1);
}

TEST(CompareRows, DatesCrossTheCentury) {
  EXPECT_EQ(Ascending("12/31/99 23:59:59", "01/01/00 00:00:00", SORT_DATE), -1);
  EXPECT_EQ(Ascending("01/01/00 00:00:00", "12/31/99 23:59:59", SORT_DATE), 1);
  // Two-digit years 69..99 are the last century, 00..68 this one.
  EXPECT_EQ(Ascending("12/31/69 19:00:00", "01/01/70 00:00:00", SORT_DATE), -1);
  EXPECT_EQ(Ascending("12/31/99 00:00:00", "01/01/68 00:00:00", SORT_DATE), -1);
  EXPECT_EQ(Ascending("01/01/68 00:00:00", "12/31/69 23:59:59", SORT_DATE), 1);
}

TEST(CompareRows, DatesReadMonthFirstWhateverTheLocale) {
  // A day-first reading would put the second of January after the first of February.
  EXPECT_EQ(Ascending("01/02/05 00:00:00", "02/01/05 00:00:00", SORT_DATE), -1);
  EXPECT_EQ(Ascending("03/10/24 10:00:00", "03/10/24 09:59:59", SORT_DATE), 1);
  EXPECT_EQ(Ascending("03/10/24 10:00:00", "03/10/24 10:00:01", SORT_DATE), -1);
  EXPECT_EQ(Ascending("12/01/24 00:00:00", "11/30/24 23:59:59", SORT_DATE), 1);
}

TEST(CompareRows, EqualDatesGivePlusOneEitherWayRound) {
  EXPECT_EQ(Ascending("06/15/10 12:00:00", "06/15/10 12:00:00", SORT_DATE), 1);
  EXPECT_EQ(Descending("06/15/10 12:00:00", "06/15/10 12:00:00", SORT_DATE), -1);
}

TEST(CompareRows, UnparseableDatesCompareZeroBothWays) {
  const char* good = "06/15/10 12:00:00";
  const char* bad[] = {"",
                       "garbage",
                       "13/01/10 00:00:00",   // no thirteenth month
                       "02/29/01 00:00:00",   // 2001 is no leap year
                       "06/15/10 24:00:00",   // no hour 24
                       "06/15/10 12:00",      // cut short
                       "06/15/10 12:00:00x",  // something after it
                       "6/15/10 12:00:00",    // the date text always has two digits
                       "2010-06-15 12:00:00"};
  for (const char* text : bad) {
    EXPECT_EQ(Ascending(text, good, SORT_DATE), 0) << text;
    EXPECT_EQ(Ascending(good, text, SORT_DATE), 0) << text;
    EXPECT_EQ(Descending(text, good, SORT_DATE), 0) << text;
    EXPECT_EQ(Descending(good, text, SORT_DATE), 0) << text;
  }
  EXPECT_EQ(Ascending("", "", SORT_DATE), 0);
  int64_t key = 0;
  EXPECT_TRUE(ParseRowDate("02/29/00 00:00:00", key));  // 2000 is a leap year
  EXPECT_FALSE(ParseRowDate("02/29/00 00:00:00 ", key));
}

TEST(CompareRows, OtherKindsCompareZero) {
  EXPECT_EQ(CompareRows("1", "2", SORT_NONE), 0);
  EXPECT_EQ(CompareRows("1", "2", 4), 0);
  EXPECT_EQ(CompareRows("1", "2", -4), 0);
  EXPECT_EQ(CompareRows("1", "2", INT32_MIN), 0);
}

// The texts the date column really holds, as this build's C library writes
// them: the order of the texts is the order of the instants they show.
TEST(CompareRows, FormattedDatesSortByTheirInstants) {
  EXPECT_EQ(CompareRows(Shown(1999, 12, 31, 23, 59, 59).c_str(), Shown(2000, 1, 1, 0, 0, 0).c_str(),
                        SORT_DATE),
            -1);
  // The first second that is ever formatted: 12/31/69 west of Greenwich.
  const std::string first = platform::FormatDateTime(0);
  int64_t key = 0;
  ASSERT_TRUE(ParseRowDate(first.c_str(), key)) << first;
  EXPECT_EQ(CompareRows(first.c_str(), Shown(1970, 1, 1, 12, 0, 0).c_str(), SORT_DATE), -1);

  // Instants a day and a bit apart from 1970 to 2068, so that no pair falls
  // into the hour that repeats when the clocks go back.
  std::vector<std::string> texts;
  for (int64_t t = 0; t < 3124137600; t += 86400 * 97 + 3671)
    texts.push_back(platform::FormatDateTime(t));
  ASSERT_GT(texts.size(), 300u);
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    ASSERT_TRUE(ParseRowDate(texts[i].c_str(), key)) << texts[i];
    EXPECT_EQ(CompareRows(texts[i].c_str(), texts[i + 1].c_str(), SORT_DATE), -1)
        << texts[i] << " / " << texts[i + 1];
    EXPECT_EQ(CompareRows(texts[i + 1].c_str(), texts[i].c_str(), SORT_DATE), 1);
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
