#include "platform/text.h"

namespace platform {

bool DecodeUtf8(std::string_view utf8, std::u32string& points) {
  points.clear();
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead > 0xF4 || utf8.size() - i <= static_cast<size_t>(extra)) return false;
    char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (point < kLeast[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
      return false;
    points.push_back(point);
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

bool EndsWithSeparator(std::string_view path, const LeadByteTable& lead) {
  bool ends = false;
  ForEachSeparator(
      path, [&](size_t i) { ends = i + 1 == path.size(); }, lead);
  return ends;
}

}  // namespace platform
