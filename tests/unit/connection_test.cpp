#include "device/connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>
#include <type_traits>
#include <vector>

#include "app/tray_icons.h"
#include "app/window_messages.h"
#include "device/device_link.h"
#include "device/packet_frame.h"
#include "device/results.h"
#include "keys/default_key_map.h"
#include "support/device_rig.h"

namespace vendrel::device {
namespace {

using testing::DeviceRig;
using testing::FakeHostWindow;
using app::kIconConnected;
using app::kIconDisconnected;
using app::kMsgOpen;
using app::kTagOpen;
constexpr std::uint32_t kMsgProfileRefresh = app::kMsgProfile;
constexpr std::uint32_t kTagProf = app::kTagProfile;
constexpr std::uint32_t kMsgCloseChildren = app::kMsgDetach;

int CountMessages(const FakeHostWindow& w, std::uint32_t id) {
  const auto messages = w.Messages();
  return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                        [&](const auto& m) { return m.id == id; }));
}

TEST(ConnectionAttach, ReadsFactoryMapAndMacroSpaceThenRefreshesWithoutBracket) {
  DeviceRig rig;
  KeyMapBytes keyboard_map{};
  keyboard_map.fill(0x02);
  rig.library.WithModel([&](sim::KeyboardModel& m) {
    ASSERT_TRUE(m.WriteArea(sim::Area::DefaultMap, 0, keyboard_map));
    ASSERT_TRUE(m.WriteArea(sim::Area::Info, 11, std::vector<std::uint8_t>{0x20}));
  });
  bool map_known_at_refresh = false;
  rig.window.OnSend([&](const FakeHostWindow::Message& m) {
    if (m.id == kMsgProfileRefresh) map_known_at_refresh = rig.connection.DefaultKeyMap() == keyboard_map;
  });

  rig.connection.Changed(1);

  EXPECT_EQ(rig.connection.DefaultKeyMap(), keyboard_map);
  EXPECT_EQ(rig.connection.MacroSpace(), 0x20u * 128u);
  EXPECT_TRUE(map_known_at_refresh);
  const auto sent = rig.library.SentPackets();
  ASSERT_EQ(sent.size(), 8u);
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(sent[i][3], 0x0F);
  EXPECT_EQ(sent[7][3], 0x03);
  const auto messages = rig.window.Messages();
  ASSERT_GE(messages.size(), 1u);
  EXPECT_EQ(messages[0].id, kMsgProfileRefresh);
  EXPECT_EQ(messages[0].first, kTagProf);
  EXPECT_TRUE(messages[0].sent);
  EXPECT_EQ(rig.window.TrayIcons(), std::vector<int>{kIconConnected});
  EXPECT_EQ(rig.events.ConnectionIcon(), kIconConnected);
  EXPECT_TRUE(rig.connection.IsConnected());
}

TEST(ConnectionAttach, FailedReadsKeepPreviousValuesAndStillRefresh) {
  DeviceRig rig;
  rig.library.WithModel([](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::StatusFF, 1000); });
  rig.connection.Changed(1);
  EXPECT_TRUE(std::equal(keys::kDefaultKeyMap.begin(), keys::kDefaultKeyMap.end(),
                         rig.connection.DefaultKeyMap().begin()));
  EXPECT_EQ(rig.connection.MacroSpace(), 0u);
  EXPECT_EQ(rig.connection.KnownMacroSpace(), std::nullopt);
  EXPECT_EQ(CountMessages(rig.window, kMsgProfileRefresh), 1);
  EXPECT_TRUE(rig.connection.IsConnected());
}

// The window opens by itself at most once, only when the keyboard is there at start-up and the
// start flag was not set.
struct OpenCase {
  const char* name;
  bool start_flag;
  std::vector<int> counts;  // successive attach notifications
  int opens;
  std::vector<int> icons;
};

