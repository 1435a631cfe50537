#include "sim/model/keyboard_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device/packet_frame.h"
#include "keys/default_key_map.h"

namespace vendrel::sim {
namespace {

using device::BuildRequest;

Packet Request(std::uint8_t command, std::uint8_t length, std::uint16_t address,
               std::vector<std::uint8_t> payload = {}) {
  return BuildRequest(command, length, address, payload);
}

std::vector<std::uint8_t> Bytes(std::span<const std::uint8_t> s, std::size_t offset,
                                std::size_t n) {
  return {s.begin() + static_cast<std::ptrdiff_t>(offset),
          s.begin() + static_cast<std::ptrdiff_t>(offset + n)};
}

TEST(KeyboardModelFactory, InformationBlockHasProfile0MacroSpaceAndModeList) {
  const KeyboardModel m;
  const auto info = m.AreaBytes(Area::Info);
  ASSERT_EQ(info.size(), kInfoSize);
  EXPECT_EQ(info[10], 0);
  EXPECT_EQ(info[11], kFactoryMacroUnits);
  // Several thousand 8-byte actions fit.
  EXPECT_GE(info[11] * kMacroUnit / 8, 3000u);
  const std::vector<std::uint8_t> modes{1, 2,  3,  4,  5,  6,  7,  8,  9,  10,
                                        11, 12, 13, 14, 15, 16, 17, 18, 20};
  std::vector<std::uint8_t> expected_list = modes;
  expected_list.resize(32, 0);
  EXPECT_EQ(Bytes(info, 12, 32), expected_list);
  EXPECT_EQ(m.AreaBytes(Area::Macro).size(), info[11] * kMacroUnit);
}

TEST(KeyboardModelFactory, EveryKeyMapEqualsTheBuiltInFactoryMap) {
  const KeyboardModel m;
  const auto factory = m.AreaBytes(Area::DefaultMap);
  ASSERT_TRUE(std::equal(factory.begin(), factory.end(), keys::kDefaultKeyMap.begin(),
                         keys::kDefaultKeyMap.end()));
  const auto maps = m.AreaBytes(Area::KeyMap);
  ASSERT_EQ(maps.size(), 3 * kKeyMapSize);
  for (int p = 0; p < 3; ++p) {
    EXPECT_TRUE(std::equal(keys::kDefaultKeyMap.begin(), keys::kDefaultKeyMap.end(),
                           maps.begin() + p * static_cast<std::ptrdiff_t>(kKeyMapSize)))
        << "profile " << p;
  }
}

TEST(KeyboardModelFactory, MacroMemoryHoldsNoImageAndColoursAreZero) {
  const KeyboardModel m;
  const auto macro = m.AreaBytes(Area::Macro);
  EXPECT_FALSE(macro[0] == 0xAA && macro[1] == 0x55);
  const auto colours = m.AreaBytes(Area::Colours);
  EXPECT_EQ(colours.size(), 3 * kColoursPerProfile);
  EXPECT_TRUE(std::all_of(colours.begin(), colours.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(KeyboardModelFactory, EachLightingBlockIsTheRestoreDefault) {
  const KeyboardModel m;
  const auto light = m.AreaBytes(Area::Lighting);
  std::vector<std::uint8_t> block{18, 5, 3, 0x00, 0xFF, 0xFF, 0x00, 0x00, 8};
  block.resize(kLightingBlockSize, 0);
  for (std::size_t p = 0; p < 3; ++p) {
    EXPECT_EQ(Bytes(light, p * kLightingBlockSize, kLightingBlockSize), block) << "profile " << p;
  }
}

// Cells of the built-in factory map, by column and row: the table is positional, so a slip of
// one entry shifts every key after it.
struct MapCell {
  int column;
  int row;
  std::uint8_t kind, sub, value;
};

class FactoryKeyMapCells : public ::testing::TestWithParam<MapCell> {};

TEST_P(FactoryKeyMapCells, HoldTheirEntry) {
  const MapCell& c = GetParam();
  const std::size_t at = static_cast<std::size_t>(c.column * 8 + c.row) * 3;
  EXPECT_EQ(keys::kDefaultKeyMap[at], c.kind);
  EXPECT_EQ(keys::kDefaultKeyMap[at + 1], c.sub);
  EXPECT_EQ(keys::kDefaultKeyMap[at + 2], c.value);
}

INSTANTIATE_TEST_SUITE_P(Cells, FactoryKeyMapCells,
                         ::testing::Values(MapCell{0, 0, 0x05, 0x00, 0x00}, MapCell{0, 6, 0, 0, 0},
                                           MapCell{1, 4, 0x02, 0x01, 0x02}, MapCell{2, 3, 0x02, 0x02, 0x04},
                                           MapCell{6, 5, 0x05, 0x02, 0x02}, MapCell{6, 6, 0x02, 0x02, 0x2E},
                                           MapCell{12, 4, 0x02, 0x01, 0x20}, MapCell{13, 1, 0x02, 0x02, 0x2E},
                                           MapCell{14, 0, 0x03, 0xB6, 0x00}, MapCell{14, 7, 0, 0, 0},
                                           MapCell{15, 0, 0x03, 0xCD, 0x00}, MapCell{15, 5, 0x02, 0x02, 0x63}));

// Commands answered in the frame: echoed code, status, and for reads the area's bytes.
struct AnswerCase {
  const char* name;
  std::uint8_t command;
  std::uint8_t length;
  std::uint16_t address;
  std::uint8_t status;
};

class KeyboardModelAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(KeyboardModelAnswers, EchoesCommandAndSetsStatus) {
  const AnswerCase& c = GetParam();
  KeyboardModel m;
  const std::vector<std::uint8_t> payload(c.length <= 56 ? c.length : 56, 0x01);
  const auto reply = m.HandleControlPacket(Request(c.command, c.length, c.address, payload));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[0], device::kReportNumber);
  EXPECT_EQ((*reply)[3], c.command);
  EXPECT_EQ((*reply)[7], c.status);
  EXPECT_EQ(device::PacketChecksum(*reply),
            static_cast<std::uint16_t>((*reply)[1] | ((*reply)[2] << 8)));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, KeyboardModelAnswers,
    ::testing::Values(
        AnswerCase{"Begin", 0x01, 0, 0, 0x00}, AnswerCase{"End", 0x02, 0, 0, 0x00},
        AnswerCase{"ReadInfo", 0x03, 44, 0, 0x00},
        AnswerCase{"ReadInfoPastEnd", 0x03, 44, 1, 0xFF},
        AnswerCase{"ReadLightingLastBlock", 0x05, 56, 84, 0x00},
        AnswerCase{"ReadLightingOutside", 0x05, 56, 250, 0xFF},
        AnswerCase{"WriteLighting", 0x06, 1, 85, 0x00},
        AnswerCase{"ReadKeyMapLastChunk", 0x07, 42, 1092, 0x00},
        AnswerCase{"ReadKeyMapPastEnd", 0x07, 43, 1092, 0xFF},
        AnswerCase{"WriteKeyMapPastEnd", 0x08, 56, 1130, 0xFF},
        AnswerCase{"ReadMacroLastBytes", 0x09, 56, 0xF0 * 128 - 56, 0x00},
        AnswerCase{"ReadMacroPastSpace", 0x09, 56, 0xF0 * 128 - 55, 0xFF},
        AnswerCase{"WriteMacro", 0x0A, 56, 0, 0x00},
        AnswerCase{"ReadDefaultMap", 0x0F, 42, 336, 0x00},
        AnswerCase{"ReadDefaultMapPastEnd", 0x0F, 56, 336, 0xFF},
        AnswerCase{"WriteColoursLed110Profile1", 0x11, 3, 842, 0x00},
        AnswerCase{"WriteColoursPastEnd", 0x11, 54, 1500, 0xFF},
        AnswerCase{"LengthOverPayload", 0x09, 57, 0, 0xFF},
        AnswerCase{"UnknownCommand", 0x33, 0, 0, 0xFF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardModelCommands, ReadsReturnAreaBytesAtTheAddress) {
  KeyboardModel m;
  const auto reply = m.HandleControlPacket(Request(0x0F, 42, 336));
  ASSERT_TRUE(reply);
  EXPECT_EQ(Bytes(*reply, 8, 42), Bytes(keys::kDefaultKeyMap, 336, 42));
  EXPECT_EQ((*reply)[8 + 42], 0) << "bytes beyond the length stay 0";

  const auto info = m.HandleControlPacket(Request(0x03, 44, 0));
  ASSERT_TRUE(info);
  EXPECT_EQ(Bytes(*info, 8, 44), Bytes(m.AreaBytes(Area::Info), 0, 44));
}

TEST(KeyboardModelCommands, LightingReadAlwaysCarries56Bytes) {
  KeyboardModel m;
  const auto reply = m.HandleControlPacket(Request(0x05, 1, 42));
  ASSERT_TRUE(reply);
  EXPECT_EQ(Bytes(*reply, 8, 56), Bytes(m.AreaBytes(Area::Lighting), 42, 56));
}

TEST(KeyboardModelCommands, WritesLandAtTheAddressAndNowhereElse) {
  KeyboardModel m;
  const std::vector<std::uint8_t> chunk{0x05, 0x01, 0x07};
  const std::uint64_t before = m.Generation();
  const auto reply = m.HandleControlPacket(Request(0x08, 3, 378 + 9, chunk));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], 0);
  const auto maps = m.AreaBytes(Area::KeyMap);
  EXPECT_EQ(Bytes(maps, 387, 3), chunk);
  std::vector<std::uint8_t> expected(keys::kDefaultKeyMap.begin(), keys::kDefaultKeyMap.end());
  EXPECT_EQ(Bytes(maps, 0, 378), expected) << "profile 0 untouched";
  EXPECT_EQ(Bytes(maps, 378 + 12, 3), Bytes(keys::kDefaultKeyMap, 12, 3));
  EXPECT_GT(m.Generation(), before);
}

TEST(KeyboardModelCommands, RefusedWriteChangesNothing) {
  KeyboardModel m;
  const std::vector<std::uint8_t> before(m.AreaBytes(Area::Colours).begin(),
                                         m.AreaBytes(Area::Colours).end());
  const std::vector<std::uint8_t> data(54, 0x77);
  const auto reply = m.HandleControlPacket(Request(0x11, 54, 1500, data));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], 0xFF);
  EXPECT_EQ(Bytes(m.AreaBytes(Area::Colours), 0, before.size()), before);
}

TEST(KeyboardModelCommands, WriteInformationChangesOnlyTheActiveProfile) {
  KeyboardModel m;
  std::vector<std::uint8_t> block(m.AreaBytes(Area::Info).begin(), m.AreaBytes(Area::Info).end());
  block[10] = 2;
  block[11] = 1;   // macro space is the firmware's
  block[12] = 99;  // so is the mode list
  const auto reply = m.HandleControlPacket(Request(0x04, 44, 0, block));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], 0);
  EXPECT_EQ(m.AreaBytes(Area::Info)[10], 2);
  EXPECT_EQ(m.AreaBytes(Area::Info)[11], kFactoryMacroUnits);
  EXPECT_EQ(m.AreaBytes(Area::Info)[12], 1);

