#pragma once
// What one read of the keyboard gives: the key maps of its profiles as it holds them and its
// macros, and the store those decode to.
#include <array>
#include <string_view>
#include <vector>

#include "device/command_set.h"
#include "keys/key_map_codec.h"
#include "macros/macro_record.h"
#include "store/key_store.h"

namespace vendrel::store {

struct KeyboardSettings {
  std::array<keys::DeviceKeyMap, keys::kDeviceProfileCount> maps{};
  macros::MacroList macros;  // ids are positions + 1, as the keyboard numbers them
  // Per macro: the keyboard holds its name; the others were given a made-up one when read.
  std::vector<bool> names_held;
};

// Reads the key maps of every profile and the macro memory. False when the keyboard's active
// profile is unknown, a read fails or the macro memory is not whole (out is then unspecified).
bool ReadKeyboardSettings(device::CommandSet& commands, std::u16string_view new_macro_prefix,
                          KeyboardSettings& out);

// Fills out (cleared first) with what the keyboard holds: its profiles' blocks decoded against
// factory, block 3 zero as no profile stands behind it, its macros, no texts.
void DecodeKeyboardSettings(const KeyboardSettings& keyboard, keys::KeyMapView factory,
                            KeyStore& out);

}  // namespace vendrel::store
