#include "device/exchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device/packet_frame.h"
#include "device/results.h"
#include "support/device_rig.h"

namespace vendrel::device {
namespace {

using std::chrono::milliseconds;
using testing::DeviceRig;

Packet InfoRequest() { return BuildRequest(0x03, 44, 0); }

TEST(Exchange, ReplyEchoingTheCommandIsReturnedWithItsLength) {
  DeviceRig rig;
  Packet reply{};
  std::uint32_t received = 0;
  EXPECT_EQ(rig.exchange.Run(InfoRequest(), reply, &received), DeviceResult::Ok);
  EXPECT_EQ(received, 64u);
  EXPECT_EQ(reply[3], 0x03);
  EXPECT_EQ(reply[8 + 11], sim::kFactoryMacroUnits);
  EXPECT_EQ(rig.library.SentPackets().size(), 1u);
  EXPECT_EQ(rig.library.BadChecks(), 0);
  EXPECT_FALSE(rig.exchange.Waiting());
}

TEST(Exchange, NoKeyboardGivesZeroAtOnceWithoutSendingOrWaiting) {
  DeviceRig rig(/*attached=*/0);
  Packet reply{};
  reply.fill(0x5A);
  EXPECT_EQ(rig.exchange.Run(InfoRequest(), reply), DeviceResult::NoKeyboard);
  EXPECT_TRUE(rig.library.SentPackets().empty());
  EXPECT_TRUE(rig.sleeper.Sleeps().empty());
  EXPECT_EQ(reply[0], 0x5A) << "reply buffer untouched";
}

TEST(Exchange, LibraryRefusingTheWriteGivesMinusOne) {
  DeviceRig rig;
  rig.library.RefuseWritesFrom(1);
  Packet reply{};
  EXPECT_EQ(rig.exchange.Run(InfoRequest(), reply), DeviceResult::NotSent);
  EXPECT_FALSE(rig.exchange.Waiting());
}

// How the exchange ends when the keyboard misbehaves on every attempt, and how many attempts it
// makes before giving up.
struct MisbehaviourCase {
  const char* name;
  sim::Fault fault;
  int faulty_replies;
  DeviceResult result;
  std::size_t packets_sent;
  std::uint8_t final_status;  // status byte of the reply buffer when result is 1
};

class ExchangeMisbehaviour : public ::testing::TestWithParam<MisbehaviourCase> {};

TEST_P(ExchangeMisbehaviour, EndsWithTheRightResultAfterTheRightAttempts) {
  const MisbehaviourCase& c = GetParam();
  // Dropped replies make the exchange wait for real, so keep that wait short here.
  DeviceRig rig(1, c.fault == sim::Fault::Drop ? milliseconds{200} : milliseconds{2000});
  rig.library.WithModel([&](sim::KeyboardModel& m) { m.InjectFault(c.fault, c.faulty_replies); });
  Packet reply{};
  EXPECT_EQ(rig.exchange.Run(InfoRequest(), reply), c.result);
  const auto sent = rig.library.SentPackets();
  EXPECT_EQ(sent.size(), c.packets_sent);
  for (const Packet& p : sent) EXPECT_EQ(p, InfoRequest()) << "every attempt resends the request";
  if (c.result == DeviceResult::Ok) {
    EXPECT_EQ(reply[3], 0x03);
    EXPECT_EQ(reply[7], c.final_status);
  }
  EXPECT_FALSE(rig.exchange.Waiting());
  // Pauses between attempts only, never a take-over.
  for (milliseconds s : rig.sleeper.Sleeps()) EXPECT_EQ(s, rig.exchange.Timings().retry_pause);
  EXPECT_EQ(rig.sleeper.Sleeps().size(), c.packets_sent - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ExchangeMisbehaviour,
    ::testing::Values(
        MisbehaviourCase{"OtherCommandThreeTimes", sim::Fault::WrongCode, 3, DeviceResult::NoReply, 3, 0},
        MisbehaviourCase{"OtherCommandTwiceThenRight", sim::Fault::WrongCode, 2, DeviceResult::Ok, 3, 0x00},
        MisbehaviourCase{"StatusFFThreeTimes", sim::Fault::StatusFF, 3, DeviceResult::Ok, 3, 0xFF},
        MisbehaviourCase{"StatusFEThreeTimes", sim::Fault::StatusFE, 3, DeviceResult::Ok, 3, 0xFE},
        MisbehaviourCase{"StatusFFOnceThenAccepted", sim::Fault::StatusFF, 1, DeviceResult::Ok, 2, 0x00},
        MisbehaviourCase{"NoReplyThreeTimes", sim::Fault::Drop, 3, DeviceResult::NoReply, 3, 0},
        MisbehaviourCase{"NoReplyOnceThenReply", sim::Fault::Drop, 1, DeviceResult::Ok, 2, 0x00}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Exchange, ShortRequestIsPaddedAndLongOneCutTo64Bytes) {
  DeviceRig rig;
  const Packet full = InfoRequest();
  Packet reply{};
  ASSERT_EQ(rig.exchange.Run(std::span<const std::uint8_t>(full).first(10), reply), DeviceResult::Ok);
  std::vector<std::uint8_t> longer(full.begin(), full.end());
  longer.resize(80, 0xCC);
  ASSERT_EQ(rig.exchange.Run(longer, reply), DeviceResult::Ok);
  const auto sent = rig.library.SentPackets();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_TRUE(std::equal(full.begin(), full.begin() + 10, sent[0].begin()));
  EXPECT_TRUE(std::all_of(sent[0].begin() + 10, sent[0].end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(sent[1], full);
}

TEST(Exchange, ReplyIsCutToTheCallersBuffer) {
  DeviceRig rig;
  std::array<std::uint8_t, 20> small{};
  std::uint32_t received = 0;
  EXPECT_EQ(rig.exchange.Run(InfoRequest(), small, &received), DeviceResult::Ok);
  EXPECT_EQ(received, 20u);
  EXPECT_EQ(small[3], 0x03);
  EXPECT_EQ(small[8 + 11], sim::kFactoryMacroUnits);
}

TEST(Exchange, WriteWithoutReplySendsThePacketUnchangedAndLeavesTheSlotAlone) {
  DeviceRig rig;
  const std::vector<std::uint8_t> bytes{0x04, 0x00, 0x00, 0xEE, 0xEE};
  EXPECT_GT(rig.exchange.WriteWithoutReply(bytes), 0);
  const auto sent = rig.library.SentPackets();
  ASSERT_EQ(sent.size(), 1u);
  Packet expected{};
  std::copy(bytes.begin(), bytes.end(), expected.begin());
  EXPECT_EQ(sent[0], expected);
  EXPECT_EQ(rig.library.BadChecks(), 0);
  EXPECT_FALSE(rig.exchange.Waiting());
  rig.library.WithModel([](sim::KeyboardModel& m) { EXPECT_TRUE(m.InBootMode()); });
}

TEST(Exchange, AbandonedSlotIsTakenOverAfterTheTakeOverWait) {
  DeviceRig rig;
  // A report that comes in while nobody waits does not arm anything; an exchange left waiting
  // (simulated by arming the slot from outside) is taken over after the take-over pause.
  ReplySlot& slot = rig.exchange.Slot();
  std::array<std::uint8_t, 64> stale{};
  slot.Arm(stale);
  Packet reply{};
  EXPECT_EQ(rig.exchange.Run(InfoRequest(), reply), DeviceResult::Ok);
  const auto sleeps = rig.sleeper.Sleeps();
  ASSERT_FALSE(sleeps.empty());
  EXPECT_EQ(sleeps.front(), rig.exchange.Timings().take_over);
  EXPECT_TRUE(std::all_of(stale.begin(), stale.end(), [](std::uint8_t b) { return b == 0; }))
      << "the reply went to the exchange that took over, not to the abandoned buffer";
}

TEST(ReplySlot, ReportWithNobodyWaitingIsDropped) {
  ReplySlot slot;
  const std::vector<std::uint8_t> report(64, 0x77);
  EXPECT_FALSE(slot.Deliver(report));
  std::array<std::uint8_t, 64> buffer{};
  const ReplySlot::Ticket t = slot.Arm(buffer);
  EXPECT_EQ(slot.Wait(t, milliseconds{0}), ReplySlot::WaitResult::TimedOut)
      << "the dropped report left no signal behind";
  EXPECT_EQ(buffer[0], 0);
  slot.Disarm(t);
}

TEST(ReplySlot, LateReplyAfterDisarmNeverReachesTheLeftBuffer) {
  ReplySlot slot;
  std::array<std::uint8_t, 64> buffer{};
  const ReplySlot::Ticket t = slot.Arm(buffer);
  EXPECT_EQ(slot.Wait(t, milliseconds{0}), ReplySlot::WaitResult::TimedOut);
  slot.Disarm(t);
  EXPECT_FALSE(slot.Deliver(std::vector<std::uint8_t>(64, 0x99)));
  EXPECT_EQ(buffer[0], 0);
}

TEST(ReplySlot, SignalOfAnEarlierAttemptIsDiscardedByTheNextArm) {
  ReplySlot slot;
  std::array<std::uint8_t, 64> first{};
  std::array<std::uint8_t, 64> second{};
  const ReplySlot::Ticket a = slot.Arm(first);
  ASSERT_TRUE(slot.Deliver(std::vector<std::uint8_t>(64, 0x11)));
  const ReplySlot::Ticket b = slot.Arm(second);  // taken over before the first took its signal
  EXPECT_EQ(slot.Wait(b, milliseconds{0}), ReplySlot::WaitResult::TimedOut);
  EXPECT_EQ(slot.Wait(a, milliseconds{0}), ReplySlot::WaitResult::TimedOut);
  slot.Disarm(a);
  EXPECT_TRUE(slot.Waiting()) << "the overtaken exchange must not clear the newer one's flag";
  ASSERT_TRUE(slot.Deliver(std::vector<std::uint8_t>(10, 0x22)));
  EXPECT_EQ(slot.Wait(b, milliseconds{0}), ReplySlot::WaitResult::Signalled);
  EXPECT_EQ(slot.ReceivedLength(b), 10u);
  EXPECT_EQ(second[9], 0x22);
  EXPECT_EQ(second[10], 0);
  slot.Disarm(b);
  EXPECT_FALSE(slot.Waiting());
}

TEST(ReplySlot, SignalIsConsumedByOneWait) {
  ReplySlot slot;
  std::array<std::uint8_t, 64> buffer{};
  const ReplySlot::Ticket t = slot.Arm(buffer);
  ASSERT_TRUE(slot.Deliver(std::vector<std::uint8_t>(64, 0x01)));
  EXPECT_EQ(slot.Wait(t, milliseconds{0}), ReplySlot::WaitResult::Signalled);
  EXPECT_EQ(slot.Wait(t, milliseconds{0}), ReplySlot::WaitResult::TimedOut);
  slot.Disarm(t);
}

}  // namespace
}  // namespace vendrel::device
