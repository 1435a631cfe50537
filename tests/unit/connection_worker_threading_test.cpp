#include "device/connection_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/tray_icons.h"
#include "app/window_messages.h"
#include "device/device_units.h"
#include "support/device_rig.h"
#include "support/thread_count.h"

namespace vendrel::device {
namespace {

using app::kIconConnected;
using app::kIconDisconnected;
using app::kIconMacroPlaying;
using testing::DeviceRig;
using testing::FakeHostWindow;
using testing::ProcessThreadCount;
constexpr std::uint32_t kMsgRefresh = app::kMsgProfile;
constexpr std::uint32_t kMsgDetach = app::kMsgDetach;

// Holds the connection worker inside the window's refresh until released, so that notifications
// pile up behind it.
class RefreshGate {
 public:
  explicit RefreshGate(FakeHostWindow& window) {
    window.OnSend([this](const FakeHostWindow::Message& m) {
      if (m.id != kMsgRefresh) return;
      std::unique_lock lock(mutex_);
      ++entered_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return open_; });
    });
  }
  void WaitUntilInside(int refreshes) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return entered_ >= refreshes; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int entered_ = 0;
  bool open_ = false;
};

// The keyboard's presence changes as the notifications say, each one reported on 'CTRL'.
void Notify(DeviceRig& rig, const std::vector<int>& counts) {
  for (int count : counts) rig.library.SetAttached(count, true);
}

std::vector<int> Storm(int pairs) {
  std::vector<int> counts;
  for (int i = 0; i < pairs; ++i) {
    counts.push_back(0);
    counts.push_back(1);
  }
  return counts;
}

struct SequenceCase {
  const char* name;
  std::vector<int> counts;  // notifications after the keyboard was connected and refreshed
  bool connected;           // the keyboard's real presence at the end
};

class ConnectionWorkerSequences : public ::testing::TestWithParam<SequenceCase> {};

// Whatever arrives while the worker is busy with a refresh, it ends in the keyboard's real state,
// refreshed after the last detach when connected, one refresh at a time, without new threads.
TEST_P(ConnectionWorkerSequences, EndInTheRealStateWithOneRefreshAtATime) {
  const SequenceCase& c = GetParam();
  DeviceRig rig;
  rig.connection_worker.Post(1);
  rig.Settle();
  ASSERT_TRUE(rig.connection.IsConnected());
  const int threads_before = ProcessThreadCount();
  ASSERT_GT(threads_before, 0);

  RefreshGate gate(rig.window);
  rig.library.SetAttached(2, true);  // a second keyboard re-runs the attach: held in its refresh
  gate.WaitUntilInside(1);
  Notify(rig, c.counts);
  rig.library.Drain();  // the callback never waits for the busy worker
  EXPECT_LE(ProcessThreadCount(), threads_before) << "a thread per notification";
  gate.Open();
  rig.Settle();

  EXPECT_EQ(rig.connection.IsConnected(), c.connected);
  EXPECT_EQ(rig.window.TrayIcons().back(), c.connected ? kIconConnected : kIconDisconnected);
  EXPECT_EQ(rig.events.ConnectionIcon(), c.connected ? kIconConnected : kIconDisconnected);
  const auto messages = rig.window.Messages();
  std::vector<std::uint32_t> sent;
  for (const auto& m : messages) {
    if (m.sent && (m.id == kMsgRefresh || m.id == kMsgDetach)) sent.push_back(m.id);
  }
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), c.connected ? kMsgRefresh : kMsgDetach);
  // Quiet is told once the last change is handled, and only with the keyboard there: the window's
  // news of a failed refresh waits for it. Nothing comes after it.
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().id == app::kMsgConnectionQuiet, c.connected);
  // Piled-up notifications cost one more turn of the worker, not one each.
  EXPECT_EQ(rig.connection_worker.Handled(), 3);
  EXPECT_LE(std::count(sent.begin(), sent.end(), kMsgRefresh), 3);
  EXPECT_LE(ProcessThreadCount(), threads_before);
}

INSTANTIATE_TEST_SUITE_P(
    Notifications, ConnectionWorkerSequences,
    ::testing::Values(SequenceCase{"Detach", {0}, false},
                      SequenceCase{"Bounce", {0, 1}, true},
                      SequenceCase{"BounceThenDetach", {0, 1, 0}, false},
                      SequenceCase{"StormOf5Pairs", Storm(5), true},
                      SequenceCase{"StormOf200Pairs", Storm(200), true},
                      SequenceCase{"StormEndingUnplugged", [] {
                                     std::vector<int> counts = Storm(50);
                                     counts.push_back(0);
                                     return counts;
                                   }(), false}),
    [](const auto& info) { return std::string(info.param.name); });

