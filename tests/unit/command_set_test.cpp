#include "device/command_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

#include "device/packet_frame.h"
#include "device/results.h"
#include "keys/default_key_map.h"
#include "support/device_rig.h"

namespace vendrel::device {
namespace {

using std::chrono::milliseconds;
using testing::DeviceRig;

struct Sent {
  std::uint8_t code;
  std::uint8_t length;
  std::uint16_t address;
  bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Sent& s) {
  return os << "{code " << int(s.code) << ", length " << int(s.length) << ", address "
            << s.address << "}";
}

std::vector<Sent> Frames(const DeviceRig& rig) {
  std::vector<Sent> out;
  for (const Packet& p : rig.library.SentPackets()) {
    out.push_back({PacketCommand(p), PacketLength(p), PacketAddress(p)});
  }
  return out;
}

std::vector<Sent> Chunks(std::uint8_t code, std::uint16_t base, std::size_t total) {
  std::vector<Sent> out;
  for (std::size_t off = 0; off < total; off += 56) {
    out.push_back({code, static_cast<std::uint8_t>(std::min<std::size_t>(56, total - off)),
                   static_cast<std::uint16_t>(base + off)});
  }
  return out;
}

// Which packets each builder sends: codes, lengths, addresses, and how transfers are cut.
struct FramingCase {
  const char* name;
  std::function<int(CommandSet&)> call;
  std::vector<Sent> expected;
};

class CommandFraming : public ::testing::TestWithParam<FramingCase> {};

TEST_P(CommandFraming, SendsExactlyTheseFrames) {
  const FramingCase& c = GetParam();
  DeviceRig rig;
  EXPECT_EQ(c.call(rig.commands), kOk);
  EXPECT_EQ(Frames(rig), c.expected);
  EXPECT_EQ(rig.library.BadChecks(), 0);
  for (const Packet& p : rig.library.SentPackets()) {
    EXPECT_EQ(PacketChecksum(p), static_cast<std::uint16_t>(p[1] | (p[2] << 8)));
  }
}

KeyMapBytes g_map{};
std::array<std::uint8_t, 4096> g_buffer{};
std::array<std::uint8_t, 56> g_lighting{};
InfoBlock g_info{};

INSTANTIATE_TEST_SUITE_P(
    Builders, CommandFraming,
    ::testing::Values(
        FramingCase{"Begin", [](CommandSet& c) { return c.BeginTransfer(); }, {{0x01, 0, 0}}},
        FramingCase{"End", [](CommandSet& c) { return c.EndTransfer(); }, {{0x02, 0, 0}}},
        FramingCase{"ReadInformation", [](CommandSet& c) { return c.ReadInformation(g_info); },
                    {{0x03, 44, 0}}},
        FramingCase{"WriteInformation",
                    [](CommandSet& c) {
                      InfoBlock b{};
                      c.ReadInformation(b);
                      return c.WriteInformation(b);
                    },
                    {{0x03, 44, 0}, {0x04, 44, 0}}},
        FramingCase{"ReadLightingLastBlock",
                    [](CommandSet& c) { return c.ReadLightingArea(g_lighting, 56, 84); },
                    {{0x05, 56, 84}}},
        FramingCase{"WriteLightingEmpty",
                    [](CommandSet& c) { return c.WriteLightingArea({}, 0, 85); },
                    {{0x06, 0, 85}}},
        FramingCase{"ReadKeyMapProfile2StartsAt756",
                    [](CommandSet& c) { return c.ReadKeyMap(g_map, 2); },
                    Chunks(0x07, 756, 378)},
        FramingCase{"WriteKeyMapProfile0",
                    [](CommandSet& c) {
                      return c.WriteKeyMap(keys::kDefaultKeyMap, 0);
                    },
                    Chunks(0x08, 0, 378)},
        FramingCase{"ReadDefaultKeyMap", [](CommandSet& c) { return c.ReadDefaultKeyMap(g_map); },
                    Chunks(0x0F, 0, 378)},
        FramingCase{"ReadMacro100Bytes",
                    [](CommandSet& c) { return c.ReadMacroArea(g_buffer, 100); },
                    {{0x09, 56, 0}, {0x09, 44, 56}}},
        FramingCase{"WriteMacroExactlyOnePacket",
                    [](CommandSet& c) { return c.WriteMacroArea(g_buffer, 56); },
                    {{0x0A, 56, 0}}},
        FramingCase{"WriteMacro4000Bytes",
                    [](CommandSet& c) { return c.WriteMacroArea(g_buffer, 4000); },
                    Chunks(0x0A, 0, 4000)},
        FramingCase{"ReadMacroCountZeroSendsNothing",
                    [](CommandSet& c) { return c.ReadMacroArea(g_buffer, 0); }, {}},
        FramingCase{"ColoursLed110Profile1At842",
                    [](CommandSet& c) {
                      const std::uint8_t rgb[3] = {1, 2, 3};
                      return c.WritePerKeyColours(1, rgb, 3, 110);
                    },
                    {{0x11, 3, 842}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandSet, LastKeyMapPacketOfProfile2Carries42BytesAt1092) {
  DeviceRig rig;
  ASSERT_EQ(rig.commands.WriteKeyMap(keys::kDefaultKeyMap, 2), kOk);
  const auto sent = rig.library.SentPackets();
  ASSERT_EQ(sent.size(), 7u);
  EXPECT_EQ(sent.back()[5], 0x44);
  EXPECT_EQ(sent.back()[6], 0x04);
  EXPECT_EQ(sent.back()[4], 42);
  EXPECT_TRUE(std::equal(keys::kDefaultKeyMap.begin() + 336, keys::kDefaultKeyMap.end(),
                         sent.back().begin() + 8));
  EXPECT_EQ(sent.back()[8 + 42], 0) << "payload beyond the data is zero";
}

TEST(CommandSet, EndTransferPausesBeforeSending) {
  DeviceRig rig;
  ASSERT_EQ(rig.commands.EndTransfer(), kOk);
  const auto sleeps = rig.sleeper.Sleeps();
  ASSERT_EQ(sleeps.size(), 1u);
  EXPECT_EQ(sleeps[0], rig.exchange.Timings().end_transfer_pause);
}

// Arguments out of range are refused before anything is sent.
struct RangeCase {
  const char* name;
  std::function<int(CommandSet&)> call;
};

class CommandRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(CommandRange, RefusedWithMinus201AndNothingSent) {
  DeviceRig rig;
  EXPECT_EQ(GetParam().call(rig.commands), kOutOfRange);
  EXPECT_TRUE(rig.library.SentPackets().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandRange,
    ::testing::Values(
        RangeCase{"WriteKeyMapProfile3",
                  [](CommandSet& c) { return c.WriteKeyMap(keys::kDefaultKeyMap, 3); }},
        RangeCase{"ReadKeyMapNegativeProfile", [](CommandSet& c) { return c.ReadKeyMap(g_map, -1); }},
        RangeCase{"ReadMacroBeyondBuffer",
                  [](CommandSet& c) {
                    std::array<std::uint8_t, 10> small{};
                    return c.ReadMacroArea(small, 11);
                  }},
        RangeCase{"WriteMacroBeyondSource",
                  [](CommandSet& c) {
                    return c.WriteMacroArea(std::span<const std::uint8_t>(g_buffer).first(8), 9);
                  }},
        RangeCase{"WriteMacroBeyondAddressRange",
                  [](CommandSet& c) {
                    std::vector<std::uint8_t> big(0x10001);
                    return c.WriteMacroArea(big, 0x10001);
                  }},
        RangeCase{"LightingWriteOver56",
                  [](CommandSet& c) {
                    std::array<std::uint8_t, 57> src{};
                    return c.WriteLightingArea(src, 57, 0);
                  }},
        RangeCase{"LightingWriteBeyondSource",
                  [](CommandSet& c) {
                    std::array<std::uint8_t, 2> src{};
                    return c.WriteLightingArea(src, 3, 0);
                  }},
        RangeCase{"ColoursProfile3",
                  [](CommandSet& c) {
                    const std::uint8_t rgb[3] = {};
                    return c.WritePerKeyColours(3, rgb, 3, 0);
                  }},
        RangeCase{"ColoursNegativeLed",
                  [](CommandSet& c) {
                    const std::uint8_t rgb[3] = {};
                    return c.WritePerKeyColours(0, rgb, 3, -1);
                  }},
        RangeCase{"SetActiveProfileNegative", [](CommandSet& c) { return c.SetActiveProfile(-1); }},
        RangeCase{"SetActiveProfile3", [](CommandSet& c) { return c.SetActiveProfile(3); }}),
    [](const auto& info) { return std::string(info.param.name); });

// How a failed exchange or a refusal shows in a builder's result.
struct FailureCase {
  const char* name;
  int attached;
  sim::Fault fault;
  int result;
};

class CommandFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CommandFailure, BuilderReportsIt) {
  const FailureCase& c = GetParam();
  DeviceRig rig(c.attached, c.fault == sim::Fault::Drop ? milliseconds{200} : milliseconds{2000});
  rig.library.WithModel([&](sim::KeyboardModel& m) { m.InjectFault(c.fault, 3); });
  InfoBlock info{};
  info.fill(0x5A);
  EXPECT_EQ(rig.commands.ReadInformation(info), c.result);
  EXPECT_EQ(info[0], 0x5A) << "a failed read copies nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Results, CommandFailure,
    ::testing::Values(FailureCase{"NoKeyboard", 0, sim::Fault::None, kNoKeyboard},
                      FailureCase{"StatusFF", 1, sim::Fault::StatusFF, kRefusedFF},
                      FailureCase{"StatusFE", 1, sim::Fault::StatusFE, kRefusedFE},
                      FailureCase{"OtherCommand", 1, sim::Fault::WrongCode, kNoReply},
                      FailureCase{"NoReply", 1, sim::Fault::Drop, kNoReply}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandSet, KeyMapWriteThenReadRoundTripsThroughTheKeyboard) {
  DeviceRig rig;
  KeyMapBytes map{};
  std::iota(map.begin(), map.end(), std::uint8_t{7});
  ASSERT_EQ(rig.commands.WriteKeyMap(map, 1), kOk);
  KeyMapBytes back{};
  ASSERT_EQ(rig.commands.ReadKeyMap(back, 1), kOk);
  EXPECT_EQ(back, map);
  KeyMapBytes other{};
  ASSERT_EQ(rig.commands.ReadKeyMap(other, 0), kOk);
  EXPECT_TRUE(std::equal(other.begin(), other.end(), keys::kDefaultKeyMap.begin()));
}

TEST(CommandSet, MacroWriteThenReadRoundTrips) {
  DeviceRig rig;
  std::vector<std::uint8_t> image(1000);
  std::iota(image.begin(), image.end(), std::uint8_t{1});
  ASSERT_EQ(rig.commands.WriteMacroArea(image, 1000), kOk);
  std::vector<std::uint8_t> back(1000, 0);
  ASSERT_EQ(rig.commands.ReadMacroArea(back, 1000), kOk);
  EXPECT_EQ(back, image);
}

TEST(CommandSet, FirstFailingPacketEndsTheTransferAndWrittenBytesStay) {
  DeviceRig rig;
  rig.library.RefuseWritesFrom(3);
  KeyMapBytes map{};
  map.fill(0x66);
  EXPECT_EQ(rig.commands.WriteKeyMap(map, 0), kNotSent);
  EXPECT_EQ(rig.library.SentPackets().size(), 2u);
  rig.library.WithModel([](sim::KeyboardModel& m) {
    const auto maps = m.AreaBytes(sim::Area::KeyMap);
    EXPECT_EQ(maps[111], 0x66);
    EXPECT_EQ(maps[112], keys::kDefaultKeyMap[112]);
  });
}

TEST(CommandSet, ReadWhoseLaterPacketFailsLeavesDestinationPartlyFilled) {
  DeviceRig rig;
  rig.library.RefuseWritesFrom(2);
  std::vector<std::uint8_t> dest(100, 0x33);
  EXPECT_EQ(rig.commands.ReadMacroArea(dest, 100), kNotSent);
  EXPECT_EQ(dest[0], sim::kErasedByte);
  EXPECT_EQ(dest[56], 0x33);
}

TEST(CommandSet, LightingReadCopies56BytesWhateverTheLength) {
  DeviceRig rig;
  std::array<std::uint8_t, 56> dest{};
  ASSERT_EQ(rig.commands.ReadLightingArea(dest, 1, 42), kOk);
  std::vector<std::uint8_t> expected;
  rig.library.WithModel([&](sim::KeyboardModel& m) {
    const auto area = m.AreaBytes(sim::Area::Lighting);
    expected.assign(area.begin() + 42, area.begin() + 98);
  });
  EXPECT_EQ(std::vector<std::uint8_t>(dest.begin(), dest.end()), expected);
  EXPECT_EQ(dest[0], 18);
}

TEST(CommandSet, EnterUpdateModeSendsTheBootPacketOnceWithoutWaiting) {
  DeviceRig rig;
  EXPECT_EQ(rig.commands.EnterUpdateMode(), kOk);
  const auto sent = rig.library.SentPackets();
  ASSERT_EQ(sent.size(), 1u);
  Packet expected{};
  expected[0] = 0x04;
  expected[3] = 0xEE;
  expected[4] = 0xEE;
  EXPECT_EQ(sent[0], expected);
  EXPECT_FALSE(rig.exchange.Waiting());
  rig.library.WithModel([](sim::KeyboardModel& m) { EXPECT_TRUE(m.InBootMode()); });
}

TEST(CommandSet, EnterUpdateModeReportsARefusedWrite) {
  DeviceRig rig;
  rig.library.RefuseWritesFrom(1);
  EXPECT_LE(rig.commands.EnterUpdateMode(), 0);
}

TEST(ActiveProfileCache, ReadOnceThenServedFromTheCache) {
  DeviceRig rig;
  rig.library.WithModel([](sim::KeyboardModel& m) {
    ASSERT_TRUE(m.WriteArea(sim::Area::Info, 10, std::vector<std::uint8_t>{2}));
  });
  EXPECT_EQ(rig.commands.CachedActiveProfile(), -1);
  EXPECT_EQ(rig.commands.GetActiveProfile(), 2);
  EXPECT_EQ(rig.commands.GetActiveProfile(), 2);
  EXPECT_EQ(rig.library.SentPackets().size(), 1u);
  rig.commands.ForgetActiveProfile();
  EXPECT_EQ(rig.commands.GetActiveProfile(), 2);
  EXPECT_EQ(rig.library.SentPackets().size(), 2u);
}

TEST(ActiveProfileCache, UnreadableKeyboardGivesMinusOneAndKeepsTheCacheEmpty) {
  DeviceRig rig(0);
  EXPECT_EQ(rig.commands.GetActiveProfile(), -1);
  EXPECT_EQ(rig.commands.CachedActiveProfile(), -1);
  rig.library.SetAttached(1, false);
  EXPECT_EQ(rig.commands.GetActiveProfile(), 0);
}

TEST(ActiveProfileCache, SetWritesByte10AndKeepsTheRestOfTheBlock) {
  DeviceRig rig;
  EXPECT_EQ(rig.commands.SetActiveProfile(1), kOk);
  EXPECT_EQ(rig.commands.CachedActiveProfile(), 1);
  const auto sent = rig.library.SentPackets();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1][3], 0x04);
  EXPECT_EQ(sent[1][8 + 10], 1);
  EXPECT_EQ(sent[1][8 + 11], sim::kFactoryMacroUnits) << "the block read is written back whole";
  rig.library.WithModel([](sim::KeyboardModel& m) { EXPECT_EQ(m.AreaBytes(sim::Area::Info)[10], 1); });
  EXPECT_EQ(rig.commands.GetActiveProfile(), 1);
  EXPECT_EQ(rig.library.SentPackets().size(), 2u) << "served from the cache";
}

TEST(ActiveProfileCache, FailedWriteEmptiesTheCacheAndFailedReadSendsNothingMore) {
  DeviceRig rig;
  ASSERT_EQ(rig.commands.GetActiveProfile(), 0);
  rig.library.RefuseWritesFrom(2);  // the read goes out, the write does not
  EXPECT_EQ(rig.commands.SetActiveProfile(2), kNotSent);
  EXPECT_EQ(rig.commands.CachedActiveProfile(), -1);

  rig.library.RefuseWritesFrom(0);
  ASSERT_EQ(rig.commands.GetActiveProfile(), 0);
  rig.library.SetAttached(0, false);
  const std::size_t before = rig.library.SentPackets().size();
  EXPECT_EQ(rig.commands.SetActiveProfile(2), kNoKeyboard);
  EXPECT_EQ(rig.library.SentPackets().size(), before);
  EXPECT_EQ(rig.commands.CachedActiveProfile(), 0) << "a failed read leaves the cache alone";
}

}  // namespace
}  // namespace vendrel::device
