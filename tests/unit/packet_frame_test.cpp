#include "device/packet_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace vendrel::device {
namespace {

TEST(PacketFrame, RequestFieldsAreLittleEndianAndChecksumCoversBytes3To63) {
  const std::vector<std::uint8_t> payload{0x10, 0x20, 0x30};
  const Packet p = BuildRequest(0x07, 56, 0x02F4, payload);
  EXPECT_EQ(p[0], 0x04);
  EXPECT_EQ(p[3], 0x07);
  EXPECT_EQ(p[4], 56);
  EXPECT_EQ(p[5], 0xF4);
  EXPECT_EQ(p[6], 0x02);
  EXPECT_EQ(p[7], 0);
  EXPECT_EQ(p[8], 0x10);
  EXPECT_EQ(p[10], 0x30);
  EXPECT_EQ(p[11], 0);
  const unsigned sum = 0x07 + 56 + 0xF4 + 0x02 + 0x10 + 0x20 + 0x30;
  EXPECT_EQ(p[1], sum & 0xFF);
  EXPECT_EQ(p[2], sum >> 8);
  EXPECT_EQ(PacketAddress(p), 0x02F4);
}

TEST(PacketFrame, PayloadLongerThan56BytesIsCut) {
  const std::vector<std::uint8_t> payload(80, 0xAB);
  const Packet p = BuildRequest(0x0A, 56, 0, payload);
  EXPECT_EQ(p[63], 0xAB);
  // 56 payload bytes of 0xAB plus the command and length fields: the checksum wraps at 16 bits.
  EXPECT_EQ(PacketChecksum(p), static_cast<std::uint16_t>((56 * 0xAB + 0x0A + 56) & 0xFFFF));
}

}  // namespace
}  // namespace vendrel::device
