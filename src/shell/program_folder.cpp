#include "shell/program_folder.h"

std::string FolderOfModulePath(const std::string& modulePath) {
  const size_t slash = modulePath.find_last_of('\\');
  if (slash == std::string::npos) return ".\\";
  return modulePath.substr(0, slash + 1);
}
