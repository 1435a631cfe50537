#include "device/check_value.h"

namespace vendrel::device {
namespace {

// An odd multiplier makes i -> a*i + b a bijection on bytes; the xor keeps it one.
constexpr std::uint8_t kMultiplier = 0xA7;
constexpr std::uint8_t kOffset = 0x3D;
constexpr std::uint8_t kMask = 0x5C;

constexpr std::array<std::uint8_t, 256> MakeTable() {
  std::array<std::uint8_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) {
    t[i] = static_cast<std::uint8_t>(((i * kMultiplier + kOffset) & 0xFFu) ^ kMask);
  }
  return t;
}

constexpr std::array<std::uint8_t, 256> kTable = MakeTable();

std::uint32_t AddWord(std::uint32_t sum, std::uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8) sum += kTable[(word >> shift) & 0xFFu];
  return sum;
}

}  // namespace

const std::array<std::uint8_t, 256>& SubstitutionTable() { return kTable; }

std::uint32_t CheckValue(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                         std::span<const std::uint8_t> data) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : descriptor) sum += kTable[b];
  sum = AddWord(sum, callback);
  sum = AddWord(sum, tag);
  for (std::uint8_t b : data) sum += kTable[b];
  return sum;
}

}  // namespace vendrel::device
