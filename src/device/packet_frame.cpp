#include "device/packet_frame.h"

#include <algorithm>

#include "codec/little_endian.h"

namespace vendrel::device {

std::uint16_t PacketChecksum(std::span<const std::uint8_t, kPacketSize> packet) {
  unsigned sum = 0;
  for (std::size_t i = kOffCommand; i < kPacketSize; ++i) sum += packet[i];
  return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

Packet BuildRequest(std::uint8_t command, std::uint8_t length, std::uint16_t address,
                    std::span<const std::uint8_t> payload) {
  Packet p{};
  p[kOffReport] = kReportNumber;
  p[kOffCommand] = command;
  p[kOffLength] = length;
  codec::WriteU16(p, kOffAddress, address);
  p[kOffStatus] = 0;
  const std::size_t n = std::min(payload.size(), kPayloadSize);
  std::copy_n(payload.begin(), n, p.begin() + kOffPayload);
  codec::WriteU16(p, kOffChecksum, PacketChecksum(p));
  return p;
}

}  // namespace vendrel::device
