#pragma once
// Little-endian field access shared by every byte codec (key maps, macro records and images,
// settings files, the device link's packets and descriptors). Callers check the bounds; these only
// assemble and split the bytes. constexpr so that fixed tables (descriptors) are built at compile
// time with the same code that reads them.
#include <cstddef>
#include <cstdint>
#include <span>

namespace vendrel::codec {

constexpr std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}

constexpr std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::uint32_t>(b[off]) | (static_cast<std::uint32_t>(b[off + 1]) << 8) |
         (static_cast<std::uint32_t>(b[off + 2]) << 16) |
         (static_cast<std::uint32_t>(b[off + 3]) << 24);
}

constexpr void WriteU16(std::span<std::uint8_t> b, std::size_t off, std::uint16_t v) {
  b[off] = static_cast<std::uint8_t>(v & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}

constexpr void WriteU32(std::span<std::uint8_t> b, std::size_t off, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

}  // namespace vendrel::codec
