#include "framework/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Handles are small integers; -1 is "none"; every close is recorded.
std::vector<int> g_closed;

struct FakeTraits {
  using Type = int;
  static Type Invalid() { return -1; }
  static void Close(Type h) { g_closed.push_back(h); }
};

using Owner = fw::UniqueHandle<FakeTraits>;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { g_closed.clear(); }
};

TEST_F(UniqueHandleTest, ClosesOnceAtScopeEnd) {
  {
    Owner owner(7);
    EXPECT_TRUE(owner);
    EXPECT_EQ(owner.Get(), 7);
    EXPECT_TRUE(g_closed.empty());
  }
  EXPECT_EQ(g_closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, EmptyOwnerClosesNothing) {
  {
    Owner owner;
    EXPECT_FALSE(owner);
  }
  EXPECT_TRUE(g_closed.empty());
}

TEST_F(UniqueHandleTest, ZeroIsAValidHandleWhenNoneIsMinusOne) {
  {
    Owner owner(0);
    EXPECT_TRUE(owner);
  }
  EXPECT_EQ(g_closed, std::vector<int>{0});
}

TEST_F(UniqueHandleTest, MoveTransfersOwnership) {
  {
    Owner first(3);
    Owner second(std::move(first));
    EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move): the moved-from state is the point
    EXPECT_EQ(second.Get(), 3);
  }
  EXPECT_EQ(g_closed, std::vector<int>{3});
}

TEST_F(UniqueHandleTest, MoveAssignmentClosesTheOldHandle) {
  Owner target(1);
  Owner source(2);
  target = std::move(source);
  EXPECT_EQ(g_closed, std::vector<int>{1});
  EXPECT_EQ(target.Get(), 2);
}

TEST_F(UniqueHandleTest, SelfMoveKeepsTheHandle) {
  Owner owner(4);
  Owner& alias = owner;
  owner = std::move(alias);
  EXPECT_TRUE(g_closed.empty());
  EXPECT_EQ(owner.Get(), 4);
}

TEST_F(UniqueHandleTest, ResetClosesAndTakes) {
  Owner owner(5);
  owner.Reset(6);
  EXPECT_EQ(g_closed, std::vector<int>{5});
  owner.Reset();
  EXPECT_EQ(g_closed, (std::vector<int>{5, 6}));
  EXPECT_FALSE(owner);
}

TEST_F(UniqueHandleTest, ReleaseGivesUpWithoutClosing) {
  int handle;
  {
    Owner owner(8);
    handle = owner.Release();
    EXPECT_FALSE(owner);
  }
  EXPECT_EQ(handle, 8);
  EXPECT_TRUE(g_closed.empty());
}

static_assert(!std::is_copy_constructible_v<Owner>);
static_assert(!std::is_copy_assignable_v<Owner>);
static_assert(std::is_nothrow_move_constructible_v<Owner>);

}  // namespace
