#include "search/search_criteria.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/temp_dir.h"

namespace {

struct Built {
  CriteriaCheck check;
  SearchCriteria criteria;
  std::vector<std::string> messages;
};

Built Build(const SearchPageInputs& inputs, size_t folders = 1) {
  Built result;
  result.check =
      BuildSearchCriteria(inputs, folders, result.criteria,
                          [&](const std::string& text) { result.messages.push_back(text); });
  return result;
}

SearchPageInputs Inputs() {
  SearchPageInputs in;
  in.m_dtFromDate = {2024, 3, 10, 15, 30, 0};
  in.m_dtToDate = {2024, 3, 10, 15, 30, 0};
  return in;
}

int64_t Local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return platform::MakeTime({y, mo, d, h, mi, s});
}

}  // namespace

TEST(SearchCriteria, AllFilesIgnoresTheTypeEdit) {
  SearchPageInputs in = Inputs();
  in.m_strTypePattern = "garbage";
  const Built b = Build(in);
  EXPECT_EQ(b.check, CriteriaCheck::Ok);
  EXPECT_EQ(b.criteria.m_strExtension, "");
  EXPECT_TRUE(b.messages.empty());
}

TEST(SearchCriteria, TypePatternsAsTyped) {
  SearchPageInputs in = Inputs();
  in.m_nAllFiles = 0;
  in.m_nSpecifyType = 1;
  const std::pair<const char*, const char*> accepted[] = {{"*.DOC", "DOC"},
                                                          {"*.", ""},
                                                          {"*.*", "*"},
                                                          {"*.doc;*.txt", "doc;*.txt"},
                                                          {"*.tar.gz", "tar.gz"},
                                                          // blanks around the text, as pasted
                                                          {"*.doc ", "doc"},
                                                          {" \t*.doc", "doc"}};
  for (const auto& [pattern, extension] : accepted) {
    in.m_strTypePattern = pattern;
    const Built b = Build(in);
    EXPECT_EQ(b.check, CriteriaCheck::Ok) << pattern;
    EXPECT_EQ(b.criteria.m_strExtension, extension) << pattern;
  }
  for (const char* refused : {"doc", "", "  ", "*", ".doc", "*doc", "?.doc", " doc"}) {
    in.m_strTypePattern = refused;
    const Built b = Build(in);
    EXPECT_EQ(b.check, CriteriaCheck::FileType) << refused;
    ASSERT_EQ(b.messages.size(), 1u);
    EXPECT_EQ(b.messages[0], "Please enter the file type in the following format: *.doc");
  }
}

// Several types in one text: every part a "*.ext" pattern, or the text keeps
// its one-extension meaning.
TEST(SearchCriteria, SeveralTypePatternsSplitOnlyWhenEveryPartIsOne) {
  using List = std::vector<std::string>;
  const std::pair<const char*, List> cases[] = {
      {"*.tmp;*.log;*.bak", {"tmp", "log", "bak"}},
      {"*.tmp ; \t*.LOG", {"tmp", "LOG"}},  // blanks around the parts
      {"*.tar.gz;*.", {"tar.gz", ""}},
      {"*.doc;", {"doc"}},  // empty parts are no types
      {"*.doc;;*.log; ;", {"doc", "log"}},
      {"*.doc;txt", {}},  // one extension "doc;txt"
      {"*.doc;.log", {}},
      {"*.doc", {}},  // one pattern: the design's reading
      {"", {}},
  };
  for (const auto& [text, extensions] : cases) {
    EXPECT_EQ(SplitTypePatterns(text), extensions) << text;
  }

  SearchPageInputs in = Inputs();
  in.m_nAllFiles = 0;
  in.m_nSpecifyType = 1;
  // A part that names no type would make the whole list every file; alone,
  // with empty parts dropped, "*." keeps its meaning.
  const std::pair<const char*, CriteriaCheck> checked[] = {
      {"*.tmp; *.", CriteriaCheck::FileType},
      {"*.bak;*.*;*.log", CriteriaCheck::FileType},
      {" *.tmp; *.log; ", CriteriaCheck::Ok},
      {"*.;", CriteriaCheck::Ok},
  };
  for (const auto& [text, check] : checked) {
    in.m_strTypePattern = text;
    EXPECT_EQ(Build(in).check, check) << text;
  }
  in.m_strTypePattern = "*.tmp; *.log";
  Built b = Build(in);
  EXPECT_TRUE(MatchesExtension(b.criteria, "log"));
  EXPECT_FALSE(MatchesExtension(b.criteria, "doc"));
  in.m_strTypePattern = "*.;";
  EXPECT_TRUE(MatchesExtension(Build(in).criteria, "doc"));
  // The format check stays first: a text that fails it is no list either.
  in.m_strTypePattern = "tmp;*.log";
  b = Build(in);
  EXPECT_EQ(b.check, CriteriaCheck::FileType);
  // The next build starts without the last one's list.
  in.m_nAllFiles = 1;
  in.m_nSpecifyType = 0;
  SearchCriteria kept;
  kept.m_arrExtensions = {"old"};
  BuildSearchCriteria(in, 1, kept, [](const std::string&) {});
  EXPECT_TRUE(kept.m_arrExtensions.empty());
  EXPECT_TRUE(MatchesExtension(kept, "anything"));
}

