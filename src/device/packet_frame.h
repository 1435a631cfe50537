#pragma once
// The 64-byte command packet exchanged with the keyboard's control collection, in both directions.
#include <array>
#include <cstdint>
#include <span>

#include "codec/little_endian.h"

namespace vendrel::device {

inline constexpr std::size_t kPacketSize = 64;
inline constexpr std::size_t kPayloadSize = 56;

// Field offsets of the frame.
inline constexpr std::size_t kOffReport = 0;    // always kReportNumber
inline constexpr std::size_t kOffChecksum = 1;  // 16-bit LE sum of bytes 3..63
inline constexpr std::size_t kOffCommand = 3;
inline constexpr std::size_t kOffLength = 4;
inline constexpr std::size_t kOffAddress = 5;   // 16-bit LE
inline constexpr std::size_t kOffStatus = 7;
inline constexpr std::size_t kOffPayload = 8;

inline constexpr std::uint8_t kReportNumber = 0x04;
inline constexpr std::uint8_t kStatusRefused = 0xFF;
inline constexpr std::uint8_t kStatusRefusedAlt = 0xFE;

using Packet = std::array<std::uint8_t, kPacketSize>;

// Low 16 bits of the sum of bytes 3..63.
std::uint16_t PacketChecksum(std::span<const std::uint8_t, kPacketSize> packet);

// A request: zeroed, report number, command, length, address, status 0, payload (cut to 56
// bytes), checksum computed last.
Packet BuildRequest(std::uint8_t command, std::uint8_t length, std::uint16_t address,
                    std::span<const std::uint8_t> payload = {});

// Reads of the frame's fields.
inline std::uint8_t PacketCommand(std::span<const std::uint8_t, kPacketSize> p) { return p[kOffCommand]; }
inline std::uint8_t PacketLength(std::span<const std::uint8_t, kPacketSize> p) { return p[kOffLength]; }
inline std::uint8_t PacketStatus(std::span<const std::uint8_t, kPacketSize> p) { return p[kOffStatus]; }
inline std::uint16_t PacketAddress(std::span<const std::uint8_t, kPacketSize> p) {
  return codec::ReadU16(p, kOffAddress);
}

}  // namespace vendrel::device
