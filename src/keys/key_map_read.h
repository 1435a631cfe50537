#pragma once
// Reading the keyboard's three key maps back and turning them into profile blocks (used when the
// keyboard's settings are exported to a file).
#include <array>

#include "device/command_set.h"
#include "keys/key_map_codec.h"
#include "keys/profile_key_table.h"

namespace vendrel::keys {

using DeviceKeyMaps = std::array<DeviceKeyMap, kDeviceProfileCount>;

// Reads the maps of profiles 0, 1 and 2. Returns 1, or the first failing command's result (the
// remaining maps are not read).
int ReadKeyMaps(device::CommandSet& commands, DeviceKeyMaps& maps);

// Decodes the three maps into blocks 0..2 of table; block 3 and the header are left as they are.
void DecodeKeyMaps(const DeviceKeyMaps& maps, KeyMapView factory, ProfileKeyTable& table);

}  // namespace vendrel::keys
