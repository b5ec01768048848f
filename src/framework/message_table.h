#pragma once
// The lookup behind every window's handler table. It knows message numbers
// only, no <windows.h>, so the rules below are tested natively.
//
// A table holds three kinds of entries: a window message, a command id
// (menus, accelerators and button clicks), and a control id with a
// notification code (WM_COMMAND notifications such as CBN_SELENDOK, and
// WM_NOTIFY). The most specific entry wins; a message no entry takes goes to
// the window's default handling.

#include <cstdint>
#include <span>

namespace fw {

// The two carrier messages, as the platform numbers them (checked against
// <windows.h> in window_win.h).
inline constexpr uint32_t kCommandMessage = 0x0111;  // WM_COMMAND
inline constexpr uint32_t kNotifyMessage = 0x004E;   // WM_NOTIFY

enum class EntryKind : uint8_t {
  kMessage,  // any message, by number
  kCommand,  // WM_COMMAND from a menu, an accelerator or a button click
  kControl,  // WM_COMMAND with one notification code of one control
  kNotify,   // WM_NOTIFY with one notification code of one control
};

struct MessageKey {
  EntryKind kind;
  uint32_t message;  // kMessage only
  uint32_t id;       // command or control id
  uint32_t code;     // kControl, kNotify
};

// One incoming message reduced to what the lookup needs: for WM_COMMAND the
// id and code from wParam, for WM_NOTIFY idFrom and code from the header.
struct MessageQuery {
  uint32_t message;
  uint32_t id = 0;
  uint32_t code = 0;
};

inline constexpr bool Matches(const MessageKey& key, EntryKind kind, const MessageQuery& query) {
  if (key.kind != kind) return false;
  switch (kind) {
    case EntryKind::kMessage: return key.message == query.message;
    // Menus send code 0, accelerators 1, and a button's click is BN_CLICKED (0).
    case EntryKind::kCommand: return key.id == query.id && query.code <= 1;
    case EntryKind::kControl:
    case EntryKind::kNotify: return key.id == query.id && key.code == query.code;
  }
  return false;
}

// The entry that takes the query, or null. Entry is any type with a `key`.
template <class Entry>
constexpr const Entry* FindEntry(std::span<const Entry> table, const MessageQuery& query) {
  auto find = [&](EntryKind kind) -> const Entry* {
    for (const Entry& entry : table) {
      if (Matches(entry.key, kind, query)) return &entry;
    }
    return nullptr;
  };
  const Entry* found = nullptr;
  if (query.message == kCommandMessage) {
    found = find(EntryKind::kControl);
    if (!found) found = find(EntryKind::kCommand);
  } else if (query.message == kNotifyMessage) {
    found = find(EntryKind::kNotify);
  }
  return found ? found : find(EntryKind::kMessage);
}

// True when no two entries of a table would take the same message: a second
// entry would never be called, which is always a slip.
template <class Entry>
constexpr bool HasUniqueKeys(std::span<const Entry> table) {
  for (size_t i = 0; i < table.size(); ++i) {
    for (size_t j = i + 1; j < table.size(); ++j) {
      const MessageKey& a = table[i].key;
      const MessageKey& b = table[j].key;
      if (a.kind != b.kind) continue;
      if (a.kind == EntryKind::kMessage ? a.message == b.message
                                        : a.id == b.id && a.code == b.code) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace fw