// A detach and an attach that both arrive before the worker gets to them still run the detach
// handling and a fresh attach with its refresh.
TEST(ConnectionWorker, CoalescedBounceDetachesAndRefreshesAgain) {
  DeviceRig rig;
  rig.connection_worker.Post(1);
  rig.Settle();
  RefreshGate gate(rig.window);
  rig.library.SetAttached(2, true);
  gate.WaitUntilInside(1);
  Notify(rig, {0, 1});
  rig.library.Drain();
  EXPECT_EQ(rig.connection_worker.Posted(), 4);
  gate.Open();
  rig.Settle();

  std::vector<std::uint32_t> sent;
  for (const auto& m : rig.window.Messages()) {
    if (m.sent) sent.push_back(m.id);
  }
  EXPECT_EQ(sent, (std::vector<std::uint32_t>{kMsgRefresh, kMsgRefresh, kMsgDetach, kMsgRefresh}));
  EXPECT_EQ(rig.window.TrayIcons(),
            (std::vector<int>{kIconConnected, kIconConnected, kIconDisconnected, kIconConnected}));
  EXPECT_EQ(rig.connection.State(), 1);
  EXPECT_EQ(rig.connection_worker.Handled(), 3);
}

// Bank key, lighting and macro events keep arriving while a refresh runs; none waits for it and
// the macro events show in the order they came.
TEST(ConnectionWorker, EventsDuringARefreshAreDeliveredInOrder) {
  DeviceRig rig;
  RefreshGate gate(rig.window);
  rig.connection_worker.Post(1);
  gate.WaitUntilInside(1);
  for (int i = 0; i < 3; ++i) {
    rig.library.SendConsumerCode(kCodeMacroStarted);
    rig.library.SendConsumerCode(kCodeBankKey);
    rig.library.SendConsumerCode(kCodeMacroEnded);
  }
  rig.library.SendConsumerCode(kCodeLightingChanged);
  rig.library.Drain();
  rig.indicator.WaitIdle();
  EXPECT_EQ(rig.units.GBank(), 1) << "three presses";
  EXPECT_FALSE(rig.connection.IsConnected()) << "still refreshing";
  gate.Open();
  rig.Settle();

  const auto icons = rig.window.TrayIcons();
  const std::vector<int> expected{kIconMacroPlaying, kIconDisconnected, kIconMacroPlaying,
                                  kIconDisconnected, kIconMacroPlaying, kIconDisconnected,
                                  kIconConnected};
  EXPECT_EQ(icons, expected);
  int posted = 0;
  for (const auto& m : rig.window.Messages()) posted += m.sent ? 0 : 1;
  EXPECT_EQ(posted, 3 + 1 + 1 + 1)
      << "three bank changes, a lighting change, the start-up open and the quiet connection";
  EXPECT_TRUE(rig.connection.IsConnected());
}

// Notifications from many threads at once: the worker ends in the last state reported.
TEST(ConnectionWorker, PostsFromManyThreadsEndInTheLastCount) {
  DeviceRig rig;
  rig.window.SetStartFlagValue(true);
  const int threads_before = ProcessThreadCount();
  {
    std::vector<std::jthread> posters;
    for (int t = 0; t < 4; ++t) {
      posters.emplace_back([&rig] {
        for (int i = 0; i < 100; ++i) rig.connection_worker.Post(i % 2);
      });
    }
  }
  rig.connection_worker.Post(1);
  rig.Settle();
  EXPECT_TRUE(rig.connection.IsConnected());
  EXPECT_EQ(rig.window.TrayIcons().back(), kIconConnected);
  EXPECT_EQ(rig.connection_worker.Posted(), 401);
  EXPECT_LT(rig.connection_worker.Handled(), 401);
  EXPECT_LE(ProcessThreadCount(), threads_before);
}

// The window never becomes ready: destroying the worker still ends its wait and joins it.
TEST(ConnectionWorker, ShutsDownWhileWaitingForTheWindow) {
  DeviceRig rig;
  rig.window.SetReady(false);
  {
    ConnectionWorker worker(rig.connection);
    worker.Post(1);
    const auto poll = rig.exchange.Timings().ready_poll;
    for (;;) {
      const auto sleeps = rig.sleeper.Sleeps();
      if (std::count(sleeps.begin(), sleeps.end(), poll) >= 2) break;
      std::this_thread::yield();
    }
  }
  EXPECT_FALSE(rig.connection.IsConnected());
  EXPECT_TRUE(rig.window.TrayIcons().empty());
}

}  // namespace
}  // namespace vendrel::device
