#include <windows.h>

#include "platform/wide_text_win.h"
#include "support/exact_files.h"

namespace exact {

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 3 + 1, '\0');
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<size_t>(length > 0 ? length : 0));
  return utf8;
}

// The "\\?\" form: the test's paths are absolute, with backslashes.
std::wstring Long(const std::string& utf8Path) {
  const std::wstring wide = Wide(utf8Path);
  return wide.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + wide.substr(2) : L"\\\\?\\" + wide;
}

std::string ReadAll(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(unreadable)";
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content;
}

template <typename Visit>
void Walk(const std::wstring& folder, const std::string& relative, Visit visit) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    const std::string inside = relative.empty() ? Utf8(name) : relative + "/" + Utf8(name);
    const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directory && !link) Walk(path, inside, visit);
    visit(path, inside, directory, link);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

bool MakeFolder(const std::string& utf8Path) {
  return CreateDirectoryW(Long(utf8Path).c_str(), nullptr) ||
         GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteFile(const std::string& utf8Path, const std::string& content) {
  HANDLE file = CreateFileW(Long(utf8Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      content.empty() ||
      (::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
       written == content.size());
  CloseHandle(file);
  return ok;
}

bool SetReadOnly(const std::string& utf8Path) {
  return SetFileAttributesW(Long(utf8Path).c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
}

bool RemoveFile(const std::string& utf8Path) {
  return DeleteFileW(Long(utf8Path).c_str()) != FALSE;
}

bool Rename(const std::string& utf8From, const std::string& utf8To) {
  return MoveFileW(Long(utf8From).c_str(), Long(utf8To).c_str()) != FALSE;
}

std::map<std::string, std::string> Snapshot(const std::string& utf8Folder) {
  std::map<std::string, std::string> files;
  Walk(Long(utf8Folder), "",
       [&](const std::wstring& path, const std::string& relative, bool directory, bool link) {
         if (link)
           files[relative] = "(link)";
         else if (!directory)
           files[relative] = ReadAll(path);
       });
  return files;
}

void RemoveTree(const std::string& utf8Folder) {
  const std::wstring root = Long(utf8Folder);
  Walk(root, "", [](const std::wstring& path, const std::string&, bool directory, bool) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (directory)
      RemoveDirectoryW(path.c_str());
    else
      DeleteFileW(path.c_str());
  });
  RemoveDirectoryW(root.c_str());
}

bool ToProgramText(const std::string& utf8, std::string& text) {
  return platform::NarrowExact(Wide(utf8), text);
}

}  // namespace exact
