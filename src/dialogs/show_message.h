#pragma once
// The one way core code shows the user a message box. The Windows dialog kit
// installs its handler at start-up; until then, and in native builds, the text
// goes to stderr. Tests install a recorder.

#include <functional>
#include <string>

// Icon of the program's message boxes (IDI_MESSAGE in the resources).
inline constexpr int kMessageIconId = 201;

using ShowMessageHandler =
    std::function<void(void* owner, const std::string& caption, const std::string& groupLabel,
                       const std::string& text, int iconId)>;

// `owner` is the owner window's handle, or null for none.
void ShowMessage(void* owner, const std::string& caption, const std::string& groupLabel,
                 const std::string& text, int iconId);

// An "Error" box without an owner, and the one for a file that could not be
// opened, read or written: Could not <verb> file "<path>", <verb> error <cause>.
void ShowError(const std::string& text);
void ShowFileError(const char* verb, const std::string& path, int cause);

// Installs `handler` (an empty one restores the stderr default) and returns the
// one it replaces. Call it before any other thread may show a message.
ShowMessageHandler SetShowMessageHandler(ShowMessageHandler handler);
