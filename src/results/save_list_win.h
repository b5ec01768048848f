#pragma once
// "Save list…" on the Windows side: the system's Save As box, a file that is
// written whole or not at all, and the words for what went wrong.

#include <windows.h>

#include <string>
#include <string_view>

#include "results/list_export.h"

// The system's Save As box over `owner`, starting at "quillory-results.csv",
// with the two types. False when the user cancels.
bool ChooseListFile(HWND owner, std::wstring& path, ListFormat& format);

// Writes `bytes` beside `path` under a temporary name and moves it over
// `path` only once it is complete and on the disk, so a failure leaves any
// old file as it was. 0, or the system's error code (the temporary file is
// gone then too).
DWORD WriteFileReplacing(const std::wstring& path, const std::string& bytes);

// The message of the "Error" box when saving to `path` failed with `error`:
// what failed and the system's own words for why.
std::string SaveListFailedText(const std::wstring& path, DWORD error);

// The program's text as UTF-8, whatever the process code page.
std::string ProgramTextToUtf8(std::string_view text);
