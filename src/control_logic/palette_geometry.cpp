#include "control_logic/palette_geometry.h"

#include <algorithm>

namespace vendrel::control_logic {
namespace {

constexpr int kGridWidth = kPaletteColumns * kPaletteCellSize;
constexpr int kGridHeight = kPaletteRows * kPaletteCellSize;

bool IsCell(int item) { return item >= 0 && item < kPaletteCellCount; }

// Moves a span of `length` starting at `at` as little as keeps it within [low, high); when it
// cannot fit, its start goes to `low`.
int KeepInside(int at, int length, int low, int high) {
  if (at + length > high) at = high - length;
  return std::max(at, low);
}

}  // namespace

Rect PaletteCellRect(int index) {
  if (!IsCell(index)) return {};
  const int left = kPaletteMargin + (index % kPaletteColumns) * kPaletteCellSize;
  const int top = kPaletteMargin + (index / kPaletteColumns) * kPaletteCellSize;
  return {left, top, left + kPaletteCellSize, top + kPaletteCellSize};
}

Rect PaletteOtherRect() {
  const int top = kPaletteMargin + kGridHeight + kPaletteOtherGap;
  return {kPaletteMargin, top, kPaletteMargin + kGridWidth, top + kPaletteOtherHeight};
}

Size PaletteSize() {
  const Rect other = PaletteOtherRect();
  return {other.right + kPaletteMargin, other.bottom + kPaletteMargin};
}

int PaletteItemAt(Point p) {
  if (PaletteOtherRect().Contains(p)) return kPaletteOther;
  const Rect grid{kPaletteMargin, kPaletteMargin, kPaletteMargin + kGridWidth,
                  kPaletteMargin + kGridHeight};
  if (!grid.Contains(p)) return kPaletteNone;
  const int column = (p.x - kPaletteMargin) / kPaletteCellSize;
  const int row = (p.y - kPaletteMargin) / kPaletteCellSize;
  const int index = row * kPaletteColumns + column;
  return IsCell(index) ? index : kPaletteNone;  // a short last row leaves blanks
}

int PaletteIndexOf(std::uint32_t colour) {
  const auto* found = std::find(kPaletteColours.begin(), kPaletteColours.end(), colour);
  return found == kPaletteColours.end() ? kPaletteNone
                                        : static_cast<int>(found - kPaletteColours.begin());
}

int PaletteMove(int item, PaletteKey key) {
  if (item != kPaletteOther && !IsCell(item)) return 0;
  if (key == PaletteKey::Home) return 0;
  if (key == PaletteKey::End) return kPaletteCellCount - 1;
  if (item == kPaletteOther) {
    return key == PaletteKey::Up ? (kPaletteRows - 1) * kPaletteColumns : kPaletteOther;
  }
  const int column = item % kPaletteColumns;
  switch (key) {
    case PaletteKey::Left: return column > 0 ? item - 1 : item;
    case PaletteKey::Right:
      return column + 1 < kPaletteColumns && IsCell(item + 1) ? item + 1 : item;
    case PaletteKey::Up: return item >= kPaletteColumns ? item - kPaletteColumns : item;
    case PaletteKey::Down:
      return IsCell(item + kPaletteColumns) ? item + kPaletteColumns : kPaletteOther;
    default: return item;
  }
}

Point PalettePlacement(Rect button, Size popup, Rect work_area) {
  Point at{button.left, button.bottom};
  if (work_area.Empty()) return at;
  const bool room_below = button.bottom + popup.height <= work_area.bottom;
  const bool room_above = button.top - popup.height >= work_area.top;
  if (!room_below && room_above) at.y = button.top - popup.height;
  at.x = KeepInside(at.x, popup.width, work_area.left, work_area.right);
  at.y = KeepInside(at.y, popup.height, work_area.top, work_area.bottom);
  return at;
}

}  // namespace vendrel::control_logic
