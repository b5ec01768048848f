#include "results/list_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/app_data.h"
#include "support/temp_dir.h"

namespace {

using Record = std::vector<std::string>;

// A reader of RFC 4180 as a spreadsheet program reads it: records end in CR
// LF, a quoted field runs to its closing quote (separators and line breaks
// inside it are text), and two quotes inside it are one. False for any text
// a writer of the format cannot have made.
bool ReadSeparated(std::string_view text, char separator, std::vector<Record>& records) {
  records.clear();
  Record record;
  std::string field;
  size_t i = 0;
  for (;;) {
    if (i < text.size() && text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) return false;  // no closing quote
        if (text[i] != '"') {
          field += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      while (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '"' &&
             text[i] != '\n')
        field += text[i++];
    }
    record.push_back(std::move(field));
    field.clear();
    if (i < text.size() && text[i] == separator) {
      ++i;
      continue;
    }
    if (text.substr(i, 2) != "\r\n") return false;  // a bare quote, CR or LF
    i += 2;
    records.push_back(std::move(record));
    record.clear();
    if (i == text.size()) return true;
  }
}

std::string Same(std::string_view text) { return std::string(text); }

class ListExportTest : public ::testing::Test {
 protected:
  void SetUp() override { UseTestTimeZone(); }

  int32_t Add(const std::string& location, const std::string& name, uint64_t size, int64_t time) {
    const size_t dot = name.rfind('.');
    m_data.AddResult(name, location, dot == std::string::npos ? "" : name.substr(dot + 1), size, "",
                     time);
    return static_cast<int32_t>(m_data.GetResultCount() - 1);
  }

  CAppData m_data;
};

}  // namespace

TEST_F(ListExportTest, EveryNameComesBackAsItWasInBothFormats) {
  // Commas, quotes and line breaks in names and folders (a POSIX name may
  // hold a line break or a tab), names in other scripts, a size beyond 4 GB,
  // times before 1970 and after 2038.
  const int32_t plain = Add("C:\\files\\", "report.doc", 0, 1705339800);
  const int32_t comma = Add("C:\\a, b\\", "x,y.txt", 4294967296ULL, -631134000);
  const int32_t quote = Add("C:\\\"q\"\\", "say \"hi\".txt", 12, 2524608000);
  const int32_t breaks = Add("/home/u/\n/", "line\r\nbreak\tand tab", 7, 0);
  const int32_t scripts = Add("D:\\Документы\\", "日本語 ü é.txt", 1, 1705339800);
  const std::vector<int32_t> order = {scripts, breaks, quote, comma, plain};

  const Record header = {"Location", "Name", "Type", "Size", "Modified Date"};
  const std::vector<Record> expected = {
      header,
      {"D:\\Документы\\", "日本語 ü é.txt", "txt", "1", "2024-01-15T12:30:00"},
      {"/home/u/\n/", "line\r\nbreak\tand tab", "", "7", "1969-12-31T19:00:00"},
      {"C:\\\"q\"\\", "say \"hi\".txt", "txt", "12", "2049-12-31T19:00:00"},
      {"C:\\a, b\\", "x,y.txt", "txt", "4294967296", "1950-01-01T00:00:00"},
      {"C:\\files\\", "report.doc", "doc", "0", "2024-01-15T12:30:00"},
  };
  for (const auto& [format, separator] :
       {std::pair{ListFormat::Csv, ','}, std::pair{ListFormat::Tsv, '\t'}}) {
    const std::string text = FormatResultList(m_data, order, format, "Modified Date", Same);
    ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<Record> records;
    ASSERT_TRUE(ReadSeparated(std::string_view(text).substr(3), separator, records)) << text;
    EXPECT_EQ(records, expected) << text;
  }
}

TEST_F(ListExportTest, FieldsAreQuotedOnlyWhenTheyMustBe) {
  const std::pair<const char*, const char*> csv[] = {
      {"plain", "plain"},
      {"a,b", "\"a,b\""},
      {"say \"x\"", "\"say \"\"x\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"a\tb", "a\tb"},
      {"", ""},
  };
  for (const auto& [field, written] : csv) EXPECT_EQ(QuoteField(field, ListFormat::Csv), written);
  EXPECT_EQ(QuoteField("a,b", ListFormat::Tsv), "a,b");
  EXPECT_EQ(QuoteField("a\tb", ListFormat::Tsv), "\"a\tb\"");

  // The header alone for no rows; the converter sees every text.
  const int32_t row = Add("C:\\", "a.txt", 1, 0);
  auto shout = [](std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
  };
  EXPECT_EQ(FormatResultList(m_data, {}, ListFormat::Csv, "Created Date", Same),
            "\xEF\xBB\xBFLocation,Name,Type,Size,Created Date\r\n");
  EXPECT_EQ(FormatResultList(m_data, std::vector<int32_t>{row, 7}, ListFormat::Tsv, "Accessed Date",
                             shout),
            "\xEF\xBB\xBFLocation\tName\tType\tSize\tACCESSED DATE\r\nC:\\\tA.TXT\tTXT\t1\t"
            "1969-12-31T19:00:00\r\n");
}
