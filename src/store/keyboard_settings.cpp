#include "store/keyboard_settings.h"

#include "device/results.h"
#include "macros/macro_image_read.h"

namespace vendrel::store {

bool ReadKeyboardSettings(device::CommandSet& commands, std::u16string_view new_macro_prefix,
                          KeyboardSettings& out) {
  const int active = commands.GetActiveProfile();
  if (active < 0 || active > 3) return false;
  for (std::size_t k = 0; k < keys::kDeviceProfileCount; ++k) {
    if (commands.ReadKeyMap(out.maps[k], static_cast<int>(k)) != device::kOk) return false;
  }
  return macros::ReadMacrosFromKeyboard(commands, new_macro_prefix, out.macros, out.names_held) ==
         device::kOk;
}

void DecodeKeyboardSettings(const KeyboardSettings& keyboard, keys::KeyMapView factory,
                            KeyStore& out) {
  out.Clear();
  for (std::size_t k = 0; k < keys::kDeviceProfileCount; ++k) {
    keys::DecodeKeyMap(keyboard.maps[k], factory, out.Table().Block(k));
  }
  out.macros = keyboard.macros;
}

}  // namespace vendrel::store
