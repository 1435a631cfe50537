#include "control_logic/slider_geometry.h"

#include <algorithm>
#include <cstdint>

namespace vendrel::control_logic {
namespace {

// 64-bit arithmetic: ranges may span the whole of int.
int Clamp64(std::int64_t value, SliderRange range) {
  const std::int64_t low = range.min;
  const std::int64_t high = std::max(range.min, range.max);
  return static_cast<int>(std::clamp(value, low, high));
}

}  // namespace

int ClampToRange(int position, SliderRange range) { return Clamp64(position, range); }

int SliderPositionAt(int x, int width, SliderRange range) {
  if (width <= 1 || range.max <= range.min) return range.min;
  const std::int64_t last = width - 1;
  const std::int64_t span = std::int64_t{range.max} - range.min;
  const std::int64_t along = std::clamp<std::int64_t>(x, 0, last);
  // round(along * span / last), halves up; along < 2^31 and span < 2^32 keep the product in range.
  const std::int64_t product = along * span;
  const std::int64_t steps = product / last + (2 * (product % last) >= last ? 1 : 0);
  return Clamp64(range.min + steps, range);
}

int SliderPositionAfterKey(SliderKey key, int position, SliderRange range, int page) {
  const std::int64_t at = ClampToRange(position, range);
  const std::int64_t step = std::max(page, 1);
  switch (key) {
    case SliderKey::Left:
    case SliderKey::Down: return Clamp64(at - 1, range);
    case SliderKey::Right:
    case SliderKey::Up: return Clamp64(at + 1, range);
    case SliderKey::PageDown: return Clamp64(at - step, range);
    case SliderKey::PageUp: return Clamp64(at + step, range);
    case SliderKey::Home: return range.min;
    case SliderKey::End: return ClampToRange(range.max, range);
  }
  return static_cast<int>(at);
}

}  // namespace vendrel::control_logic
