#pragma once
// The link between our Quorva.dll and kbsim: a TCP byte stream of frames, each a one-byte type,
// a 16-bit little-endian payload length and the payload. Shared by both ends; no I/O here.
//
//   host -> keyboard   'W' 64-byte packet for the control collection
//                      'B' key-bank output report (the 'LED' collection)
//   keyboard -> host   'A' one byte: number of keyboards now attached (sent on connect and on change)
//                      'R' 64-byte reply from the control collection
//                      'E' report bytes of a consumer event ('CONS')
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vendrel::sim::wire {

inline constexpr std::uint8_t kControlWrite = 'W';
inline constexpr std::uint8_t kBankReport = 'B';
inline constexpr std::uint8_t kAttachCount = 'A';
inline constexpr std::uint8_t kControlReply = 'R';
inline constexpr std::uint8_t kConsumerEvent = 'E';

inline constexpr std::size_t kHeaderSize = 3;
inline constexpr std::size_t kOffType = 0;
inline constexpr std::size_t kOffLength = 1;
// Nothing on this link is longer; a larger length means the stream is corrupt.
inline constexpr std::size_t kMaxPayload = 256;

struct Frame {
  std::uint8_t type = 0;
  std::vector<std::uint8_t> payload;
};

// The bytes of one frame; an empty result when the payload is too long to send.
std::vector<std::uint8_t> EncodeFrame(std::uint8_t type, std::span<const std::uint8_t> payload);

// Cuts a byte stream into frames, whatever the pieces it arrives in.
class FrameReader {
 public:
  void Feed(std::span<const std::uint8_t> bytes);
  // The next complete frame, if any. After a corrupt header it yields nothing more.
  std::optional<Frame> Next();
  bool Corrupt() const { return corrupt_; }

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;
  bool corrupt_ = false;
};

}  // namespace vendrel::sim::wire
