#pragma once
// Exact conversions between the program's 8-bit text (the process code page:
// UTF-8 where the manifest is honoured, else the legacy one) and the wide text
// of the file system. Windows-only.
//
// Nothing here ever substitutes a look-alike: a text that does not survive the
// round trip unchanged is refused, so no name can come to stand for another.

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// Wide to program text; false when some character has no exact form.
bool NarrowExact(std::wstring_view wide, std::string& text);
// Program text to wide; false when the bytes are not valid text.
bool WidenExact(std::string_view text, std::wstring& wide);
// The wide form of a full path for the file calls: "\\?\C:\..." or
// "\\?\UNC\server\share\...", so that no length limit applies and no final dot
// or blank is dropped. A relative path stays as it is. Empty when the path
// cannot be converted.
std::wstring ExtendedPath(std::string_view path);
// A full path in the plain form the shell and the folder browser use: not
// the device forms "\\?\" and "\\.\", no wildcard, and left as it is by
// GetFullPathNameW (which drops a final dot or blank, resolves "." and "..",
// turns "/" round and makes a relative path full).
bool IsPlainPath(const std::wstring& path);
// The executable's full path as program text, in its short form when the
// long one cannot be expressed; false when neither can (the caller tells the
// user).
bool GetModulePath(std::string& path);

}  // namespace platform
