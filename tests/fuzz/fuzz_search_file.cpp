// Random bytes as quillory.ini: the load must not crash or trip a sanitizer,
// and the file the program writes from what it read must read back as the
// same search, with every section it does not own as it was.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_folder.h"
#include "search/search_file.h"

namespace {

bool SameText(const IniText& a, const IniText& b) {
  if (a.preamble != b.preamble || a.sections.size() != b.sections.size()) return false;
  for (size_t i = 0; i < a.sections.size(); ++i)
    if (a.sections[i].title != b.sections[i].title || a.sections[i].lines != b.sections[i].lines)
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path& folder = FuzzFolder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const IniText text = ParseIni(bytes);
  if (!SameText(ParseIni(RenderIni(text)), text)) std::abort();

  const std::string path = (folder / "quillory.ini").string();
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  CSearchFile file(folder.string() + "/");
  SearchDefinition last;
  std::vector<std::string> names;
  std::string decoded = bytes;
  if (!file.Load(last, names)) {
    // Only a file that is no text may be refused, and it is never written over.
    std::ifstream kept(path, std::ios::binary);
    if (ReadIniBytes(decoded) == IniBytes::kText || file.SaveLast(last) ||
        std::string(std::istreambuf_iterator<char>(kept), {}) != bytes)
      std::abort();
    return 0;
  }
  if (last.m_inputs.m_nDays && *last.m_inputs.m_nDays > kMaxDays) std::abort();
  if (!file.SaveLast(last)) std::abort();
  SearchDefinition again;
  if (!file.Load(again, names) || SearchLines(again) != SearchLines(last) ||
      !file.m_bLastSearchWhole)
    std::abort();
  return 0;
}
