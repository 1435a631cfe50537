#include "device/exchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "device/packet_frame.h"
#include "device/results.h"
#include "support/device_rig.h"

namespace vendrel::device {
namespace {

using std::chrono::milliseconds;
using testing::DeviceRig;

// A library thread delivers reports without pause while an exchange thread arms the slot with
// short-lived buffers, waits briefly and leaves. Every reply taken must be whole, and nothing may
// be written into a buffer after its exchange left it (the buffer is freed right after).
TEST(ReplySlotThreading, DeliveriesNeverTouchABufferAfterItsExchangeLeft) {
  ReplySlot slot;
  std::atomic<bool> stop{false};
  std::thread library([&] {
    std::uint8_t value = 1;
    std::vector<std::uint8_t> report(64);
    while (!stop.load()) {
      std::fill(report.begin(), report.end(), value);
      slot.Deliver(report);
      value = static_cast<std::uint8_t>(value % 250 + 1);
    }
  });
  int taken = 0;
  for (int i = 0; i < 2000; ++i) {
    auto buffer = std::make_unique<std::array<std::uint8_t, 64>>();
    const ReplySlot::Ticket t = slot.Arm(*buffer);
    if (slot.Wait(t, milliseconds{1}) == ReplySlot::WaitResult::Signalled) {
      const std::uint32_t n = slot.ReceivedLength(t);
      slot.Disarm(t);
      ASSERT_EQ(n, 64u);
      const std::uint8_t first = (*buffer)[0];
      EXPECT_NE(first, 0);
      // Copies happen whole, under the lock: no mix of two reports.
      EXPECT_TRUE(std::all_of(buffer->begin(), buffer->end(), [&](std::uint8_t b) { return b == first; }));
      ++taken;
    } else {
      slot.Disarm(t);
    }
    buffer.reset();  // ASan reports any later write into it
  }
  stop.store(true);
  library.join();
  EXPECT_GT(taken, 0);
  EXPECT_FALSE(slot.Waiting());
}

// Two threads exchange at once (the main thread and a connection worker). They take the slot from
// each other, so either may end with -2, and how often is up to the scheduler: the ThreadSanitizer
// build of this suite is what finds a race in the hand-over. What this test checks itself: a reply
// that is accepted carries its own command's data, whole, as the keyboard holds it (not the other
// command's, nor a mix), and the exchange still works for both commands once the contest is over.
TEST(ExchangeThreading, ConcurrentExchangesOnlyAcceptRepliesToTheirOwnCommand) {
  DeviceRig rig(1, milliseconds{100});
  const auto area = [&](sim::Area a, std::size_t n) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(a);
      return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n));
    });
  };
  const std::vector<std::uint8_t> info = area(sim::Area::Info, 44);
  const std::vector<std::uint8_t> factory_map = area(sim::Area::DefaultMap, 56);
  const auto expect_own_reply = [](const Packet& reply, std::uint8_t command,
                                   const std::vector<std::uint8_t>& data) {
    EXPECT_EQ(reply[kOffCommand], command);
    EXPECT_EQ(reply[kOffStatus], 0);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), reply.begin() + kOffPayload))
        << "the reply to command " << int(command) << " carries other data";
  };
  auto run = [&](std::uint8_t command, const std::vector<std::uint8_t>* data, int rounds,
                 int* accepted) {
    for (int i = 0; i < rounds; ++i) {
      const Packet request = BuildRequest(command, static_cast<std::uint8_t>(data->size()), 0);
      Packet reply{};
      const DeviceResult result = rig.exchange.Run(request, reply);
      ASSERT_TRUE(result == DeviceResult::Ok || result == DeviceResult::NoReply)
          << ResultCode(result);
      if (result == DeviceResult::Ok) {
        expect_own_reply(reply, command, *data);
        ++*accepted;
      }
    }
  };
  int info_ok = 0;
  int map_ok = 0;
  std::thread worker(run, std::uint8_t{0x03}, &info, 15, &info_ok);
  run(0x0F, &factory_map, 15, &map_ok);
  worker.join();
  EXPECT_FALSE(rig.exchange.Waiting());

  // Nothing of the contest is left behind: alone again, each command gets its reply at once.
  for (const auto& [command, data] : {std::pair{std::uint8_t{0x03}, &info},
                                      std::pair{std::uint8_t{0x0F}, &factory_map}}) {
    const Packet request = BuildRequest(command, static_cast<std::uint8_t>(data->size()), 0);
    Packet reply{};
    ASSERT_EQ(rig.exchange.Run(request, reply), DeviceResult::Ok) << int(command);
    expect_own_reply(reply, command, *data);
  }
}

// Replies delivered three times: the extra copies arrive after their exchange ended, with nobody
// waiting, and must neither be taken as the next exchange's reply nor leave a signal behind.
// (Copies still in flight while the next exchange waits are matched only by command code, which can
// cost that exchange its attempts; the drain keeps this test about the copies nobody waits for.)
TEST(ExchangeThreading, DuplicateRepliesAreHarmless) {
  DeviceRig rig;
  rig.library.SetDuplicateReplies(2);
  for (int i = 0; i < 30; ++i) {
    InfoBlock info{};
    ASSERT_EQ(rig.commands.ReadInformation(info), kOk);
    EXPECT_EQ(info[11], sim::kFactoryMacroUnits);
    rig.library.Drain();
    KeyMapBytes map{};
    ASSERT_EQ(rig.commands.ReadKeyMap(map, 1), kOk);
    EXPECT_EQ(map[0], 0x05);
    rig.library.Drain();
  }
}

// The library thread delivers attach and bank notifications while the main thread exchanges; the
// connection worker exchanges too. Everything shared between them must be synchronised.
TEST(ExchangeThreading, NotificationsAndWorkersRunBesideMainThreadExchanges) {
  DeviceRig rig(0);
  rig.window.SetStartFlagValue(true);
  rig.library.SetAttached(1, true);
  for (int i = 0; i < 10; ++i) {
    rig.library.SendConsumerCode(0x02FF);
    rig.library.SendConsumerCode(i % 2 == 0 ? 0x1811 : 0x1810);
    InfoBlock info{};
    const int result = rig.commands.ReadInformation(info);
    EXPECT_TRUE(result == kOk || result == kNoReply || result == kNoKeyboard) << result;
    (void)rig.units.GBank();
    (void)rig.connection.DefaultKeyMap();
  }
  rig.Settle();
  EXPECT_TRUE(rig.connection.IsConnected());
  EXPECT_EQ(rig.units.GBank(), 0) << "ten bank presses";
  EXPECT_TRUE(rig.indicator.Idle());
}

}  // namespace
}  // namespace vendrel::device
