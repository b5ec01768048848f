#pragma once
// settings.dat as bytes, written out here apart from the code that reads and
// writes it: the 27-byte header, six little-endian 32-bit numbers, the two
// flags, the hash's length and the hash's characters.

#include <cstddef>
#include <cstdint>
#include <string>

namespace settings_bytes {

inline const std::string kHeader("quillorysweeptool settings\0", 27);

// The six numbers after the header, in their order.
enum class Field { kLeft = 0, kTop, kWidth, kHeight, kShowCommand, kSplitterPos };

constexpr size_t OffsetOf(Field field) { return 27 + 4 * static_cast<size_t>(field); }
inline constexpr size_t kStartFlagAt = 51;
inline constexpr size_t kProtectFlagAt = 52;
inline constexpr size_t kHashAt = 57;
inline constexpr size_t kSizeWithoutHash = kHashAt;  // no password set

inline std::string Int(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
          static_cast<char>(bits >> 24)};
}

// The number at `offset`; INT32_MIN when the bytes end before it does.
inline int32_t ReadInt(const std::string& bytes, size_t offset) {
  if (bytes.size() < offset + 4) return INT32_MIN;
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return static_cast<int32_t>(value);
}

}  // namespace settings_bytes
