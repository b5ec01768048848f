#pragma once
// The results list's header sort and its selection, as plain functions on the
// result store: the list shows the store through a row order of its own, and
// these rules decide that order, so they are tested without a window.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CAppData;

// Sort kinds of the results columns; the sort parameter is the kind when
// ascending and its negation when descending.
enum SortKind : int32_t { SORT_NONE = 0, SORT_NUMBER = 1, SORT_TEXT = 2, SORT_DATE = 3 };

// The "N", "Name", "Type", "Location", "Size" and "Date" columns.
inline constexpr int kResultColumnCount = 6;
inline constexpr int32_t kResultColumnSortKinds[kResultColumnCount] = {
    SORT_NUMBER, SORT_TEXT, SORT_TEXT, SORT_TEXT, SORT_NUMBER, SORT_DATE};

// The leading signed decimal number of a text (blanks before it skipped);
// 0 when it starts with no digits. Saturates instead of overflowing.
int64_t ParseRowNumber(const char* text);

// Compares store rows a and b in the results column `column` for a sort:
// <0, 0 or >0. `sortParam` is the column's sort kind, negated for descending.
// Numbers are the row's "N" or its size, texts compare without case, dates
// are the tested instants. A strict weak ordering: rows with equal keys
// compare 0 in both directions, and an unknown kind makes every row equal.
int CompareRows(const CAppData& store, int32_t a, int32_t b, int column, int32_t sortParam);

// Reorders `order` (store rows, top to bottom) by CompareRows. Stable: rows
// with equal keys keep the order they had, in either direction.
void SortRows(const CAppData& store, std::vector<int32_t>& order, int column, int32_t sortParam);

// The list row that typed text leads to: the first row from `start` on, and
// from the top again when `wrap`, whose Name begins with `text` (is `text`
// when not `partial`), without regard to case, in the list's own order. -1
// when no row matches: the list then leaves its selection as it is. An
// answer for some other row would move the selection onto a file nobody chose.
int FindRowByName(const CAppData& store, std::span<const int32_t> order, int start,
                  std::string_view text, bool partial, bool wrap);

// Turns the selected rows into delete marks: `numberTexts` are the "N" column
// texts of the selected rows in the order the list reports them. Empties
// `selectedResults` and clears every mark first, then appends each row's
// store index and marks it. Texts that name no row of the store are passed over.
void CollectSelectedResults(std::span<const std::string> numberTexts,
                            std::vector<int32_t>& selectedResults,
                            std::vector<int32_t>& deleteMarks);
