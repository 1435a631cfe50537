#include "keys/usage_entry.h"

namespace vendrel::keys {

KeyCode UsageTripleKey(std::uint8_t kind, std::uint8_t b2, std::uint8_t b3) {
  const auto wide = static_cast<std::uint16_t>(b2 | (b3 << 8));
  switch (kind) {
    case kUsageKindKeyboard:
      return b2 == kKeyboardSubUsage ? UsageKey(kPageKeyboard, b3) : ModifierKey(b3);
    case kUsageKindConsumer:
      return UsageKey(kPageConsumer, wide);
    case kUsageKindDesktop:
      return UsageKey(kPageGenericDesktop, wide);
    default:
      return kNoKey;
  }
}

}  // namespace vendrel::keys