  block[10] = 3;
  const auto refused = m.HandleControlPacket(Request(0x04, 44, 0, block));
  ASSERT_TRUE(refused);
  EXPECT_EQ((*refused)[7], 0xFF);
  EXPECT_EQ(m.AreaBytes(Area::Info)[10], 2);
}

TEST(KeyboardModelCommands, BadChecksumIsRefusedWithFE) {
  KeyboardModel m;
  Packet p = Request(0x0A, 2, 0, {0xAA, 0x55});
  p[1] ^= 0x01;
  const auto reply = m.HandleControlPacket(p);
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], 0xFE);
  EXPECT_NE(m.AreaBytes(Area::Macro)[0], 0xAA);
}

TEST(KeyboardModelCommands, TransferBracketIsTracked) {
  KeyboardModel m;
  EXPECT_FALSE(m.InTransfer());
  m.HandleControlPacket(Request(0x01, 0, 0));
  EXPECT_TRUE(m.InTransfer());
  m.HandleControlPacket(Request(0x02, 0, 0));
  EXPECT_FALSE(m.InTransfer());
}

TEST(KeyboardModelCommands, BootPacketEntersBootModeWithoutReplyAndSilencesTheKeyboard) {
  KeyboardModel m;
  Packet boot{};
  boot[0] = 0x04;
  boot[3] = 0xEE;
  boot[4] = 0xEE;
  EXPECT_FALSE(m.HandleControlPacket(boot).has_value());
  EXPECT_TRUE(m.InBootMode());
  EXPECT_FALSE(m.HandleControlPacket(Request(0x03, 44, 0)).has_value());
  m.LeaveBootMode();
  EXPECT_FALSE(m.InBootMode());
  EXPECT_TRUE(m.HandleControlPacket(Request(0x03, 44, 0)).has_value());
}

