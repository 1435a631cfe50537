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

}  // namespace vendrel::app
