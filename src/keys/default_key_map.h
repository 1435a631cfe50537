#pragma once
// The keyboard's factory key map as built into the program: used until the keyboard's own copy
// has been read, and by the keyboard model as its factory state.
#include <array>
#include <cstddef>
#include <cstdint>

#include "device/command_set.h"

namespace vendrel::keys {

// The key map's size is the command set's: one definition for the wire and the codec.
inline constexpr std::size_t kKeyMapBytes = device::kKeyMapSize;  // 126 positions x 3 bytes
inline constexpr std::size_t kKeyMapEntryBytes = 3;

// Entry of position column * 8 + row at bytes 3p .. 3p + 2 (kind, sub, value).
extern const std::array<std::uint8_t, kKeyMapBytes> kDefaultKeyMap;

}  // namespace vendrel::keys
