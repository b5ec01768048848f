#include "support/typing_ui_win.h"

namespace {

struct Search {
  DWORD processId;
  const std::string* caption;
  bool (*accept)(HWND window);
  HWND found;
};

BOOL CALLBACK MatchProcessCaption(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  if (process != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
  char text[256] = {};
  ::GetWindowTextA(hwnd, text, sizeof(text));
  if (*search->caption != text) return TRUE;
  if (search->accept && !search->accept(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus ? info.hwndFocus : window;
}

}  // namespace

void PostTyping(HWND edit, const std::string& text) {
  for (char c : text) {
    ::PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  }
}

void PostClearing(HWND edit) {
  ::PostMessageA(edit, EM_SETSEL, 0, -1);
  ::PostMessageA(edit, WM_CHAR, VK_BACK, 1);
}

void PostClick(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostEnter(HWND dialog) {
  HWND target = FocusOf(dialog);
  ::PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  ::PostMessageA(target, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001));
}

std::string ReadText(HWND window) {
  char text[1024] = {};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 10000, &copied);
  return text;
}

std::string ReadItemText(HWND dialog, int id) { return ReadText(::GetDlgItem(dialog, id)); }

HWND FindProcessWindow(DWORD processId, const std::string& caption, bool (*accept)(HWND window)) {
  Search search{processId, &caption, accept, nullptr};
  ::EnumWindows(MatchProcessCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
