#include "shell/program_folder.h"

#include "platform/text.h"

std::string FolderOfModulePath(const std::string& modulePath) {
  // By character: in a double-byte code page a name's second byte can be 0x5C.
  size_t last = std::string::npos;
  platform::ForEachSeparator(modulePath, [&](size_t i) {
    if (modulePath[i] == '\\') last = i;
  });
  if (last == std::string::npos) return ".\\";
  return modulePath.substr(0, last + 1);
}
