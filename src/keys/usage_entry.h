#pragma once
// The three bytes (kind, two usage bytes) by which the keyboard names a key, both in its key map
// entries and in the actions of its macro image: the kinds, the keyboard kind's subs and the key
// such a triple stands for.
#include <cstdint>

#include "keys/key_table.h"

namespace vendrel::keys {

inline constexpr std::uint8_t kUsageKindNone = 0x00;
inline constexpr std::uint8_t kUsageKindKeyboard = 0x02;
inline constexpr std::uint8_t kUsageKindConsumer = 0x03;
inline constexpr std::uint8_t kUsageKindDesktop = 0x04;
inline constexpr std::uint8_t kKeyboardSubModifier = 0x01;
inline constexpr std::uint8_t kKeyboardSubUsage = 0x02;

// The key of a triple: keyboard kind with sub usage (b3 the usage) or modifier (b3 the modifier
// bits); consumer and desktop kinds carry a 16-bit usage b2 | b3 << 8. 0 for any other kind.
KeyCode UsageTripleKey(std::uint8_t kind, std::uint8_t b2, std::uint8_t b3);

}  // namespace vendrel::keys
