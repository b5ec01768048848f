#include "results/selection_totals.h"

#include <cinttypes>
#include <cstdio>
#include <numeric>

void CSelectionTotals::Reset(size_t rows) {
  m_selected.assign(rows, false);
  m_nCount = 0;
  m_nBytes = 0;
}

void CSelectionTotals::Set(size_t storeRow, bool selected, std::span<const uint64_t> sizes) {
  if (storeRow >= m_selected.size() || storeRow >= sizes.size()) return;
  if (m_selected[storeRow] == selected) return;
  m_selected[storeRow] = selected;
  if (selected) {
    ++m_nCount;
    m_nBytes += sizes[storeRow];
  } else {
    --m_nCount;
    m_nBytes -= sizes[storeRow];
  }
}

void CSelectionTotals::SetAll(bool selected, std::span<const uint64_t> sizes) {
  m_selected.assign(m_selected.size(), selected);
  m_nCount = selected ? m_selected.size() : 0;
  m_nBytes = 0;
  if (selected && sizes.size() >= m_selected.size()) {
    m_nBytes = std::accumulate(sizes.begin(), sizes.begin() + static_cast<ptrdiff_t>(m_nCount),
                               uint64_t{0});
  }
}

std::string SizeText(uint64_t bytes) {
  constexpr const char* kUnits[] = {"KB", "MB", "GB"};
  char text[48];
  if (bytes < 1024) {
    std::snprintf(text, sizeof text, "%" PRIu64 " B", bytes);
    return text;
  }
  int unit = 0;
  while (unit < 2 && bytes >> (10 * (unit + 2)) != 0) ++unit;
  const int shift = 10 * (unit + 1);
  const uint64_t whole = bytes >> shift;
  // The tenths without multiplying the whole size, which could overflow.
  const uint64_t rest = bytes & ((uint64_t{1} << shift) - 1);
  const uint64_t tenth = (rest * 10) >> shift;
  std::snprintf(text, sizeof text, "%" PRIu64 ".%" PRIu64 " %s", whole, tenth, kUnits[unit]);
  return text;
}

std::string SelectionText(size_t count, uint64_t bytes) {
  if (count == 0) return {};
  return "Selected: " + std::to_string(count) + " files, " + SizeText(bytes);
}
