#include "results/save_list_win.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "framework/window_win.h"
#include "platform/retry_held_win.h"
#include "platform/wide_text_win.h"

namespace {

// A full path as the file calls take it without a length limit.
std::wstring LongPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;  // relative: as it is
}

DWORD WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, part, &written, nullptr)) return ::GetLastError();
    if (written == 0) return ERROR_DISK_FULL;
    done += written;
  }
  return ::FlushFileBuffers(file) ? 0 : ::GetLastError();
}

// Wide text for the box, with '?' where the program's text has no character.
std::string Narrow(const std::wstring& wide) {
  std::string text;
  if (platform::NarrowExact(wide, text)) return text;
  const int size =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  text.assign(static_cast<size_t>(std::max(size, 0)), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

bool ChooseListFile(HWND owner, std::wstring& path, ListFormat& format) {
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring start = L"quillory-results.csv";
  std::copy(start.begin(), start.end(), file.begin());
  OPENFILENAMEW box{};
  box.lStructSize = sizeof box;
  box.hwndOwner = owner;
  box.lpstrFilter = L"CSV (comma-separated)\0*.csv\0Text (tab-separated)\0*.txt\0";
  box.nFilterIndex = 1;
  box.lpstrFile = file.data();
  box.nMaxFile = static_cast<DWORD>(file.size());
  box.lpstrDefExt = L"csv";  // the chosen type's own extension, when none is typed
  box.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  fw::CKeepFocus keep;
  if (!::GetSaveFileNameW(&box)) return false;
  path = file.data();
  format = box.nFilterIndex == 2 ? ListFormat::Tsv : ListFormat::Csv;
  return true;
}

DWORD WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  const std::wstring target = LongPath(path);
  // Windows refuses to move a file over a read-only one; Wine does not.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return ERROR_ACCESS_DENIED;
  // Beside the target, so that the move is a rename on the same volume.
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(attempt) + L".tmp";
    file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
      return ::GetLastError();
    }
  }
  if (file == INVALID_HANDLE_VALUE) return ERROR_FILE_EXISTS;
  DWORD error = WriteAll(file, bytes);
  if (!::CloseHandle(file) && error == 0) error = ::GetLastError();
  // An indexer or scanner that opens the fresh file (or a program that
  // holds the old one for a moment) makes the move fail, and the clean-up
  // after it: both wait for it as a settings save does.
  if (error == 0) {
    error = platform::RetryWhileHeld(
        [&] {
          return ::MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        },
        {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED});
  }
  if (error != 0) {
    platform::RetryWhileHeld([&] { return ::DeleteFileW(temporary.c_str()) != FALSE; },
                             {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED});
  }
  return error;
}

std::string SaveListFailedText(const std::wstring& path, DWORD error) {
  wchar_t* words = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
  std::wstring reason = length && words ? std::wstring(words, length) : std::wstring();
  if (words) ::LocalFree(words);
  while (!reason.empty() &&
         (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
    reason.pop_back();
  if (reason.empty()) reason = L"Error " + std::to_wstring(error) + L".";
  return "The list cannot be saved to \"" + Narrow(path) + "\". " + Narrow(reason);
}

std::string ProgramTextToUtf8(std::string_view text) {
  if (::GetACP() == CP_UTF8 || text.empty()) return std::string(text);
  const int wideSize =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(wideSize, 0)), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        wideSize);
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(std::max(size, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), size, nullptr, nullptr);
  return utf8;
}
