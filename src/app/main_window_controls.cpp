#include "app/main_window_controls.h"

namespace vendrel::app {

std::u16string KeySkinKey(unsigned slot) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string key = u"KEY_";
  // Three digits at least, as "%03X" gives; wider values keep all their digits.
  std::u16string digits;
  do {
    digits.insert(digits.begin(), kHex[slot & 0xF]);
    slot >>= 4;
  } while (slot != 0);
  while (digits.size() < 3) digits.insert(digits.begin(), u'0');
  return key + digits;
}

std::u16string GKeySkinKey(int g) {
  std::u16string key = u"FUNC_G";
  if (g < 0) {
    key += u'-';
    g = -g;
  }
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + g % 10));
    g /= 10;
  } while (g != 0);
  return key + digits;
}

std::vector<KeyButtonPlacement> KeyButtonPlacements() {
  std::vector<KeyButtonPlacement> out;
  std::vector<bool> carries_key(kLastKeyButtonId - kFirstKeyButtonId + 1, false);
  for (const keys::KeyButton& key : keys::KeyButtonTable()) {
    out.push_back({key.control_id, KeySkinKey(keys::Fold(key.code))});
    if (key.control_id >= kFirstKeyButtonId && key.control_id <= kLastKeyButtonId) {
      carries_key[key.control_id - kFirstKeyButtonId] = true;
    }
  }
  for (int id = kFirstKeyButtonId; id <= kLastKeyButtonId; ++id) {
    if (!carries_key[id - kFirstKeyButtonId]) out.push_back({id, std::u16string(kAbsentKeySkinKey)});
  }
  for (std::size_t g = 0; g < keys::kGKeyControlIds.size(); ++g) {
    out.push_back({keys::kGKeyControlIds[g], GKeySkinKey(static_cast<int>(g) + 1)});
  }
  return out;
}

}  // namespace vendrel::app