TEST(SearchCriteria, ChecksRunInOrderAndOnlyTheFirstFailureIsShown) {
  SearchPageInputs in = Inputs();
  in.m_nSpecifyType = 1;
  in.m_strTypePattern = "doc";
  in.m_nDateConditionSel = DATE_BETWEEN;
  in.m_dtToDate = {2024, 3, 9};
  in.m_nSizeConditionSel = SIZE_BETWEEN;
  in.m_nSizeFromValue = 5;
  in.m_nSizeToValue = std::nullopt;  // too long a number
  Built b = Build(in, 0);
  EXPECT_EQ(b.check, CriteriaCheck::FileType);
  EXPECT_EQ(b.messages.size(), 1u);

  in.m_strTypePattern = "*.doc";
  b = Build(in, 0);
  EXPECT_EQ(b.check, CriteriaCheck::DateRange);
  ASSERT_EQ(b.messages.size(), 1u);
  EXPECT_EQ(b.messages[0], "Incorrect date range. The 'To' date should be after the 'From' date");

  in.m_dtToDate = in.m_dtFromDate;
  b = Build(in, 0);
  EXPECT_EQ(b.check, CriteriaCheck::SizeTooLarge);
  ASSERT_EQ(b.messages.size(), 1u);

  in.m_nSizeToValue = 4;
  b = Build(in, 0);
  EXPECT_EQ(b.check, CriteriaCheck::SizeRange);
  ASSERT_EQ(b.messages.size(), 1u);
  EXPECT_EQ(b.messages[0],
            "Incorrect file size range. The 'To' value should be greater than the 'From' value");

  in.m_nSizeToValue = 5;
  b = Build(in, 0);
  EXPECT_EQ(b.check, CriteriaCheck::NoFolder);
  ASSERT_EQ(b.messages.size(), 1u);
  EXPECT_EQ(b.messages[0], "Please select any folder.");

  EXPECT_EQ(Build(in, 1).check, CriteriaCheck::Ok);
}

TEST(SearchCriteria, DateModeBounds) {
  SearchPageInputs in = Inputs();
  in.m_nDateConditionSel = DATE_IS;
  Built b = Build(in);
  EXPECT_EQ(b.criteria.m_tDateFrom, Local(2024, 3, 10));
  EXPECT_EQ(b.criteria.m_tDateTo, Local(2024, 3, 11));  // the midnight that ends the day

  in.m_nDateConditionSel = DATE_BETWEEN;  // same day both ends: accepted
  b = Build(in);
  EXPECT_EQ(b.check, CriteriaCheck::Ok);
  EXPECT_EQ(b.criteria.m_tDateFrom, Local(2024, 3, 10));
  EXPECT_EQ(b.criteria.m_tDateTo, Local(2024, 3, 10, 23, 59, 59));

  in.m_nDateConditionSel = DATE_ANY;  // bounds are computed for "any" too
  b = Build(in);
  EXPECT_EQ(b.criteria.m_tDateFrom, Local(2024, 3, 10));
}