TEST(KeyboardModelCommands, PacketWithAnotherReportNumberIsIgnored) {
  KeyboardModel m;
  Packet p = Request(0x03, 44, 0);
  p[0] = 0x05;
  EXPECT_FALSE(m.HandleControlPacket(p).has_value());
}

// Injected faults affect exactly the next N requests.
struct FaultCase {
  const char* name;
  Fault fault;
  bool replies;
  std::uint8_t code_xor;
  std::uint8_t status;
};

class KeyboardModelFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(KeyboardModelFaults, AffectTheNextRequestsOnly) {
  const FaultCase& c = GetParam();
  KeyboardModel m;
  m.InjectFault(c.fault, 2);
  const std::vector<std::uint8_t> data{0x11};
  for (int i = 0; i < 2; ++i) {
    const auto reply = m.HandleControlPacket(Request(0x06, 1, 0, data));
    ASSERT_EQ(reply.has_value(), c.replies);
    if (reply) {
      EXPECT_EQ((*reply)[3], 0x06 ^ c.code_xor);
      EXPECT_EQ((*reply)[7], c.status);
    }
  }
  EXPECT_EQ(m.AreaBytes(Area::Lighting)[0], 18) << "a faulted request does not take effect";
  const auto normal = m.HandleControlPacket(Request(0x06, 1, 0, data));
  ASSERT_TRUE(normal);
  EXPECT_EQ((*normal)[3], 0x06);
  EXPECT_EQ((*normal)[7], 0);
  EXPECT_EQ(m.AreaBytes(Area::Lighting)[0], 0x11);
}

