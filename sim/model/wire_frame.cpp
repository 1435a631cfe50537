#include "sim/model/wire_frame.h"

namespace vendrel::sim::wire {
namespace {

std::uint16_t ReadLittleEndian16(std::span<const std::uint8_t, kPacketSize> frame, std::size_t at) {
  return static_cast<std::uint16_t>(frame[at] | (frame[at + 1] << 8));
}

}  // namespace

std::uint16_t FrameChecksum(std::span<const std::uint8_t, kPacketSize> frame) {
  unsigned sum = 0;
  for (std::size_t i = kChecksumFrom; i < kPacketSize; ++i) sum += frame[i];
  return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

bool ChecksumHolds(std::span<const std::uint8_t, kPacketSize> frame) {
  return ReadLittleEndian16(frame, kOffChecksum) == FrameChecksum(frame);
}

void SealFrame(std::span<std::uint8_t, kPacketSize> frame) {
  const std::uint16_t sum = FrameChecksum(frame);
  frame[kOffChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
  frame[kOffChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t FrameAddress(std::span<const std::uint8_t, kPacketSize> frame) {
  return ReadLittleEndian16(frame, kOffAddress);
}

}  // namespace vendrel::sim::wire
