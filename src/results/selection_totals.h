#pragma once
// The line beside the results' total: how many rows are selected and how
// large their files are together. The sums follow the changes the list
// reports, row by row, for a range or for every row at once, so a click in
// 100000 rows costs one row's work, not a walk over the selection.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CSelectionTotals {
 public:
  // A new set of rows, none of them selected.
  void Reset(size_t rows);
  // One store row's new state; a row already in that state changes nothing.
  void Set(size_t storeRow, bool selected, std::span<const uint64_t> sizes);
  // Every row at once.
  void SetAll(bool selected, std::span<const uint64_t> sizes);
  bool IsSelected(size_t storeRow) const {
    return storeRow < m_selected.size() && m_selected[storeRow];
  }

  size_t Count() const { return m_nCount; }
  uint64_t Bytes() const { return m_nBytes; }

 private:
  std::vector<bool> m_selected;  // by store row: a sort moves no total
  size_t m_nCount = 0;
  uint64_t m_nBytes = 0;
};

// A size as the page's units count it (1024-based): the largest of B, KB, MB
// and GB in which it is at least 1, with one decimal from KB on, rounded
// down so that it never reads as more than it is ("812 B", "5.0 KB",
// "1023.9 KB", "1.3 GB").
std::string SizeText(uint64_t bytes);
// "Selected: K files, S"; empty when no row is selected.
std::string SelectionText(size_t count, uint64_t bytes);