INSTANTIATE_TEST_SUITE_P(Faults, KeyboardModelFaults,
                         ::testing::Values(FaultCase{"Drop", Fault::Drop, false, 0, 0},
                                           FaultCase{"WrongCode", Fault::WrongCode, true, 0x80, 0},
                                           FaultCase{"StatusFF", Fault::StatusFF, true, 0, 0xFF},
                                           FaultCase{"StatusFE", Fault::StatusFE, true, 0, 0xFE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardModelMemory, WriteAreaRefusesRangesOutsideTheArea) {
  KeyboardModel m;
  const std::vector<std::uint8_t> two{1, 2};
  EXPECT_TRUE(m.WriteArea(Area::Info, 42, two));
  EXPECT_FALSE(m.WriteArea(Area::Info, 43, two));
  EXPECT_FALSE(m.WriteArea(Area::Info, static_cast<std::size_t>(-1), two));
  EXPECT_EQ(m.AreaBytes(Area::Info)[43], 2);
}

TEST(KeyboardModelMemory, MacroAreaFollowsTheInformationBlocksMacroSpace) {
  KeyboardModel m;
  const std::vector<std::uint8_t> units{2};
  ASSERT_TRUE(m.WriteArea(Area::Info, 11, units));
  EXPECT_EQ(m.AreaBytes(Area::Macro).size(), 256u);
  const auto reply = m.HandleControlPacket(Request(0x09, 56, 256 - 55));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], 0xFF);
}

TEST(KeyboardModelNotifications, EventsCarryTheirCodesLittleEndian) {
  KeyboardModel m;
  EXPECT_EQ(m.PressBankKey().code, kEventBankKey);
  EXPECT_EQ(m.StartMacro().code, kEventMacroStarted);
  EXPECT_TRUE(m.MacroPlaying());
  EXPECT_EQ(m.EndMacro().code, kEventMacroEnded);
  EXPECT_FALSE(m.MacroPlaying());
  EXPECT_EQ(ConsumerEventReport(0x02FF), (std::vector<std::uint8_t>{0xFF, 0x02}));
}