TEST(SearchCriteria, DateAndTimeModeBounds) {
  SearchPageInputs in = Inputs();
  in.m_bDateOnly = 0;
  in.m_bDateAndTime = 1;
  in.m_dtFromTime = {1899, 12, 30, 8, 15, 30};
  in.m_dtToDate = {2024, 3, 12};
  in.m_dtToTime = {1899, 12, 30, 9, 0, 1};
  in.m_nDateConditionSel = DATE_IS;
  Built b = Build(in);
  EXPECT_EQ(b.criteria.m_tDateFrom, Local(2024, 3, 10, 8, 15, 30));
  EXPECT_EQ(b.criteria.m_tDateTo, b.criteria.m_tDateFrom);

  in.m_nDateConditionSel = DATE_BETWEEN;
  b = Build(in);
  EXPECT_EQ(b.criteria.m_tDateTo, Local(2024, 3, 12, 9, 0, 1));

  in.m_dtToDate = in.m_dtFromDate;  // same day, earlier time: refused
  in.m_dtToTime = {1899, 12, 30, 8, 15, 29};
  EXPECT_EQ(Build(in).check, CriteriaCheck::DateRange);
}

TEST(SearchCriteria, SizeBoundsAreSixtyFourBit) {
  SearchPageInputs in = Inputs();
  in.m_nSizeConditionSel = SIZE_MORE;
  in.m_nSizeFromValue = 5;
  in.m_nSizeUnit = UNIT_GB;
  Built b = Build(in);
  EXPECT_EQ(b.criteria.m_dwSizeFrom, 5ULL << 30);  // not its low 32 bits

  in.m_nSizeUnit = UNIT_KB;
  EXPECT_EQ(Build(in).criteria.m_dwSizeFrom, 5u * 1024u);
  in.m_nSizeUnit = UNIT_MB;
  EXPECT_EQ(Build(in).criteria.m_dwSizeFrom, 5u << 20);
  in.m_nSizeUnit = UNIT_B;
  EXPECT_EQ(Build(in).criteria.m_dwSizeFrom, 5u);
}

// A typed number means what it says up to the largest byte count its unit
// reaches; beyond that Find refuses rather than search for a smaller size.
TEST(SearchCriteria, SizesBeyondSixtyFourBitsAreRefusedWithTheLargestForTheUnit) {
  const std::pair<int32_t, const char*> largest[] = {
      {UNIT_KB, "18014398509481983"}, {UNIT_MB, "17592186044415"}, {UNIT_GB, "17179869183"}};
  SearchPageInputs in = Inputs();
  in.m_nSizeConditionSel = SIZE_MORE;
  for (const auto& [unit, text] : largest) {
    in.m_nSizeUnit = unit;
    in.m_nSizeFromValue = std::stoull(text);
    EXPECT_EQ(Build(in).criteria.m_dwSizeFrom, ~0ULL >> (10 * unit) << (10 * unit)) << text;
    in.m_nSizeFromValue = std::stoull(text) + 1;
    const Built b = Build(in);
    EXPECT_EQ(b.check, CriteriaCheck::SizeTooLarge) << text;
    EXPECT_EQ(b.messages, std::vector<std::string>{SizeTooLargeMessage(unit)});
  }
  EXPECT_EQ(SizeTooLargeMessage(UNIT_GB),
            "The file size is too large. The largest size in GB is 17179869183.");
  // Only the edits the condition reads count; in B a number too long for
  // 64 bits reads as none.
  in.m_nSizeUnit = UNIT_B;
  in.m_nSizeFromValue = 100;
  in.m_nSizeToValue = std::nullopt;
  EXPECT_EQ(Build(in).check, CriteriaCheck::Ok);
  in.m_nSizeConditionSel = SIZE_BETWEEN;
  EXPECT_EQ(Build(in).check, CriteriaCheck::SizeTooLarge);
  in.m_nSizeToValue = 3000000000;  // once read as 0: "not greater" than 100
  EXPECT_EQ(Build(in).criteria.m_dwSizeTo, 3000000000u);
  in.m_nSizeConditionSel = SIZE_ANY;
  in.m_nSizeFromValue = std::nullopt;
  EXPECT_EQ(Build(in).check, CriteriaCheck::Ok);
}

