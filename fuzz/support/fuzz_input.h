#pragma once
// Takes typed values off the front of a fuzzer's input; past the end every value is 0 or empty,
// so a target never reads outside the bytes it was given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vendrel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  bool Empty() const { return bytes_.empty(); }
  std::size_t Left() const { return bytes_.size(); }

  std::uint8_t U8() {
    if (bytes_.empty()) return 0;
    const std::uint8_t v = bytes_[0];
    bytes_ = bytes_.subspan(1);
    return v;
  }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }
  bool Bool() { return (U8() & 1) != 0; }

  // Up to n bytes (fewer at the end).
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    const auto part = bytes_.first(std::min(n, bytes_.size()));
    bytes_ = bytes_.subspan(part.size());
    return part;
  }
  std::span<const std::uint8_t> Rest() { return Bytes(bytes_.size()); }

  // A UTF-16 text of up to max_units units, two bytes each, little-endian.
  std::u16string Text16(std::size_t max_units) {
    const std::size_t units = std::min<std::size_t>(U8(), max_units);
    std::u16string out;
    for (std::size_t i = 0; i < units && bytes_.size() >= 2; ++i) out.push_back(static_cast<char16_t>(U16()));
    return out;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// The bytes as UTF-16 little-endian units (an odd last byte dropped).
inline std::u16string Units16(std::span<const std::uint8_t> bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return out;
}

}  // namespace vendrel::fuzz
