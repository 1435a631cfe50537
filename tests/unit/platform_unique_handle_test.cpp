// The handle owner: each real handle released exactly once, and never a value that means "no
// handle" (null, or all bits set for handles opened from files).
#include <gtest/gtest.h>

#include <vector>

#include "platform/unique_handle.h"

namespace vendrel::platform {
namespace {

struct FakeObject {};
using FakeHandle = FakeObject*;

std::vector<FakeHandle>& Released() {
  static std::vector<FakeHandle> released;
  return released;
}
void Release(FakeHandle h) { Released().push_back(h); }

using Owner = UniqueHandle<FakeHandle, &Release>;
using FileOwner = UniqueHandle<FakeHandle, &Release, NullOrAllBitsIsEmpty<FakeHandle>>;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { Released().clear(); }
  FakeObject a_, b_;
  const FakeHandle invalid_ = NullOrAllBitsIsEmpty<FakeHandle>::AllBits();
};

TEST_F(UniqueHandleTest, ReleasesOnceOnDestructionResetAndMove) {
  {
    Owner first(&a_);
    Owner second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), &a_);
    second = Owner(&b_);  // a released here
    EXPECT_EQ(Released(), std::vector<FakeHandle>{&a_});
  }
  EXPECT_EQ(Released(), (std::vector<FakeHandle>{&a_, &b_}));
  Owner kept(&a_);
  EXPECT_EQ(kept.release(), &a_);
  kept.reset();
  EXPECT_EQ(Released().size(), 2u) << "a released handle is the caller's";
}

TEST_F(UniqueHandleTest, EmptyValuesAreNeverReleased) {
  const struct {
    const char* what;
    FakeHandle handle;
    bool file_owner_holds;
  } cases[] = {
      {"null", nullptr, false},
      {"all bits set, as a failed file open returns", invalid_, false},
      {"a real handle", &a_, true},
  };
  for (const auto& c : cases) {
    Released().clear();
    {
      FileOwner owner(c.handle);
      EXPECT_EQ(static_cast<bool>(owner), c.file_owner_holds) << c.what;
    }
    EXPECT_EQ(Released().size(), c.file_owner_holds ? 1u : 0u) << c.what;
  }
  Released().clear();
  { Owner plain(nullptr); }
  EXPECT_TRUE(Released().empty()) << "null is empty for every owner";
}

}  // namespace
}  // namespace vendrel::platform