TEST(SearchCriteria, MatchRulesAreInclusive) {
  SearchCriteria c;
  c.m_nSizeCondition = SIZE_MORE;
  c.m_dwSizeFrom = 1024;
  EXPECT_TRUE(MatchesSize(c, 1024));
  EXPECT_FALSE(MatchesSize(c, 1023));
  EXPECT_TRUE(MatchesSize(c, 4ULL << 30));
  c.m_nSizeCondition = SIZE_LESS;
  EXPECT_TRUE(MatchesSize(c, 1024));
  EXPECT_TRUE(MatchesSize(c, 0));
  EXPECT_FALSE(MatchesSize(c, 1025));
  EXPECT_FALSE(MatchesSize(c, 4ULL << 30));
  c.m_nSizeCondition = SIZE_BETWEEN;
  c.m_dwSizeTo = 2048;
  EXPECT_TRUE(MatchesSize(c, 1024));
  EXPECT_TRUE(MatchesSize(c, 2048));
  EXPECT_FALSE(MatchesSize(c, 2049));
  EXPECT_FALSE(MatchesSize(c, (4ULL << 30) + 1024));  // not wrapped into range
  c.m_nSizeCondition = 9;
  EXPECT_FALSE(MatchesSize(c, 1024));

  c.m_tDateFrom = 1000;
  c.m_tDateTo = 2000;
  for (int condition : {DATE_IS, DATE_BEFORE, DATE_AFTER, DATE_BETWEEN}) {
    c.m_nDateCondition = condition;
    EXPECT_TRUE(MatchesDate(c, 1000)) << condition;
    EXPECT_FALSE(MatchesDate(c, platform::kNoFileTime)) << condition;
  }
  c.m_nDateCondition = DATE_BEFORE;
  EXPECT_FALSE(MatchesDate(c, 1001));
  c.m_nDateCondition = DATE_AFTER;
  EXPECT_FALSE(MatchesDate(c, 999));
  c.m_nDateCondition = DATE_BETWEEN;
  EXPECT_TRUE(MatchesDate(c, 2000));
  EXPECT_FALSE(MatchesDate(c, 2001));
  c.m_nDateCondition = DATE_ANY;
  EXPECT_TRUE(MatchesDate(c, -5));
  EXPECT_TRUE(MatchesDate(c, platform::kNoFileTime));
}

TEST(SearchCriteria, IsBetweenStartsTheToSizeTenAboveFromWithoutOverflow) {
  EXPECT_EQ(SizeToForBetween(25), 35u);
  EXPECT_EQ(SizeToForBetween(2147483647), 2147483657u);  // no longer held at 31 bits
  EXPECT_EQ(SizeToForBetween(~0ULL - 9), ~0ULL);
}

