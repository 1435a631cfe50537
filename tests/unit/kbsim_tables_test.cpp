// The program and the keyboard model each keep their own copy of the wire: command codes, frame
// layout, checksum, information block, event codes and factory key map. The model is what every
// scenario runs against, so if it took these from the program a wrong value would pass everywhere.
// These cases hold the two copies against each other, so that a slip on either side shows here.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "codec/little_endian.h"
#include "device/command_codes.h"
#include "device/command_set.h"
#include "device/device_units.h"
#include "device/packet_frame.h"
#include "keys/default_key_map.h"
#include "sim/model/factory_key_map.h"
#include "sim/model/info_block.h"
#include "sim/model/keyboard_model.h"
#include "sim/model/wire_constants.h"
#include "sim/model/wire_frame.h"

namespace vendrel {
namespace {

// One value that both sides define: its name, the program's value and the keyboard model's.
struct BothSides {
  const char* name;
  std::size_t program;
  std::size_t keyboard;
};

std::string RowName(const ::testing::TestParamInfo<BothSides>& info) { return info.param.name; }

class SameOnBothSides : public ::testing::TestWithParam<BothSides> {};

TEST_P(SameOnBothSides, ProgramAndKeyboardAgree) {
  const BothSides& row = GetParam();
  EXPECT_EQ(row.program, row.keyboard) << row.name << ": program 0x" << std::hex << row.program
                                       << ", keyboard 0x" << row.keyboard;
}

INSTANTIATE_TEST_SUITE_P(
    CommandCodes, SameOnBothSides,
    ::testing::Values(
        BothSides{"BeginTransfer", device::kCmdBeginTransfer, sim::wire::kCmdBeginTransfer},
        BothSides{"EndTransfer", device::kCmdEndTransfer, sim::wire::kCmdEndTransfer},
        BothSides{"ReadInformation", device::kCmdReadInformation, sim::wire::kCmdReadInformation},
        BothSides{"WriteInformation", device::kCmdWriteInformation,
                  sim::wire::kCmdWriteInformation},
        BothSides{"ReadLighting", device::kCmdReadLighting, sim::wire::kCmdReadLighting},
        BothSides{"WriteLighting", device::kCmdWriteLighting, sim::wire::kCmdWriteLighting},
        BothSides{"ReadKeyMap", device::kCmdReadKeyMap, sim::wire::kCmdReadKeyMap},
        BothSides{"WriteKeyMap", device::kCmdWriteKeyMap, sim::wire::kCmdWriteKeyMap},
        BothSides{"ReadMacro", device::kCmdReadMacro, sim::wire::kCmdReadMacro},
        BothSides{"WriteMacro", device::kCmdWriteMacro, sim::wire::kCmdWriteMacro},
        BothSides{"ReadDefaultKeyMap", device::kCmdReadDefaultKeyMap,
                  sim::wire::kCmdReadDefaultKeyMap},
        BothSides{"WriteColours", device::kCmdWriteColours, sim::wire::kCmdWriteColours},
        BothSides{"UpdateMode", device::kCmdUpdateMode, sim::wire::kCmdUpdateMode}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Frame, SameOnBothSides,
    ::testing::Values(
        BothSides{"PacketSize", device::kPacketSize, sim::wire::kPacketSize},
        BothSides{"PayloadSize", device::kPayloadSize, sim::wire::kPayloadSize},
        BothSides{"ReportOffset", device::kOffReport, sim::wire::kOffReport},
        BothSides{"ChecksumOffset", device::kOffChecksum, sim::wire::kOffChecksum},
        BothSides{"CommandOffset", device::kOffCommand, sim::wire::kOffCommand},
        BothSides{"LengthOffset", device::kOffLength, sim::wire::kOffLength},
        BothSides{"AddressOffset", device::kOffAddress, sim::wire::kOffAddress},
        BothSides{"StatusOffset", device::kOffStatus, sim::wire::kOffStatus},
        BothSides{"PayloadOffset", device::kOffPayload, sim::wire::kOffPayload},
        // The payload runs to the end of the packet on both sides.
        BothSides{"PayloadEnd", device::kOffPayload + device::kPayloadSize,
                  sim::wire::kPacketSize},
        BothSides{"ReportNumber", device::kReportNumber, sim::wire::kReportNumber},
        BothSides{"StatusRefused", device::kStatusRefused, sim::wire::kStatusRefused},
        BothSides{"StatusRefusedAlt", device::kStatusRefusedAlt, sim::wire::kStatusBadFrame}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Memory, SameOnBothSides,
    ::testing::Values(
        BothSides{"InfoSize", device::kInfoSize, sim::kInfoSize},
        BothSides{"InfoActiveProfile", device::kInfoOffActiveProfile, sim::kInfoOffActiveProfile},
        BothSides{"InfoMacroSpace", device::kInfoOffMacroSpace, sim::kInfoOffMacroUnits},
        BothSides{"InfoModeList", device::kInfoOffModeList, sim::kInfoOffModeList},
        BothSides{"ModeListSize", device::kModeListSize, sim::kModeListSize},
        BothSides{"MacroSpaceUnit", device::kMacroSpaceUnit, sim::kMacroUnit},
        BothSides{"KeyMapSize", device::kKeyMapSize, sim::kKeyMapSize},
        BothSides{"KeyMapEntry", keys::kKeyMapEntryBytes, sim::kKeyMapEntryBytes},
        BothSides{"Profiles", static_cast<std::size_t>(device::kProfileCount),
                  static_cast<std::size_t>(sim::kProfiles)},
        BothSides{"ColoursPerProfile", device::kColoursPerProfile, sim::kColoursPerProfile}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    EventCodes, SameOnBothSides,
    ::testing::Values(
        BothSides{"BankKey", device::kCodeBankKey, sim::kEventBankKey},
        BothSides{"LightingChanged", device::kCodeLightingChanged, sim::kEventLightingChanged},
        BothSides{"MacroEnded", device::kCodeMacroEnded, sim::kEventMacroEnded},
        BothSides{"MacroStarted", device::kCodeMacroStarted, sim::kEventMacroStarted}),
    RowName);

// Packets on which both sides' checksum and address readers must agree: the bytes the sum leaves
// out, every byte of the summed range, the largest sum a packet can reach, and two real requests.
struct SamplePacket {
  const char* name;
  device::Packet bytes;
};

// Only the bytes the checksum must leave out are set: the sum is 0 on a side that leaves them out.
device::Packet OutsideTheSum() {
  device::Packet p{};
  p[0] = 0x04;
  p[1] = 0xAA;
  p[2] = 0x55;
  return p;
}

device::Packet Filled(std::uint8_t value) {
  device::Packet p{};
  p.fill(value);
  return p;
}

device::Packet Ascending() {
  device::Packet p{};
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return p;
}

device::Packet LastFactoryChunk() {
  const auto chunk = std::span(keys::kDefaultKeyMap).subspan(336);
  return device::BuildRequest(device::kCmdWriteKeyMap, static_cast<std::uint8_t>(chunk.size()),
                              static_cast<std::uint16_t>(2 * device::kKeyMapSize + 336), chunk);
}

std::string PacketName(const ::testing::TestParamInfo<SamplePacket>& info) {
  return info.param.name;
}

class ChecksumOfPacket : public ::testing::TestWithParam<SamplePacket> {};

TEST_P(ChecksumOfPacket, IsTheSameOnBothSides) {
  const device::Packet& p = GetParam().bytes;
  EXPECT_EQ(device::PacketChecksum(p), sim::wire::FrameChecksum(p));
  EXPECT_EQ(device::PacketAddress(p), sim::wire::FrameAddress(p));
}

INSTANTIATE_TEST_SUITE_P(
    Packets, ChecksumOfPacket,
    ::testing::Values(SamplePacket{"OutsideTheSum", OutsideTheSum()},
                      SamplePacket{"AllOnes", Filled(0xFF)},
                      SamplePacket{"Ascending", Ascending()},
                      SamplePacket{"ReadKeyMapOfProfile2",
                                   device::BuildRequest(device::kCmdReadKeyMap, 56, 0x02F4)},
                      SamplePacket{"WriteLastFactoryChunk", LastFactoryChunk()}),
    PacketName);

// Every command the program builds is one the keyboard takes as well framed, and the keyboard's
// reply carries a checksum the program's rule computes: the two sides seal alike.
class ProgramRequest : public ::testing::TestWithParam<std::uint8_t> {};

TEST_P(ProgramRequest, IsTakenAndAnsweredWithTheProgramsChecksum) {
  sim::KeyboardModel keyboard;
  const device::Packet request = device::BuildRequest(GetParam(), 0, 0);
  const auto reply = keyboard.HandleControlPacket(request);
  ASSERT_TRUE(reply.has_value());
  EXPECT_NE((*reply)[device::kOffStatus], device::kStatusRefusedAlt);
  EXPECT_EQ((*reply)[device::kOffCommand], GetParam());
  EXPECT_EQ(device::PacketChecksum(*reply), codec::ReadU16(*reply, device::kOffChecksum));
}

TEST_P(ProgramRequest, WithOneByteChangedAfterSealingIsABadFrame) {
  sim::KeyboardModel keyboard;
  device::Packet request = device::BuildRequest(GetParam(), 0, 0);
  request[device::kOffPayload + 20] ^= 0x01;
  const auto reply = keyboard.HandleControlPacket(request);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[device::kOffStatus], device::kStatusRefusedAlt);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ProgramRequest,
    ::testing::Values(device::kCmdBeginTransfer, device::kCmdEndTransfer,
                      device::kCmdReadInformation, device::kCmdWriteInformation,
                      device::kCmdReadLighting, device::kCmdWriteLighting, device::kCmdReadKeyMap,
                      device::kCmdWriteKeyMap, device::kCmdReadMacro, device::kCmdWriteMacro,
                      device::kCmdReadDefaultKeyMap, device::kCmdWriteColours));

// The whole factory key map, entry by entry; a difference is named by column and row.
TEST(FactoryKeyMap, IsTheSameOnBothSides) {
  ASSERT_EQ(keys::kDefaultKeyMap.size(), sim::kFactoryKeyMap.size());
  std::vector<std::string> differences;
  for (std::size_t position = 0; position < sim::kKeyMapPositions; ++position) {
    const std::size_t at = position * sim::kKeyMapEntryBytes;
    const auto program = std::span(keys::kDefaultKeyMap).subspan(at, sim::kKeyMapEntryBytes);
    const auto keyboard = std::span(sim::kFactoryKeyMap).subspan(at, sim::kKeyMapEntryBytes);
    if (std::equal(program.begin(), program.end(), keyboard.begin())) continue;
    char line[96];
    std::snprintf(line, sizeof line,
                  "column %zu row %zu: program %02X %02X %02X, keyboard %02X %02X %02X",
                  position / sim::kKeyMapRows, position % sim::kKeyMapRows, program[0],
                  program[1], program[2], keyboard[0], keyboard[1], keyboard[2]);
    differences.emplace_back(line);
  }
  std::string report;
  for (const std::string& d : differences) report += d + "\n";
  EXPECT_TRUE(differences.empty()) << report;
}

}  // namespace
}  // namespace vendrel
