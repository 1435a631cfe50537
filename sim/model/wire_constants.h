#pragma once
// The keyboard's side of the control packet: frame layout, report number, status bytes and command
// codes, as the firmware knows them. Written here on their own rather than taken from the program's
// headers: the model is what the program is tested against, so a wrong code or offset in the
// program must meet a keyboard that disagrees, not one that shares the mistake.
#include <cstddef>
#include <cstdint>

namespace vendrel::sim::wire {

inline constexpr std::size_t kPacketSize = 64;
inline constexpr std::size_t kPayloadSize = 56;

// Field offsets; every multi-byte field is little-endian.
inline constexpr std::size_t kOffReport = 0;
inline constexpr std::size_t kOffChecksum = 1;  // two bytes; covers kChecksumFrom .. the end
inline constexpr std::size_t kOffCommand = 3;
inline constexpr std::size_t kOffLength = 4;
inline constexpr std::size_t kOffAddress = 5;   // two bytes
inline constexpr std::size_t kOffStatus = 7;
inline constexpr std::size_t kOffPayload = 8;

// The checksum leaves out the report number and itself.
inline constexpr std::size_t kChecksumFrom = kOffCommand;

inline constexpr std::uint8_t kReportNumber = 0x04;

// Reply status: anything but the two refusals counts as success with the host.
inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusRefused = 0xFF;   // command or range the keyboard will not do
inline constexpr std::uint8_t kStatusBadFrame = 0xFE;  // the request's checksum does not add up

// Command codes.
inline constexpr std::uint8_t kCmdBeginTransfer = 0x01;
inline constexpr std::uint8_t kCmdEndTransfer = 0x02;
inline constexpr std::uint8_t kCmdReadInformation = 0x03;
inline constexpr std::uint8_t kCmdWriteInformation = 0x04;
inline constexpr std::uint8_t kCmdReadLighting = 0x05;
inline constexpr std::uint8_t kCmdWriteLighting = 0x06;
inline constexpr std::uint8_t kCmdReadKeyMap = 0x07;
inline constexpr std::uint8_t kCmdWriteKeyMap = 0x08;
inline constexpr std::uint8_t kCmdReadMacro = 0x09;
inline constexpr std::uint8_t kCmdWriteMacro = 0x0A;
inline constexpr std::uint8_t kCmdReadDefaultKeyMap = 0x0F;
inline constexpr std::uint8_t kCmdWriteColours = 0x11;
// The boot packet carries this in both the command and the length byte, and no checksum.
inline constexpr std::uint8_t kCmdUpdateMode = 0xEE;

}  // namespace vendrel::sim::wire
