#pragma once
// Reading and sealing the keyboard's 64-byte control packets with the model's own frame layout
// (wire_constants.h), so that the checksum the model checks and signs with is not the program's.
#include <array>
#include <cstdint>
#include <span>

#include "sim/model/wire_constants.h"

namespace vendrel::sim::wire {

using Frame = std::array<std::uint8_t, kPacketSize>;

// Low 16 bits of the sum of the bytes from kChecksumFrom to the end.
std::uint16_t FrameChecksum(std::span<const std::uint8_t, kPacketSize> frame);

// True when the checksum field holds the checksum of the rest.
bool ChecksumHolds(std::span<const std::uint8_t, kPacketSize> frame);

// Writes the checksum field; the last step of building a reply.
void SealFrame(std::span<std::uint8_t, kPacketSize> frame);

std::uint16_t FrameAddress(std::span<const std::uint8_t, kPacketSize> frame);

}  // namespace vendrel::sim::wire
