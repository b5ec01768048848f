#pragma once
// The results list's header sort and its selection, as plain functions on the
// rows' texts: the list page hands the list control's texts to these, so the
// rules can be tested without a window.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Sort kinds of the results columns; the sort parameter is the kind when
// ascending and its negation when descending.
enum SortKind : int32_t { SORT_NONE = 0, SORT_NUMBER = 1, SORT_TEXT = 2, SORT_DATE = 3 };

// The "N", "Name", "Type", "Location", "Size" and "Date" columns.
inline constexpr int32_t kResultColumnSortKinds[6] = {SORT_NUMBER, SORT_TEXT,   SORT_TEXT,
                                                      SORT_TEXT,   SORT_NUMBER, SORT_DATE};

// The leading signed decimal number of a text (blanks before it skipped);
// 0 when it starts with no digits. Saturates instead of overflowing.
int64_t ParseRowNumber(const char* text);

// Reads back the "MM/dd/yy HH:mm:ss" text that platform::FormatDateTime
// writes, whatever the user's locale. `wallClock` orders the texts as the
// instants they show. False when the text is not such a date.
bool ParseRowDate(const char* text, int64_t& wallClock);

// Compares two rows' texts in the sort column for the list control's sort:
// <0, 0 or >0. `sortParam` is the column's sort kind, negated for descending.
// Dates give -1 or +1 only (equal dates +1) and 0 when either text is not a
// date, so this is no strict ordering; the list control's sort tolerates it.
int CompareRows(const char* textA, const char* textB, int32_t sortParam);

// Turns the selected rows into delete marks: `numberTexts` are the "N" column
// texts of the selected rows in the order the list reports them. Empties
// `selectedResults` and clears every mark first, then appends each row's
// store index and marks it. Texts that name no row of the store are passed over.
void CollectSelectedResults(std::span<const std::string> numberTexts,
                            std::vector<int32_t>& selectedResults,
                            std::vector<int32_t>& deleteMarks);
