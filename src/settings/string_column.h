#pragma once
// One text column of the result store. 100000 rows of four text columns as
// separate std::string objects would cost 128 bytes a row before any
// character; here a row costs one 32-bit offset per column, and the
// characters sit end to end, each text followed by its terminator so the
// list control and the file calls can take it as it is.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class CStringColumn {
 public:
  size_t GetSize() const { return m_offsets.size(); }
  bool IsEmpty() const { return m_offsets.empty(); }

  void Add(std::string_view text) {
    m_offsets.push_back(static_cast<uint32_t>(m_chars.size()));
    m_chars.insert(m_chars.end(), text.begin(), text.end());
    m_chars.push_back('\0');
  }

  const char* c_str(size_t row) const { return m_chars.data() + m_offsets[row]; }
  std::string_view operator[](size_t row) const {
    const uint32_t begin = m_offsets[row];
    const uint32_t end =
        row + 1 < m_offsets.size() ? m_offsets[row + 1] : static_cast<uint32_t>(m_chars.size());
    return std::string_view(m_chars.data() + begin, end - begin - 1);
  }

  void RemoveAll() {
    m_offsets.clear();
    m_chars.clear();
  }

  // Keeps the rows whose flag in `removed` is false, in their order, in one pass.
  void RemoveRows(const std::vector<bool>& removed) {
    size_t kept = 0;
    size_t write = 0;
    for (size_t row = 0; row < m_offsets.size(); ++row) {
      if (removed[row]) continue;
      const std::string_view text = (*this)[row];
      const size_t begin = write;
      // Rows only move left, so a row's source is never overwritten before it is read.
      if (!text.empty()) std::memmove(m_chars.data() + write, text.data(), text.size());
      write += text.size();
      m_chars[write++] = '\0';
      m_offsets[kept++] = static_cast<uint32_t>(begin);
    }
    m_offsets.resize(kept);
    m_chars.resize(write);
  }

  size_t CharBytes() const { return m_chars.capacity(); }
  size_t IndexBytes() const { return m_offsets.capacity() * sizeof(uint32_t); }

 private:
  std::vector<uint32_t> m_offsets;
  std::vector<char> m_chars;
};

// Removes flagged rows from a plain column, in one pass, keeping the order.
template <typename T>
void RemoveRows(std::vector<T>& column, const std::vector<bool>& removed) {
  size_t kept = 0;
  for (size_t row = 0; row < column.size(); ++row) {
    if (!removed[row]) column[kept++] = column[row];
  }
  column.resize(kept);
}
