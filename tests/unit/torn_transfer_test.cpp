// One data packet of a write fails while the link stays up. Nothing more of the data is sent: the
// key maps after a failed packet would land in a transfer already torn, beside a macro image that
// may be half the old one, half the new one, and play the wrong macros. The transfer is still
// closed, the keyboard keeps every byte it acknowledged, and the next write is whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "sim/model/keyboard_model.h"
#include "support/keyboard_under_write.h"

namespace vendrel::store {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Command codes of the design's command table, and the packet sizes of its transfers.
constexpr std::uint8_t kEnd = 0x02;
constexpr std::size_t kChunk = 56;
constexpr std::size_t kKeyMapSize = 378;
constexpr std::size_t kPacketsPerMap = 7;

// A key of every profile and the delay of every action changed: every profile's map and every
// macro chunk past the header differ from what the keyboard held.
void EditEverything(WorkingStore& working) {
  auto lock = working.Lock();
  for (std::size_t k = 0; k < 3; ++k) WriteAssignment(working, k, 0x1F, {keys::AssignmentType::Key, 0, 0x030});
  for (macros::MacroRecord& m : working.macros) {
    for (macros::MacroAction& a : m.actions) a.delay = 20;
  }
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to) {
  return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

struct FailedPacketCase {
  const char* name;
  // The failing packet: a macro chunk (profile < 0) or the first packet of a profile's key map.
  int profile;
  std::size_t chunk;
};

class FailedDataPacket : public ::testing::TestWithParam<FailedPacketCase> {};

TEST_P(FailedDataPacket, EndsTheDataClosesTheTransferAndTheNextWriteIsWhole) {
  const FailedPacketCase& c = GetParam();
  testing::KeyboardUnderWrite torn;
  testing::KeyboardUnderWrite clean;  // the same edit written without a fault
  ASSERT_TRUE(torn.Write().Whole());
  ASSERT_TRUE(clean.Write().Whole());
  const Bytes macros_before = torn.Area(sim::Area::Macro);
  const Bytes maps_before = torn.Area(sim::Area::KeyMap);
  EditEverything(torn.working);
  EditEverything(clean.working);
  ASSERT_TRUE(clean.Write().Whole());
  const Bytes macros_after = clean.Area(sim::Area::Macro);
  const Bytes maps_after = clean.Area(sim::Area::KeyMap);
  const std::size_t image_size = macros_after[2] | macros_after[3] << 8;
  const std::size_t chunks = (image_size + kChunk - 1) / kChunk;
  ASSERT_GT(chunks, c.chunk);

  // Nothing known: the write sends the bracket, every chunk and every map, no read before them.
  torn.rig.commands.MacroMemory().Forget();
  // Packet 1 is the begin; the macro chunks follow, then seven packets per profile.
  const std::size_t failing =
      c.profile < 0 ? 2 + c.chunk : 2 + chunks + kPacketsPerMap * static_cast<std::size_t>(c.profile);
  const std::size_t from = torn.PacketsSent();
  torn.rig.library.RefuseOnlyWrite(static_cast<int>(failing));
  const KeyMapWriteOutcome outcome = torn.Write();
  torn.rig.library.RefuseOnlyWrite(0);

  EXPECT_EQ(outcome.status, KeyMapWrite::Sent);
  EXPECT_EQ(outcome.last_map_result, -1) << "the failed packet's result, not sent";
  // The packets before the failing one went out, and after it only the end of the transfer.
  const std::vector<std::uint8_t> sent = torn.CommandsSentSince(from);
  ASSERT_EQ(sent.size(), failing) << "packets before the failed one, and the end";
  EXPECT_EQ(sent.back(), kEnd);
  EXPECT_FALSE(torn.rig.library.WithModel([](sim::KeyboardModel& m) { return m.InTransfer(); }));

  // The keyboard holds the new bytes up to the failed packet and its old ones from there on.
  const Bytes macros_now = torn.Area(sim::Area::Macro);
  const Bytes maps_now = torn.Area(sim::Area::KeyMap);
  const std::size_t macro_cut = c.profile < 0 ? c.chunk * kChunk : image_size;
  const std::size_t map_cut = c.profile < 0 ? 0 : static_cast<std::size_t>(c.profile) * kKeyMapSize;
  EXPECT_EQ(Slice(macros_now, 0, macro_cut), Slice(macros_after, 0, macro_cut));
  EXPECT_EQ(Slice(macros_now, macro_cut, image_size), Slice(macros_before, macro_cut, image_size));
  if (macro_cut < image_size) {
    ASSERT_NE(Slice(macros_after, macro_cut, image_size), Slice(macros_before, macro_cut, image_size));
  }
  EXPECT_EQ(Slice(maps_now, 0, map_cut), Slice(maps_after, 0, map_cut));
  EXPECT_EQ(Slice(maps_now, map_cut, 3 * kKeyMapSize), Slice(maps_before, map_cut, 3 * kKeyMapSize))
      << "a key map after the failed packet was written";
  ASSERT_NE(Slice(maps_after, map_cut, 3 * kKeyMapSize), Slice(maps_before, map_cut, 3 * kKeyMapSize));

  // The next write takes the keyboard where a write without fault does.
  ASSERT_TRUE(torn.Write().Whole());
  EXPECT_EQ(Slice(torn.Area(sim::Area::Macro), 0, image_size), Slice(macros_after, 0, image_size));
  EXPECT_EQ(torn.Area(sim::Area::KeyMap), maps_after);
}

INSTANTIATE_TEST_SUITE_P(
    Packets, FailedDataPacket,
    ::testing::Values(FailedPacketCase{"SecondMacroChunk", -1, 1},
                      FailedPacketCase{"MiddleMacroChunk", -1, 10},
                      FailedPacketCase{"FirstPacketOfProfile0", 0, 0},
                      FailedPacketCase{"FirstPacketOfProfile1", 1, 0},
                      FailedPacketCase{"FirstPacketOfProfile2", 2, 0}),
    [](const ::testing::TestParamInfo<FailedPacketCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vendrel::store
