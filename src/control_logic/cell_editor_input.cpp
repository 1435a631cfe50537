#include "control_logic/cell_editor_input.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vendrel::control_logic {

std::u16string KeepDigits(std::u16string_view text) {
  std::u16string digits;
  for (const char16_t c : text) {
    if (c >= u'0' && c <= u'9') digits.push_back(c);
  }
  return digits;
}

int ValidSelection(int selected, int count) {
  return selected >= 0 && selected < count ? selected : -1;
}

int DropDownRows(int visible_rows, int count) {
  return std::clamp(visible_rows, 1, std::max(count, 1));
}

int DropDownHeight(int cell_height, int item_height, int visible_rows, int count) {
  constexpr std::int64_t kBorders = 2;
  const std::int64_t rows = DropDownRows(visible_rows, count);
  const std::int64_t list = std::int64_t{std::max(item_height, 0)} * rows;
  const std::int64_t height = std::int64_t{std::max(cell_height, 0)} + list + kBorders;
  return static_cast<int>(std::min<std::int64_t>(height, INT_MAX));
}

}  // namespace vendrel::control_logic
