#include "platform/text.h"

namespace platform {

bool EndsWithSeparator(std::string_view path, const LeadByteTable& lead) {
  bool ends = false;
  ForEachSeparator(
      path, [&](size_t i) { ends = i + 1 == path.size(); }, lead);
  return ends;
}

}  // namespace platform
