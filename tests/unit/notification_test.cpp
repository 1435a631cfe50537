#include "device/device_units.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray_icons.h"
#include "app/window_messages.h"
#include "device/descriptors.h"
#include "device/packet_frame.h"
#include "device/results.h"
#include "support/device_rig.h"

namespace vendrel::device {
namespace {

using testing::DeviceRig;
using app::kIconConnected;
using app::kIconMacroPlaying;

// Delivers everything queued and waits until the workers have handled it.
void Settle(DeviceRig& rig) { rig.Settle(); }

TEST(UnitRegistration, RegistersConsThenCtrlWithValidChecksAndPreviousIds) {
  DeviceRig rig;  // registers once
  rig.units.RegisterUnits();
  const std::vector<std::string> expected{
      "DeleteRequestFromUnitId 0", "RequestAsyncRead CONS",
      "DeleteRequestFromUnitId 0", "RequestAsyncRead CTRL",
      "DeleteRequestFromUnitId 1", "RequestAsyncRead CONS",
      "DeleteRequestFromUnitId 2", "RequestAsyncRead CTRL"};
  EXPECT_EQ(rig.library.Calls(), expected);
  EXPECT_EQ(rig.library.BadChecks(), 0);
}

TEST(UnitRegistration, ClearsAWaitingFlagLeftBehind) {
  DeviceRig rig;
  std::array<std::uint8_t, 64> buffer{};
  rig.exchange.Slot().Arm(buffer);
  ASSERT_TRUE(rig.exchange.Waiting());
  rig.units.RegisterUnits();
  EXPECT_FALSE(rig.exchange.Waiting());
}

TEST(BankKey, TwoPressesReturnKeyboardAndScreenToBankA) {
  DeviceRig rig;
  EXPECT_EQ(rig.units.GBank(), 0);
  EXPECT_EQ(rig.units.BankState(), (std::vector<std::uint8_t>{0x05, 0x02}));

  rig.library.SendConsumerCode(kCodeBankKey);
  Settle(rig);
  EXPECT_EQ(rig.units.GBank(), 1);
  rig.library.WithModel([](sim::KeyboardModel& m) {
    EXPECT_EQ(m.LastBankReport(), (std::vector<std::uint8_t>{0x05, 0x03}));
  });

  rig.library.SendConsumerCode(kCodeBankKey);
  Settle(rig);
  EXPECT_EQ(rig.units.GBank(), 0);
  rig.library.WithModel([](sim::KeyboardModel& m) {
    EXPECT_EQ(m.LastBankReport(), (std::vector<std::uint8_t>{0x05, 0x02}));
  });

  const auto writes = rig.library.StatusWrites();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(rig.library.BadChecks(), 0);
  const auto messages = rig.window.Messages();
  ASSERT_EQ(messages.size(), 2u);
  for (const auto& m : messages) {
    EXPECT_EQ(m.id, app::kMsgLed);
    EXPECT_EQ(m.first, app::kTagLed);
    EXPECT_FALSE(m.sent) << "posted: the main thread may be waiting for a reply";
  }
  // Each write first releases the previous 'LED' unit.
  const auto calls = rig.library.Calls();
  EXPECT_EQ(calls[calls.size() - 2], "DeleteRequestFromUnitId 3");
}

// What each event code on 'CONS' does to the main window. The lighting change reaches the window
// as a posted message, never as a timer started from the library's thread: only the window's own
// thread may start its timers.
struct CodeCase {
  const char* name;
  std::uint16_t code;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> posted;  // message, first parameter
  std::vector<int> icons;
};

class ConsumerCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ConsumerCodes, HaveTheirEffectAndNoOther) {
  const CodeCase& c = GetParam();
  DeviceRig rig;
  rig.library.SendConsumerCode(c.code);
  Settle(rig);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> posted;
  for (const auto& m : rig.window.Messages()) {
    EXPECT_FALSE(m.sent) << "sent from the library's thread";
    posted.emplace_back(m.id, m.first);
  }
  EXPECT_EQ(posted, c.posted);
  EXPECT_EQ(rig.window.TrayIcons(), c.icons);
  EXPECT_TRUE(rig.library.StatusWrites().empty());
  EXPECT_EQ(rig.units.GBank(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ConsumerCodes,
    ::testing::Values(CodeCase{"LightingChanged", 0x0401, {{0x4C47, 0x4C474854}}, {}},
                      CodeCase{"MacroStarted", 0x1811, {}, {142}},
                      CodeCase{"MacroEndedRestoresConnectionIcon", 0x1810, {}, {128}},
                      CodeCase{"Code1801", 0x1801, {}, {}}, CodeCase{"Code1804", 0x1804, {}, {}},
                      CodeCase{"Zero", 0x0000, {}, {}}, CodeCase{"BankKeyHighByteOnly", 0x0002, {}, {}},
                      CodeCase{"Unknown", 0x1234, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MacroIndicator, EndRestoresTheIconOfTheCurrentConnection) {
  DeviceRig rig;
  rig.connection.Changed(1);
  rig.library.SendConsumerCode(kCodeMacroStarted);
  Settle(rig);
  rig.library.SendConsumerCode(kCodeMacroEnded);
  Settle(rig);
  EXPECT_EQ(rig.window.TrayIcons(), (std::vector<int>{kIconConnected, kIconMacroPlaying, kIconConnected}));
  EXPECT_TRUE(rig.indicator.Idle());
}

TEST(Notifications, OneByteConsumerReportIsIgnored) {
  DeviceRig rig;
  rig.library.Deliver(kEventDataArrived, kTagCons, 1, {0xFF});
  Settle(rig);
  EXPECT_TRUE(rig.library.StatusWrites().empty());
  EXPECT_TRUE(rig.window.Messages().empty());
}

TEST(Notifications, ControlReportWithNobodyWaitingIsDropped) {
  DeviceRig rig;
  std::vector<std::uint8_t> stray(64, 0x00);
  stray[0] = 0x04;
  stray[3] = 0x03;
  stray[8 + 11] = 0x01;
  rig.library.Deliver(kEventDataArrived, kTagCtrl, 64, stray);
  Settle(rig);
  EXPECT_FALSE(rig.exchange.Waiting());
  // No signal or data lingers for the next exchange: it gets the keyboard's own reply.
  InfoBlock info{};
  ASSERT_EQ(rig.commands.ReadInformation(info), kOk);
  EXPECT_EQ(info[11], sim::kFactoryMacroUnits);
}

TEST(Notifications, ControlReportCopiesOnlyTheBytesItCounts) {
  DeviceRig rig;
  std::array<std::uint8_t, 64> buffer{};
  const ReplySlot::Ticket t = rig.exchange.Slot().Arm(buffer);
  rig.library.Deliver(kEventDataArrived, kTagCtrl, 5, std::vector<std::uint8_t>(64, 0x44));
  Settle(rig);
  ASSERT_EQ(rig.exchange.Slot().Wait(t, std::chrono::milliseconds{0}),
            ReplySlot::WaitResult::Signalled);
  EXPECT_EQ(rig.exchange.Slot().ReceivedLength(t), 5u);
  EXPECT_EQ(buffer[4], 0x44);
  EXPECT_EQ(buffer[5], 0x00);
  rig.exchange.Slot().Disarm(t);
}

// Attach changes come only from 'CTRL'; anything else is ignored.
struct IgnoredCase {
  const char* name;
  std::uint32_t kind;
  Tag tag;
};

class IgnoredEvents : public ::testing::TestWithParam<IgnoredCase> {};

TEST_P(IgnoredEvents, PostNothingToTheWorkersAndChangeNothing) {
  const IgnoredCase& c = GetParam();
  DeviceRig rig;
  rig.library.Deliver(c.kind, c.tag, 1, sim::ConsumerEventReport(kCodeBankKey));
  Settle(rig);
  EXPECT_EQ(rig.connection_worker.Posted(), 0);
  EXPECT_TRUE(rig.indicator.Idle());
  EXPECT_FALSE(rig.connection.IsConnected());
  EXPECT_EQ(rig.units.GBank(), 0);
  EXPECT_TRUE(rig.window.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Events, IgnoredEvents,
                         ::testing::Values(IgnoredCase{"AttachOnCons", kEventAttachChanged, kTagCons},
                                           IgnoredCase{"KindTwoOnCtrl", 2, kTagCtrl},
                                           IgnoredCase{"KindTwoOnCons", 2, kTagCons}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Notifications, UnknownTagIsIgnored) {
  DeviceRig rig;
  HidEvent event;
  event.kind = kEventAttachChanged;
  event.tag = kTagLed;
  event.count = 1;
  EXPECT_EQ(rig.units.OnHidEvent(event), 1);
  rig.Settle();
  EXPECT_EQ(rig.connection_worker.Posted(), 0);
}

TEST(Notifications, AttachOnCtrlRunsTheConnectionWorker) {
  DeviceRig rig(0);
  rig.window.SetStartFlagValue(true);
  rig.library.SetAttached(1, true);
  Settle(rig);
  EXPECT_EQ(rig.connection_worker.Posted(), 1);
  EXPECT_EQ(rig.connection_worker.Handled(), 1);
  EXPECT_TRUE(rig.connection.IsConnected());
  EXPECT_EQ(rig.connection.MacroSpace(), sim::kFactoryMacroUnits * 128u);
  EXPECT_EQ(rig.window.TrayIcons(), std::vector<int>{kIconConnected});
}

}  // namespace
}  // namespace vendrel::device
