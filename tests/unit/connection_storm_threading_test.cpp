// The whole way a plug or unplug takes through the program: the library's notification, the
// connection worker, the main window's connect refresh and what the window tells the user. A box
// holds the thread that shows it until the user closes it, as a modal box does. Whatever a storm
// of plugs and unplugs does to the refreshes, the worker is never held by a box, ends in the
// keyboard's real state and follows the next change.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/main_window_logic.h"
#include "app/tray_icons.h"
#include "app/window_messages.h"
#include "support/device_rig.h"
#include "support/recording_main_window.h"

namespace vendrel::app {
namespace {

using testing::DeviceRig;
using testing::FakeHostWindow;
using testing::Narrow;
using testing::RecordingMainWindow;

constexpr auto kWorkerPatience = std::chrono::seconds(10);
constexpr char kReadFailedBox[] = "message <KEYBOARD_READ_FAILED>";

// The main window with a scripted connect refresh and boxes that wait for the user.
class BoxedWindow final : public RecordingMainWindow {
 public:
  BoxedWindow(DeviceRig& rig, std::vector<KeyboardRead> reads) : rig_(rig), reads_(std::move(reads)) {}

  KeyboardRead ConnectRefresh() override {
    Call("connect-refresh");
    const KeyboardRead read = reads_[std::min(refreshes_, reads_.size() - 1)];
    ++refreshes_;
    return read;
  }
  bool IsConnected() override { return rig_.connection.IsConnected(); }
  void ShowMessage(std::u16string_view text) override {
    Call("message " + Narrow(text));
    std::unique_lock lock(mutex_);
    closed_.wait(lock, [this] { return user_closes_boxes_; });
  }

  // From now on the user closes every box, the open ones too.
  void UserClosesBoxes() {
    std::lock_guard lock(mutex_);
    user_closes_boxes_ = true;
    closed_.notify_all();
  }
  std::size_t Refreshes() const { return refreshes_; }

 private:
  DeviceRig& rig_;
  std::vector<KeyboardRead> reads_;  // one per refresh; the last repeats
  std::size_t refreshes_ = 0;
  std::mutex mutex_;
  std::condition_variable closed_;
  bool user_closes_boxes_ = false;
};

std::vector<int> Storm(int pairs, bool end_unplugged) {
  std::vector<int> counts;
  for (int i = 0; i < pairs; ++i) {
    counts.push_back(0);
    counts.push_back(1);
  }
  if (end_unplugged) counts.push_back(0);
  return counts;
}

struct StormCase {
  const char* name;
  std::vector<int> counts;          // notifications after the keyboard was connected and read
  std::vector<KeyboardRead> reads;  // the refreshes after the first; the last repeats
  bool one_at_a_time;               // each notification handled before the next comes
  bool connected;                   // the keyboard's real presence at the end
  int boxes;                        // "could not be read" boxes once everything is handled
};

class ConnectionStorm : public ::testing::TestWithParam<StormCase> {};

TEST_P(ConnectionStorm, WorkerIsNeverHeldByABoxAndEndsInTheRealState) {
  const StormCase& c = GetParam();
  DeviceRig rig;
  std::vector<KeyboardRead> reads{KeyboardRead::Read};
  reads.insert(reads.end(), c.reads.begin(), c.reads.end());
  BoxedWindow window(rig, reads);
  ShellFlags flags;
  MainWindowLogic logic(window, window, flags);
  // The window handles what the worker sends while the worker waits, as a sent message does.
  rig.window.OnSend([&logic](const FakeHostWindow::Message& m) {
    if (m.id == kMsgProfile) logic.OnConnected();
    if (m.id == kMsgDetach) logic.OnDisconnected();
  });
  // However the test ends, the user closes the boxes and the worker leaves the window alone
  // before the window goes.
  const auto release = [&] {
    window.UserClosesBoxes();
    rig.connection_worker.WaitIdle();
  };
  struct Release {
    std::function<void()> run;
    ~Release() { run(); }
  } released{release};
  rig.connection_worker.Post(1);
  ASSERT_TRUE(rig.connection_worker.WaitIdleFor(kWorkerPatience));

  for (const int count : c.counts) {
    rig.library.SetAttached(count, true);
    if (c.one_at_a_time) {
      rig.library.Drain();
      ASSERT_TRUE(rig.connection_worker.WaitIdleFor(kWorkerPatience)) << "held after " << count;
    }
  }
  rig.library.Drain();
  ASSERT_TRUE(rig.connection_worker.WaitIdleFor(kWorkerPatience)) << "the worker waited for the user";
  EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), kReadFailedBox), 0)
      << "a box while the worker waited";

  EXPECT_EQ(rig.connection.IsConnected(), c.connected);
  EXPECT_EQ(rig.window.TrayIcons().back(), c.connected ? kIconConnected : kIconDisconnected);
  // The window thread takes what was posted to it, in order; the user closes what it shows.
  window.UserClosesBoxes();
  for (const auto& m : rig.window.Messages()) {
    if (!m.sent && ClassifyPrivateMessage(m.id, m.first) == PrivateMessage::Quiet) logic.OnConnectionQuiet();
  }
  EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), kReadFailedBox), c.boxes);

  // A slow unplug and replug afterwards is followed both ways, with a refresh after the replug.
  const std::size_t refreshes = window.Refreshes();
  for (const int count : {0, 1}) {
    rig.library.SetAttached(count, true);
    rig.library.Drain();
    ASSERT_TRUE(rig.connection_worker.WaitIdleFor(kWorkerPatience));
    EXPECT_EQ(rig.connection.IsConnected(), count > 0);
    EXPECT_EQ(rig.window.TrayIcons().back(), count > 0 ? kIconConnected : kIconDisconnected);
  }
  EXPECT_EQ(window.Refreshes(), refreshes + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Storms, ConnectionStorm,
    ::testing::Values(
        StormCase{"BounceWhoseRefreshFails", {0, 1}, {KeyboardRead::Unreadable}, true, true, 1},
        StormCase{"FailedRefreshThenOneThatReads", {0, 1, 0, 1},
                  {KeyboardRead::Unreadable, KeyboardRead::Read}, true, true, 0},
        StormCase{"RefreshFailsThenUnplugged", {0, 1, 0}, {KeyboardRead::Unreadable}, true, false, 0},
        StormCase{"EveryRefreshFailsOneAtATime", Storm(20, false), {KeyboardRead::Unreadable}, true,
                  true, 1},
        StormCase{"EveryRefreshFailsPiledUp", Storm(200, false), {KeyboardRead::Unreadable}, false,
                  true, 1},
        StormCase{"PiledUpStormThatReads", Storm(200, false), {KeyboardRead::Read}, false, true, 0},
        StormCase{"StormEndingUnplugged", Storm(200, true), {KeyboardRead::Unreadable}, false, false,
                  0},
        StormCase{"UnfinishedWriteKeptThroughTheStorm", Storm(20, false),
                  {KeyboardRead::PendingKept}, true, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vendrel::app