class ConnectionOpening : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ConnectionOpening, OpensTheWindowAtMostOnce) {
  const OpenCase& c = GetParam();
  DeviceRig rig;
  rig.window.SetStartFlagValue(c.start_flag);
  for (int count : c.counts) rig.connection.Changed(count);
  EXPECT_EQ(CountMessages(rig.window, kMsgOpen), c.opens);
  EXPECT_EQ(rig.window.TrayIcons(), c.icons);
  EXPECT_TRUE(rig.window.StartFlag());
  for (const auto& m : rig.window.Messages()) {
    if (m.id == kMsgOpen) {
      EXPECT_EQ(m.first, kTagOpen);
      EXPECT_FALSE(m.sent) << "posted, not sent";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, ConnectionOpening,
    ::testing::Values(
        OpenCase{"PresentAtStart", false, {1}, 1, {141}},
        OpenCase{"ReplugDoesNotOpenAgain", false, {1, 0, 1}, 1, {141, 128, 141}},
        OpenCase{"StartedMinimised", true, {1, 0, 1}, 0, {141, 128, 141}},
        // The main window sets the start flag when nothing is there at start-up.
        OpenCase{"AbsentAtStartThenPlugged", true, {1}, 0, {141}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConnectionDetach, ForgetsProfileClosesChildrenHidesAndShowsDisconnectedIcon) {
  DeviceRig rig;
  rig.connection.Changed(1);
  ASSERT_EQ(rig.commands.GetActiveProfile(), 0);
  rig.library.SetAttached(0, false);
  rig.connection.Changed(0);
  EXPECT_EQ(rig.commands.CachedActiveProfile(), -1);
  EXPECT_EQ(CountMessages(rig.window, kMsgCloseChildren), 1);
  EXPECT_EQ(rig.window.HideCount(), 1);
  EXPECT_EQ(rig.window.TrayIcons().back(), kIconDisconnected);
  EXPECT_EQ(rig.events.ConnectionIcon(), kIconDisconnected);
  EXPECT_FALSE(rig.connection.IsConnected());
}

// Notifications that change nothing.
struct NoChangeCase {
  const char* name;
  int first;   // -1: none
  int second;
};

class ConnectionNoChange : public ::testing::TestWithParam<NoChangeCase> {};

TEST_P(ConnectionNoChange, DoesNothing) {
  const NoChangeCase& c = GetParam();
  DeviceRig rig;
  if (c.first >= 0) rig.connection.Changed(c.first);
  const auto messages = rig.window.Messages().size();
  const auto icons = rig.window.TrayIcons().size();
  const auto sent = rig.library.SentPackets().size();
  rig.connection.Changed(c.second);
  EXPECT_EQ(rig.window.Messages().size(), messages);
  EXPECT_EQ(rig.window.TrayIcons().size(), icons);
  EXPECT_EQ(rig.library.SentPackets().size(), sent);
  EXPECT_EQ(rig.window.HideCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, ConnectionNoChange,
                         ::testing::Values(NoChangeCase{"DetachWhileDisconnected", -1, 0},
                                           NoChangeCase{"SameCountAgain", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConnectionAttach, AnotherNonZeroCountRerunsTheAttachSteps) {
  DeviceRig rig;
  rig.connection.Changed(1);
  rig.connection.Changed(2);
  EXPECT_EQ(CountMessages(rig.window, kMsgProfileRefresh), 2);
  EXPECT_EQ(rig.connection.State(), 2);
}

TEST(ConnectionAttach, WaitsForTheReadyFlagBeforeTouchingTheTray) {
  DeviceRig rig;
  rig.window.SetReady(false);
  rig.connection_worker.Post(1);
  // Until the main window is ready the worker polls and leaves the tray and state alone.
  const auto poll = rig.exchange.Timings().ready_poll;
  for (;;) {
    const auto sleeps = rig.sleeper.Sleeps();
    if (std::count(sleeps.begin(), sleeps.end(), poll) >= 3) break;
    std::this_thread::yield();
  }
  EXPECT_TRUE(rig.window.TrayIcons().empty());
  EXPECT_FALSE(rig.connection.IsConnected());
  rig.window.SetReady(true);
  rig.connection_worker.WaitIdle();
  EXPECT_EQ(rig.window.TrayIcons(), std::vector<int>{kIconConnected});
  EXPECT_TRUE(rig.connection.IsConnected());
}

// What the worker hands the connection after notifications piled up, starting from a keyboard
// that is connected and refreshed once.
struct PiledUpCase {
  const char* name;
  ConnectionChange change;
  bool connected;            // state afterwards
  std::vector<std::uint32_t> messages;  // sent to the window after the first refresh
  std::vector<int> icons;    // tray icons after the first refresh
};

class ConnectionPiledUp : public ::testing::TestWithParam<PiledUpCase> {};

TEST_P(ConnectionPiledUp, EndsInTheReportedStateWithTheHandlingOfEverySeenDetach) {
  const PiledUpCase& c = GetParam();
  DeviceRig rig;
  rig.connection.Changed(1);
  const std::size_t seen = rig.window.Messages().size();
  const std::size_t icons_seen = rig.window.TrayIcons().size();
  rig.library.WithModel([](sim::KeyboardModel& m) {
    ASSERT_TRUE(m.WriteArea(sim::Area::Info, 11, std::vector<std::uint8_t>{0x11}));
  });

  rig.connection.Handle(c.change, [] { return false; });

  std::vector<std::uint32_t> messages;
  const auto all = rig.window.Messages();
  for (std::size_t i = seen; i < all.size(); ++i) {
    if (all[i].sent) messages.push_back(all[i].id);
  }
  EXPECT_EQ(messages, c.messages);
  const auto all_icons = rig.window.TrayIcons();
  EXPECT_EQ(std::vector<int>(all_icons.begin() + static_cast<long>(icons_seen), all_icons.end()),
            c.icons);
  EXPECT_EQ(rig.connection.IsConnected(), c.connected);
  // A fresh attach reads the keyboard again; anything else keeps what the first one read.
  const bool reread = std::count(c.messages.begin(), c.messages.end(), kMsgProfileRefresh) > 0;
  EXPECT_EQ(rig.connection.MacroSpace(), reread ? 0x11u * 128u : sim::kFactoryMacroUnits * 128u);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ConnectionPiledUp,
    ::testing::Values(
        PiledUpCase{"BounceRunsDetachThenAFreshAttach", {1, true}, true,
                    {kMsgCloseChildren, kMsgProfileRefresh}, {kIconDisconnected, kIconConnected}},
        PiledUpCase{"BounceToTwoKeyboards", {2, true}, true,
                    {kMsgCloseChildren, kMsgProfileRefresh}, {kIconDisconnected, kIconConnected}},
        PiledUpCase{"DetachAfterABounce", {0, true}, false, {kMsgCloseChildren}, {kIconDisconnected}},
        PiledUpCase{"SameCountWithoutDetach", {1, false}, true, {}, {}},
        PiledUpCase{"NegativeCountIsADetach", {-1, true}, false, {kMsgCloseChildren},
                    {kIconDisconnected}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConnectionAttach, BounceFromDisconnectedIsOneAttach) {
  DeviceRig rig;
  rig.connection.Handle({1, true}, [] { return false; });
  EXPECT_EQ(CountMessages(rig.window, kMsgProfileRefresh), 1);
  EXPECT_EQ(CountMessages(rig.window, kMsgCloseChildren), 0);
  EXPECT_TRUE(rig.connection.IsConnected());
}

TEST(ConnectionAttach, CancelledWhileWaitingForTheWindowLeavesTheStateAlone) {
  DeviceRig rig;
  rig.window.SetReady(false);
  int asked = 0;
  rig.connection.Handle({1, false}, [&] { return ++asked > 2; });
  EXPECT_EQ(asked, 3);
  EXPECT_FALSE(rig.connection.IsConnected());
  EXPECT_TRUE(rig.window.TrayIcons().empty());
}

// A failed information read never makes the macro space unknown or zero again.
TEST(ConnectionAttach, FailedInformationReadKeepsTheKnownMacroSpace) {
  DeviceRig rig;
  EXPECT_EQ(rig.connection.KnownMacroSpace(), std::nullopt);
  rig.connection.Changed(1);
  ASSERT_EQ(rig.connection.KnownMacroSpace(), sim::kFactoryMacroUnits * 128u);
  rig.library.WithModel([](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::StatusFF, 1000); });
  rig.connection.Handle({1, true}, [] { return false; });
  EXPECT_EQ(CountMessages(rig.window, kMsgProfileRefresh), 2);
  EXPECT_EQ(rig.connection.KnownMacroSpace(), sim::kFactoryMacroUnits * 128u);
  EXPECT_EQ(rig.connection.MacroSpace(), sim::kFactoryMacroUnits * 128u);
}

TEST(ConnectionPresence, CountsKeyboardsOnTheControlCollection) {
  DeviceRig none(0);
  EXPECT_EQ(none.connection.PresenceCheck(), 0);
  DeviceRig two(2);
  EXPECT_EQ(two.connection.PresenceCheck(), 2);
  EXPECT_EQ(two.library.BadChecks(), 0);
}

// The sleeper has no default: a link wired without one does not build, so no test can reach the
// real sleeps by forgetting to pass its fake.
static_assert(!std::is_constructible_v<DeviceLink, HidLibrary&, ConnectionEvents&,
                                       const KeyMapBytes&>);
static_assert(!std::is_constructible_v<DeviceLink, HidLibrary&, ConnectionEvents&,
                                       const KeyMapBytes&, DeviceTimings>);
static_assert(std::is_constructible_v<DeviceLink, HidLibrary&, ConnectionEvents&,
                                      platform::Sleeper&, const KeyMapBytes&>);

TEST(DeviceLink, RoutesRepliesAndAttachNotificationsOnceUnitsAreRegistered) {
  testing::FakeHidLibrary library(0);
  testing::FakeSleeper sleeper;
  FakeHostWindow window;
  app::DeviceEventPolicy events(window);
  window.SetStartFlagValue(true);
  {
    DeviceLink link(library, events, sleeper, keys::kDefaultKeyMap,
                    testing::TestTimings(std::chrono::milliseconds{2000}));
    link.Units().RegisterUnits();
    library.SetAttached(1, true);
    library.Drain();
    link.StateWorker().WaitIdle();
    EXPECT_TRUE(link.State().IsConnected());
    EXPECT_EQ(link.Commands().GetActiveProfile(), 0);
    EXPECT_EQ(library.BadChecks(), 0);
    library.SetEventSink(nullptr);
  }
}

}  // namespace
}  // namespace vendrel::device
