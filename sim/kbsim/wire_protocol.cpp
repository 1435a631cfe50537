#include "sim/kbsim/wire_protocol.h"

namespace vendrel::sim::wire {

std::vector<std::uint8_t> EncodeFrame(std::uint8_t type, std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxPayload) return {};
  std::vector<std::uint8_t> bytes(kHeaderSize + payload.size());
  bytes[kOffType] = type;
  bytes[kOffLength] = static_cast<std::uint8_t>(payload.size() & 0xFF);
  bytes[kOffLength + 1] = static_cast<std::uint8_t>(payload.size() >> 8);
  for (std::size_t i = 0; i < payload.size(); ++i) bytes[kHeaderSize + i] = payload[i];
  return bytes;
}

void FrameReader::Feed(std::span<const std::uint8_t> bytes) {
  if (corrupt_) return;
  // Drop what was consumed before growing, so a long session does not keep every byte.
  if (start_ > 0 && start_ == buffer_.size()) {
    buffer_.clear();
    start_ = 0;
  } else if (start_ > 4096) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> FrameReader::Next() {
  if (corrupt_) return std::nullopt;
  const std::size_t available = buffer_.size() - start_;
  if (available < kHeaderSize) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(buffer_[start_ + kOffLength]) |
                             (static_cast<std::size_t>(buffer_[start_ + kOffLength + 1]) << 8);
  if (length > kMaxPayload) {
    corrupt_ = true;
    return std::nullopt;
  }
  if (available < kHeaderSize + length) return std::nullopt;
  Frame frame;
  frame.type = buffer_[start_ + kOffType];
  const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + kHeaderSize);
  frame.payload.assign(first, first + static_cast<std::ptrdiff_t>(length));
  start_ += kHeaderSize + length;
  return frame;
}

}  // namespace vendrel::sim::wire
