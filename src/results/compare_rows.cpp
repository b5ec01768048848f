#include "results/compare_rows.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"
#include "settings/app_data.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

template <typename T>
int Order(T a, T b) {
  return (a > b) - (a < b);
}

// The row's value in a column of kind "number": what its text shows.
uint64_t NumberOf(const CAppData& store, int32_t row, int column) {
  if (column == 4) return store.m_arrFoundSizes[static_cast<size_t>(row)];
  return static_cast<uint64_t>(row) + 1;  // "N"
}

const CStringColumn* TextColumn(const CAppData& store, int column) {
  switch (column) {
    case 1: return &store.m_arrFoundNames;
    case 2: return &store.m_arrFoundTypes;
    case 3: return &store.m_arrFoundLocations;
    case 5: return &store.m_arrFoundDates;
    default: return nullptr;
  }
}

}  // namespace

int64_t ParseRowNumber(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  // Accumulated as a negative number so that the smallest value fits too.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  for (; IsDigit(*text); ++text) {
    const int digit = *text - '0';
    if (value < (kMin + digit) / 10) {
      value = kMin;
      while (IsDigit(*text)) ++text;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int CompareRows(const CAppData& store, int32_t a, int32_t b, int column, int32_t sortParam) {
  const int sign = sortParam < 0 ? -1 : 1;
  const int64_t kind = sortParam < 0 ? -static_cast<int64_t>(sortParam) : sortParam;
  const auto rowA = static_cast<size_t>(a);
  const auto rowB = static_cast<size_t>(b);
  switch (kind) {
    case SORT_NUMBER: return sign * Order(NumberOf(store, a, column), NumberOf(store, b, column));
    case SORT_TEXT: {
      const CStringColumn* texts = TextColumn(store, column);
      if (!texts) return 0;
      return sign * Order(platform::CompareNoCase(texts->c_str(rowA), texts->c_str(rowB)), 0);
    }
    // The instant, not the text: "%c" has two-digit years, so the text
    // cannot order 1950 against 2050.
    case SORT_DATE: return sign * Order(store.m_arrFoundTimes[rowA], store.m_arrFoundTimes[rowB]);
    default: return 0;
  }
}

void SortRows(const CAppData& store, std::vector<int32_t>& order, int column, int32_t sortParam) {
  // A stable sort with a strict ordering: rows the column cannot tell apart
  // stay where the previous sort put them, so a second column refines the first.
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    return CompareRows(store, a, b, column, sortParam) < 0;
  });
}

int FindRowByName(const CAppData& store, std::span<const int32_t> order, int start,
                  std::string_view text, bool partial, bool wrap) {
  const auto rows = static_cast<int>(order.size());
  if (start < 0 || start >= rows) {
    if (!wrap && start >= rows) return -1;
    start = 0;
  }
  const std::string wanted(text);
  std::string head;
  auto matches = [&](int row) {
    const auto storeRow = static_cast<size_t>(order[static_cast<size_t>(row)]);
    if (storeRow >= store.GetResultCount()) return false;
    const std::string_view name = store.m_arrFoundNames[storeRow];
    if (name.size() < wanted.size() || (!partial && name.size() != wanted.size())) return false;
    // Case folds byte for byte in every code page the program runs in, so the
    // name's first bytes are the ones to compare; a cut through a character
    // leaves bytes that match no whole character of the text.
    head.assign(name.substr(0, wanted.size()));
    return platform::CompareNoCase(head.c_str(), wanted.c_str()) == 0;
  };
  for (int row = start; row < rows; ++row) {
    if (matches(row)) return row;
  }
  for (int row = 0; wrap && row < start; ++row) {
    if (matches(row)) return row;
  }
  return -1;
}

void CollectSelectedResults(std::span<const std::string> numberTexts,
                            std::vector<int32_t>& selectedResults,
                            std::vector<int32_t>& deleteMarks) {
  selectedResults.clear();
  for (int32_t& mark : deleteMarks) mark = 0;
  selectedResults.reserve(numberTexts.size());
  for (const std::string& text : numberTexts) {
    // The "N" text, not the row's position: it survives any sort.
    const int64_t number = ParseRowNumber(text.c_str());
    if (number < 1 || number > static_cast<int64_t>(deleteMarks.size())) continue;
    selectedResults.push_back(static_cast<int32_t>(number - 1));
    deleteMarks[static_cast<size_t>(number - 1)] = 1;
  }
}
