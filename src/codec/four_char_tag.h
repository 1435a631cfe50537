#pragma once
// Four-character tags, used by the device link's units and the main window's private messages:
// the first character lands in the most significant non-zero byte, so "OPEN" is 0x4F50454E and
// "LED" is 0x004C4544. Characters past the fourth are ignored.
#include <cstdint>
#include <string_view>

namespace vendrel::codec {

constexpr std::uint32_t FourCharTag(std::string_view text) {
  std::uint32_t tag = 0;
  for (const char c : text.substr(0, 4)) tag = (tag << 8) | static_cast<std::uint8_t>(c);
  return tag;
}

}  // namespace vendrel::codec
