#include "keys/key_map_read.h"

#include "device/results.h"

namespace vendrel::keys {

int ReadKeyMaps(device::CommandSet& commands, DeviceKeyMaps& maps) {
  for (std::size_t k = 0; k < kDeviceProfileCount; ++k) {
    const int result = commands.ReadKeyMap(maps[k], static_cast<int>(k));
    if (result != device::kOk) return result;
  }
  return device::kOk;
}

void DecodeKeyMaps(const DeviceKeyMaps& maps, KeyMapView factory, ProfileKeyTable& table) {
  for (std::size_t k = 0; k < kDeviceProfileCount; ++k) {
    DecodeKeyMap(maps[k], factory, table.Block(k));
  }
}

}  // namespace vendrel::keys
