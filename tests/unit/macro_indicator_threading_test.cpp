#include "device/macro_indicator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/fake_sleeper.h"
#include "support/thread_count.h"

namespace vendrel::device {
namespace {

// Records the macro events it is handed; while closed, the first one it gets waits inside.
class GatedEvents final : public ConnectionEvents {
 public:
  void Attached() override {}
  void Detached() override {}
  bool ReadyForConnection() const override { return true; }
  void ConnectionSettled(bool) override {}
  void ConnectionQuiet(bool) override {}
  void BankChanged() override {}
  void LightingChanged() override {}
  void MacroStarted() override { Note(true); }
  void MacroEnded() override { Note(false); }

  void Close() {
    std::lock_guard lock(mutex_);
    open_ = false;
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void WaitForEvents(std::size_t n) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return seen_.size() >= n; });
  }
  std::vector<bool> Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
  }
  int MostAtOnce() const {
    std::lock_guard lock(mutex_);
    return most_at_once_;
  }

 private:
  void Note(bool playing) {
    std::unique_lock lock(mutex_);
    most_at_once_ = std::max(most_at_once_, ++inside_);
    seen_.push_back(playing);
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
    --inside_;
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<bool> seen_;
  bool open_ = true;
  int inside_ = 0;
  int most_at_once_ = 0;
};

std::vector<bool> Alternating(std::size_t n) {
  std::vector<bool> events;
  for (std::size_t i = 0; i < n; ++i) events.push_back(i % 2 == 0);
  return events;
}

struct OrderCase {
  const char* name;
  std::vector<bool> events;  // true: started
};

class MacroIndicatorOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(MacroIndicatorOrder, ShowsEveryEventInArrivalOrderOneAtATime) {
  const OrderCase& c = GetParam();
  GatedEvents events;
  testing::FakeSleeper sleeper;
  const int threads_before = testing::ProcessThreadCount();
  {
    MacroIndicator indicator(events, sleeper, std::chrono::milliseconds{7});
    events.Close();
    indicator.Post(c.events.front());
    events.WaitForEvents(1);
    for (std::size_t i = 1; i < c.events.size(); ++i) indicator.Post(c.events[i]);
    EXPECT_FALSE(indicator.Idle());
    EXPECT_LE(testing::ProcessThreadCount(), threads_before + 1) << "one worker, whatever arrives";
    events.Open();
    indicator.WaitIdle();
    EXPECT_TRUE(indicator.Idle());
  }
  EXPECT_EQ(events.Seen(), c.events);
  EXPECT_EQ(events.MostAtOnce(), 1);
  const auto sleeps = sleeper.Sleeps();
  EXPECT_EQ(sleeps.size(), c.events.size()) << "each event is held";
  for (const auto s : sleeps) EXPECT_EQ(s, std::chrono::milliseconds{7});
  // A joined thread can still be listed for a moment while the kernel ends it.
  for (int i = 0; i < 500 && testing::ProcessThreadCount() > threads_before; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds{10});
  }
  EXPECT_EQ(testing::ProcessThreadCount(), threads_before) << "joined";
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, MacroIndicatorOrder,
    ::testing::Values(OrderCase{"StartThenEnd", {true, false}},
                      OrderCase{"EndBeforeStart", {false, true}},
                      OrderCase{"TwoStartsInARow", {true, true, false, false}},
                      OrderCase{"StormWithinTheQueue", Alternating(MacroIndicator::kMaxWaiting)}),
    [](const auto& info) { return std::string(info.param.name); });

// Past the queue's limit the oldest waiting events go; the newest still show, in order, last.
TEST(MacroIndicator, OverflowDropsTheOldestAndKeepsTheLatest) {
  GatedEvents events;
  testing::FakeSleeper sleeper;
  MacroIndicator indicator(events, sleeper, std::chrono::milliseconds{1});
  events.Close();
  indicator.Post(true);
  events.WaitForEvents(1);
  const std::size_t extra = 10;
  std::vector<bool> posted;
  for (std::size_t i = 0; i < MacroIndicator::kMaxWaiting + extra; ++i) {
    const bool playing = (i % 3) != 0;
    posted.push_back(playing);
    indicator.Post(playing);
  }
  events.Open();
  indicator.WaitIdle();

  std::vector<bool> expected{true};
  expected.insert(expected.end(), posted.begin() + static_cast<long>(extra), posted.end());
  EXPECT_EQ(events.Seen(), expected);
}

// No thread until a macro plays; the first event starts the one thread, and an indicator that
// never got one ends at once.
TEST(MacroIndicator, ThreadStartsWithTheFirstEventOnly) {
  GatedEvents events;
  testing::FakeSleeper sleeper;
  // Threads joined by earlier tests may still be listed for a moment: count once the list is still.
  int before = testing::ProcessThreadCount();
  for (int still = 0, i = 0; still < 3 && i < 500; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds{10});
    const int now = testing::ProcessThreadCount();
    still = now == before ? still + 1 : 0;
    before = now;
  }
  ASSERT_GT(before, 0);
  {
    MacroIndicator idle(events, sleeper, std::chrono::milliseconds{1});
    EXPECT_EQ(testing::ProcessThreadCount(), before);
    idle.WaitIdle();
  }
  MacroIndicator indicator(events, sleeper, std::chrono::milliseconds{1});
  EXPECT_EQ(testing::ProcessThreadCount(), before);
  indicator.Post(true);
  indicator.Post(false);
  indicator.WaitIdle();
  EXPECT_EQ(testing::ProcessThreadCount(), before + 1);
  EXPECT_EQ(events.Seen(), (std::vector<bool>{true, false}));
}

// Posts from several threads at once: each appears exactly once.
TEST(MacroIndicator, PostsFromManyThreadsAreAllShown) {
  GatedEvents events;
  testing::FakeSleeper sleeper;
  MacroIndicator indicator(events, sleeper, std::chrono::milliseconds{1});
  {
    std::vector<std::jthread> posters;
    for (int t = 0; t < 4; ++t) {
      posters.emplace_back([&indicator, t] {
        for (int i = 0; i < 20; ++i) indicator.Post(t % 2 == 0);
      });
    }
  }
  indicator.WaitIdle();
  const auto seen = events.Seen();
  ASSERT_EQ(seen.size(), 80u);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 40);
  EXPECT_EQ(events.MostAtOnce(), 1);
}

}  // namespace
}  // namespace vendrel::device
