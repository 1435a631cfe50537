// The frames between Quorva.dll and kbsim, the hex text and the packet log line format.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "sim/kbsim/hex.h"
#include "sim/kbsim/packet_log.h"
#include "sim/kbsim/wire_protocol.h"

namespace vendrel::sim::wire {
namespace {

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t first) {
  std::vector<std::uint8_t> v(n);
  std::iota(v.begin(), v.end(), first);
  return v;
}

TEST(KbsimWire, FramesSurviveAnySplitOfTheStream) {
  const auto packet = Bytes(64, 0x10);
  const std::vector<std::uint8_t> attach{1};
  const std::vector<std::uint8_t> report{0xFF, 0x02};
  std::vector<std::uint8_t> stream;
  for (const auto& f : {EncodeFrame(kControlReply, packet), EncodeFrame(kAttachCount, attach),
                        EncodeFrame(kConsumerEvent, report), EncodeFrame(kBankReport, {})}) {
    stream.insert(stream.end(), f.begin(), f.end());
  }
  for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, stream.size()}) {
    SCOPED_TRACE(piece);
    FrameReader reader;
    std::vector<Frame> frames;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
      reader.Feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)));
      while (auto f = reader.Next()) frames.push_back(*f);
    }
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].type, kControlReply);
    EXPECT_EQ(frames[0].payload, packet);
    EXPECT_EQ(frames[1].type, kAttachCount);
    EXPECT_EQ(frames[1].payload, attach);
    EXPECT_EQ(frames[2].payload, report);
    EXPECT_EQ(frames[3].type, kBankReport);
    EXPECT_TRUE(frames[3].payload.empty());
    EXPECT_FALSE(reader.Corrupt());
  }
}

TEST(KbsimWire, LengthIsLittleEndianAfterTheType) {
  const auto frame = EncodeFrame(kControlWrite, Bytes(kMaxPayload, 0));
  ASSERT_EQ(frame.size(), kHeaderSize + kMaxPayload);
  EXPECT_EQ(frame[kOffType], kControlWrite);
  EXPECT_EQ(frame[kOffLength], kMaxPayload & 0xFF);
  EXPECT_EQ(frame[kOffLength + 1], kMaxPayload >> 8);
}

TEST(KbsimWire, OversizedFramesAreNeitherSentNorAccepted) {
  EXPECT_TRUE(EncodeFrame(kControlWrite, Bytes(kMaxPayload + 1, 0)).empty());
  FrameReader reader;
  const std::uint8_t header[] = {kControlReply, 0xFF, 0xFF, 0x00};
  reader.Feed(header);
  EXPECT_FALSE(reader.Next().has_value());
  EXPECT_TRUE(reader.Corrupt());
  // Nothing after a corrupt header is trusted, even a well-formed frame.
  const auto good = EncodeFrame(kAttachCount, std::vector<std::uint8_t>{1});
  reader.Feed(good);
  EXPECT_FALSE(reader.Next().has_value());
}

TEST(KbsimWire, IncompleteFrameWaitsForTheRest) {
  const auto frame = EncodeFrame(kControlReply, Bytes(64, 0));
  FrameReader reader;
  reader.Feed(std::span(frame).first(frame.size() - 1));
  EXPECT_FALSE(reader.Next().has_value());
  reader.Feed(std::span(frame).last(1));
  const auto got = reader.Next();
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->payload.size(), 64u);
}

TEST(KbsimHex, RoundTripAndRefusals) {
  const auto all = Bytes(256, 0);
  const auto text = ToHex(all);
  EXPECT_EQ(text.size(), 512u);
  EXPECT_EQ(text.substr(0, 8), "00010203");
  EXPECT_EQ(text.substr(508), "FEFF");
  EXPECT_EQ(FromHex(text), all);
  EXPECT_EQ(FromHex("aBcD"), (std::vector<std::uint8_t>{0xAB, 0xCD}));
  for (const char* bad : {"", "A", "ABC", "0G", " 01", "01 ", "0x01"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(FromHex(bad).has_value());
  }
}

TEST(KbsimPacketLog, LineIsMicrosDirectionAndHex) {
  const auto packet = Bytes(64, 0xC0);
  const std::string line = PacketLogLine(1234567, '>', packet);
  EXPECT_EQ(line, "1234567 > " + ToHex(packet));
  EXPECT_EQ(line.size(), std::string("1234567 > ").size() + 128);
  EXPECT_EQ(PacketLogLine(0, 'B', std::vector<std::uint8_t>{0x05, 0x03}), "0 B 0503");
}

}  // namespace
}  // namespace vendrel::sim::wire