TEST(SearchCriteria, ExtensionsOfNames) {
  EXPECT_EQ(ExtensionOf("archive.tar.gz"), "gz");
  EXPECT_EQ(ExtensionOf(".profile"), "profile");
  EXPECT_EQ(ExtensionOf("README"), "");
  EXPECT_EQ(ExtensionOf("name."), "");
  EXPECT_EQ(ExtensionOf("A.DOC"), "DOC");

  SearchCriteria c;
  c.m_strExtension = "DOC";
  EXPECT_TRUE(MatchesExtension(c, "doc"));
  EXPECT_FALSE(MatchesExtension(c, ""));
  c.m_strExtension = "doc;*.txt";  // with no list beside it, one literal extension
  EXPECT_FALSE(MatchesExtension(c, "doc"));
  EXPECT_FALSE(MatchesExtension(c, "txt"));
  c.m_arrExtensions = {"TMP", "log"};  // a list: any of its types, and only those
  EXPECT_TRUE(MatchesExtension(c, "tmp"));
  EXPECT_TRUE(MatchesExtension(c, "LOG"));
  EXPECT_FALSE(MatchesExtension(c, "doc"));
  EXPECT_FALSE(MatchesExtension(c, "doc;*.txt"));
  c.m_arrExtensions.clear();
  for (const char* every : {"", "*"}) {
    c.m_strExtension = every;
    EXPECT_TRUE(MatchesExtension(c, ""));
    EXPECT_TRUE(MatchesExtension(c, "gz"));
  }
}

// "is older than" and "is within the last" count whole days of 86400 seconds
// back from the moment of "Find": over the spring change of daylight-saving
// time (March 10, 2024 in New York) the bound keeps its seconds, not its
// clock time. 0 to 36500 days are taken; the date range plays no part.
TEST(SearchCriteria, AgesCountWholeDaysBackFromFind) {
  UseTestTimeZone();
  const int64_t now = Local(2024, 3, 12, 12, 0, 0);
  const int64_t bound = now - 3 * 86400;
  EXPECT_EQ(bound, Local(2024, 3, 9, 11, 0, 0));
  struct Case {
    int32_t condition;
    uint64_t days;
    int64_t fileTime;
    bool listed;
  };
  const Case cases[] = {{DATE_OLDER, 3, bound - 1, true},
                        {DATE_OLDER, 3, bound, false},
                        {DATE_WITHIN, 3, bound, true},
                        {DATE_WITHIN, 3, bound - 1, false},
                        {DATE_OLDER, 0, now - 1, true},
                        {DATE_WITHIN, 36500, -86400, true},
                        // Within the last days ends at the moment of Find.
                        {DATE_WITHIN, 5, now, true},
                        {DATE_WITHIN, 5, now + 5 * 86400, false},
                        {DATE_WITHIN, 0, now + 1, false},
                        {DATE_WITHIN, 0, now, true},
                        // A time the file system does not keep meets no age.
                        {DATE_OLDER, 30, platform::kNoFileTime, false},
                        {DATE_WITHIN, 30, platform::kNoFileTime, false}};
  SearchPageInputs in = Inputs();
  in.m_dtToDate = {2020, 1, 1};  // before From: no matter for an age
  for (const Case& c : cases) {
    in.m_nDateConditionSel = c.condition;
    in.m_nDays = c.days;
    SearchCriteria criteria;
    ASSERT_EQ(BuildSearchCriteria(
                  in, 1, criteria, [](const std::string&) {}, now),
              CriteriaCheck::Ok);
    EXPECT_EQ(MatchesDate(criteria, c.fileTime), c.listed) << c.condition << " " << c.days;
  }
  // The days box read whole: nothing but a number is a number of days.
  for (const char* text : {"", "abc", "-5", "3 0", "+3", "30d", "99999999999999999999"})
    EXPECT_EQ(ReadDayCount(text), std::nullopt) << text;
  EXPECT_EQ(ReadDayCount(" 30 "), 30u);
  EXPECT_EQ(ReadDayCount("0"), 0u);
  for (const auto days : {std::optional<uint64_t>(36501), ReadDayCount("")}) {
    in.m_nDays = days;
    const Built b = Build(in);
    EXPECT_EQ(b.check, CriteriaCheck::Days);
    EXPECT_EQ(b.messages,
              std::vector<std::string>{"Please enter a number of days from 0 to 36500."});
  }
}
