#include "dialogs/show_message.h"

#include <cstdio>
#include <utility>

namespace {

ShowMessageHandler& Handler() {
  static ShowMessageHandler handler;
  return handler;
}

}  // namespace

void ShowMessage(void* owner, const std::string& caption, const std::string& groupLabel,
                 const std::string& text, int iconId) {
  if (const ShowMessageHandler& handler = Handler()) {
    handler(owner, caption, groupLabel, text, iconId);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void ShowError(const std::string& text) {
  ShowMessage(nullptr, "Error", "", text, kMessageIconId);
}

void ShowFileError(const char* verb, const std::string& path, int cause) {
  ShowError(std::string("Could not ") + verb + " file \"" + path + "\", " + verb + " error " +
            std::to_string(cause));
}

ShowMessageHandler SetShowMessageHandler(ShowMessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}