TEST(KeyboardModelNotifications, LightingChangeOnKeyboardStepsToTheNextListedMode) {
  KeyboardModel m;
  const std::vector<std::uint8_t> profile{1};
  ASSERT_TRUE(m.WriteArea(Area::Info, 10, profile));
  EXPECT_EQ(m.ChangeLightingOnKeyboard().code, kEventLightingChanged);
  EXPECT_EQ(m.AreaBytes(Area::Lighting)[42], 20) << "18 is followed by 20 in the list";
  m.ChangeLightingOnKeyboard();
  EXPECT_EQ(m.AreaBytes(Area::Lighting)[42], 1) << "wraps round";
  EXPECT_EQ(m.AreaBytes(Area::Lighting)[0], 18) << "other profiles untouched";
}

TEST(KeyboardModelBank, KeepsTheLastBankReport) {
  KeyboardModel m;
  EXPECT_TRUE(m.LastBankReport().empty());
  const std::vector<std::uint8_t> report{0x05, 0x03};
  m.HandleBankReport(report);
  EXPECT_EQ(m.LastBankReport(), report);
}

TEST(KeyboardModelState, SaveAndLoadRoundTripsMemoryAndMode) {
  KeyboardModel a;
  const std::vector<std::uint8_t> data{0xAA, 0x55, 0x10, 0x00};
  ASSERT_TRUE(a.WriteArea(Area::Macro, 0, data));
  ASSERT_TRUE(a.WriteArea(Area::Colours, 1535, std::vector<std::uint8_t>{0x42}));
  a.HandleBankReport(std::vector<std::uint8_t>{0x05, 0x03});
  Packet boot{};
  boot[0] = 0x04;
  boot[3] = boot[4] = 0xEE;
  a.HandleControlPacket(boot);
  const std::vector<std::uint8_t> state = a.SaveState();

  KeyboardModel b;
  const std::uint64_t before = b.Generation();
  ASSERT_TRUE(b.LoadState(state));
  EXPECT_GT(b.Generation(), before);
  EXPECT_TRUE(b.InBootMode());
  EXPECT_EQ(b.LastBankReport(), (std::vector<std::uint8_t>{0x05, 0x03}));
  EXPECT_EQ(Bytes(b.AreaBytes(Area::Macro), 0, 4), data);
  EXPECT_EQ(b.AreaBytes(Area::Colours)[1535], 0x42);
  EXPECT_EQ(b.SaveState(), state);
}

// Anything that is not a state of this model is refused and changes nothing.
struct BadStateCase {
  const char* name;
  std::size_t offset;  // byte to corrupt, or the length to cut to when cut is set
  bool cut;
  bool append;
};

class KeyboardModelBadState : public ::testing::TestWithParam<BadStateCase> {};

TEST_P(KeyboardModelBadState, IsRefusedAndChangesNothing) {
  const BadStateCase& c = GetParam();
  KeyboardModel source;
  ASSERT_TRUE(source.WriteArea(Area::Lighting, 0, std::vector<std::uint8_t>{7}));
  std::vector<std::uint8_t> state = source.SaveState();
  if (c.cut) {
    state.resize(c.offset);
  } else if (c.append) {
    state.push_back(0);
  } else {
    state[c.offset] ^= 0xFF;
  }
  KeyboardModel target;
  const std::vector<std::uint8_t> before = target.SaveState();
  EXPECT_FALSE(target.LoadState(state));
  EXPECT_EQ(target.SaveState(), before);
}

INSTANTIATE_TEST_SUITE_P(
    States, KeyboardModelBadState,
    ::testing::Values(BadStateCase{"Magic", 0, false, false},
                      BadStateCase{"Version", 4, false, false},
                      BadStateCase{"UnknownFlags", 6, false, false},
                      BadStateCase{"AreaSize", 10, false, false},
                      BadStateCase{"Empty", 0, true, false},
                      BadStateCase{"Truncated", 2000, true, false},
                      BadStateCase{"TrailingByte", 0, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardModelState, ResetRestoresFactoryStateAndClearsFaults) {
  KeyboardModel m;
  ASSERT_TRUE(m.WriteArea(Area::KeyMap, 0, std::vector<std::uint8_t>{0, 0, 0}));
  m.InjectFault(Fault::Drop, 5);
  m.Reset();
  EXPECT_EQ(m.AreaBytes(Area::KeyMap)[0], keys::kDefaultKeyMap[0]);
  EXPECT_TRUE(m.HandleControlPacket(Request(0x03, 44, 0)).has_value());
}

}  // namespace
}  // namespace vendrel::sim
