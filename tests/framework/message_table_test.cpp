#include "framework/message_table.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using fw::EntryKind;
using fw::FindEntry;
using fw::MessageKey;
using fw::MessageQuery;

// The lookup only needs a key; the name stands in for the handler.
struct Entry {
  MessageKey key;
  const char* name;
};

constexpr uint32_t kSize = 0x0005;             // WM_SIZE
constexpr uint32_t kTimer = 0x0113;            // WM_TIMER
constexpr uint32_t kSelEndOk = 9;              // CBN_SELENDOK
constexpr uint32_t kItemChanged = 0xFFFFFF9B;  // LVN_ITEMCHANGED, a negative code

constexpr std::array<Entry, 7> kTable{{
    {{EntryKind::kMessage, kSize, 0, 0}, "size"},
    {{EntryKind::kCommand, fw::kCommandMessage, 1217, 0}, "find"},
    {{EntryKind::kCommand, fw::kCommandMessage, 1214, 0}, "list clicked"},
    {{EntryKind::kControl, fw::kCommandMessage, 1214, kSelEndOk}, "list accepted"},
    {{EntryKind::kNotify, fw::kNotifyMessage, 1230, kItemChanged}, "folders changed"},
    {{EntryKind::kMessage, fw::kCommandMessage, 0, 0}, "any command"},
    {{EntryKind::kNotify, fw::kNotifyMessage, 1219, kItemChanged}, "results changed"},
}};

const char* Find(const MessageQuery& query) {
  const Entry* entry = FindEntry(std::span<const Entry>(kTable), query);
  return entry ? entry->name : nullptr;
}

TEST(MessageTable, FindsAMessageByNumber) {
  EXPECT_STREQ(Find({kSize}), "size");
  EXPECT_EQ(Find({kTimer}), nullptr);  // goes to the default handling
}

TEST(MessageTable, CommandEntriesTakeMenusAcceleratorsAndClicks) {
  EXPECT_STREQ(Find({fw::kCommandMessage, 1217, 0}), "find");
  EXPECT_STREQ(Find({fw::kCommandMessage, 1217, 1}), "find");
}

TEST(MessageTable, CommandEntriesIgnoreOtherNotificationCodes) {
  // An edit's EN_CHANGE (0x300) from the same id is not a command.
  EXPECT_STREQ(Find({fw::kCommandMessage, 1217, 0x300}), "any command");
}

TEST(MessageTable, ControlEntryWinsOverCommandAndMessage) {
  EXPECT_STREQ(Find({fw::kCommandMessage, 1214, kSelEndOk}), "list accepted");
  EXPECT_STREQ(Find({fw::kCommandMessage, 1214, 0}), "list clicked");
}

TEST(MessageTable, MessageEntryCatchesCommandsWithoutTheirOwnEntry) {
  EXPECT_STREQ(Find({fw::kCommandMessage, 999, 0}), "any command");
}

TEST(MessageTable, NotifyEntriesMatchControlAndCode) {
  EXPECT_STREQ(Find({fw::kNotifyMessage, 1230, kItemChanged}), "folders changed");
  EXPECT_STREQ(Find({fw::kNotifyMessage, 1219, kItemChanged}), "results changed");
  EXPECT_EQ(Find({fw::kNotifyMessage, 1230, 0xFFFFFFFE}), nullptr);  // NM_CLICK
}

TEST(MessageTable, NotifyCodeIsNotACommandCode) {
  // Same id and code, carried by the other message: no match.
  EXPECT_EQ(Find({fw::kNotifyMessage, 1214, kSelEndOk}), nullptr);
}

TEST(MessageTable, EmptyTableFindsNothing) {
  EXPECT_EQ(FindEntry(std::span<const Entry>(), MessageQuery{kSize}), nullptr);
}

TEST(MessageTable, DuplicateKeysAreFound) {
  static_assert(fw::HasUniqueKeys(std::span<const Entry>(kTable)));
  constexpr std::array<Entry, 2> twice{{
      {{EntryKind::kControl, fw::kCommandMessage, 5, 9}, "a"},
      {{EntryKind::kControl, fw::kCommandMessage, 5, 9}, "b"},
  }};
  static_assert(!fw::HasUniqueKeys(std::span<const Entry>(twice)));
  // Same id under different kinds, or the same message twice.
  constexpr std::array<Entry, 2> kinds{{
      {{EntryKind::kCommand, fw::kCommandMessage, 5, 0}, "a"},
      {{EntryKind::kControl, fw::kCommandMessage, 5, 0}, "b"},
  }};
  EXPECT_TRUE(fw::HasUniqueKeys(std::span<const Entry>(kinds)));
  constexpr std::array<Entry, 2> messages{{
      {{EntryKind::kMessage, kSize, 0, 0}, "a"},
      {{EntryKind::kMessage, kSize, 0, 0}, "b"},
  }};
  EXPECT_FALSE(fw::HasUniqueKeys(std::span<const Entry>(messages)));
}

}  // namespace
