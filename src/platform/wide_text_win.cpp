#include "platform/wide_text_win.h"

namespace platform {

bool NarrowExact(std::wstring_view wide, std::string& text) {
  text.clear();
  if (wide.empty()) return true;
  const UINT codePage = GetACP();
  // UTF-8 accepts no flags but this one, which refuses unpaired surrogates; a
  // legacy code page must not map a character to a look-alike.
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int wideLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0,
                                         nullptr, usedDefaultOut);
  if (length <= 0 || usedDefault) return false;
  text.resize(static_cast<size_t>(length));
  if (WideCharToMultiByte(codePage, flags, wide.data(), wideLength, text.data(), length, nullptr,
                          usedDefaultOut) != length ||
      usedDefault)
    return false;
  // The round trip catches what the flags let through on double-byte pages.
  std::wstring back;
  return WidenExact(text, back) && back == wide;
}

bool WidenExact(std::string_view text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  const int textLength = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), textLength, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<size_t>(length));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), textLength, wide.data(),
                             length) == length;
}

namespace {

// A path the system would still have to normalise ("/" between parts, "." or
// ".." parts) keeps its plain form: the "\\?\" form would take it literally.
bool NeedsNormalising(const std::wstring& path) {
  if (path.find(L'/') != std::wstring::npos) return true;
  size_t start = 0;
  for (;;) {
    const size_t end = path.find(L'\\', start);
    const std::wstring_view part =
        std::wstring_view(path).substr(start, end == std::wstring::npos ? end : end - start);
    if (part == L"." || part == L"..") return true;
    if (end == std::wstring::npos) return false;
    start = end + 1;
  }
}

}  // namespace

std::wstring ExtendedPath(std::string_view path) {
  std::wstring wide;
  if (!WidenExact(path, wide) || wide.empty()) return {};
  if (NeedsNormalising(wide)) return wide;
  const bool drive = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
  const bool unc = wide.size() > 2 && wide[0] == L'\\' && wide[1] == L'\\';
  if (unc && (wide[2] == L'?' || wide[2] == L'.')) return wide;  // already in device form
  if (drive) return L"\\\\?\\" + wide;
  if (unc) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;
}

bool IsPlainPath(const std::wstring& path) {
  if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos ||
      path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
    return false;
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return false;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  return length == path.size() && full.compare(0, length, path) == 0;
}

bool GetModulePath(std::string& path) {
  std::wstring wide(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (length == 0) return false;
    if (length < wide.size()) {
      wide.resize(length);
      break;
    }
    if (wide.size() >= 32768) return false;
    wide.resize(wide.size() * 2);
  }
  if (NarrowExact(wide, path)) return true;
  // The short form names the same file, and is plain letters where the
  // volume keeps short names.
  std::wstring shortPath(wide.size() + 1, L'\0');
  const DWORD length =
      GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length == 0 || length >= shortPath.size()) return false;
  shortPath.resize(length);
  return NarrowExact(shortPath, path);
}

}  // namespace platform
