#include "skin/state_sheet.h"

#include <algorithm>

namespace vendrel::skin {

SurfaceSize SheetSurfaceSize(int client_width, int client_height) {
  return {std::max(client_width, 0) + kSheetMargin, std::max(client_height, 0) + kSheetMargin};
}

ButtonSlot ChooseButtonSlot(const ButtonState& s) {
  if (s.disabled) return ButtonSlot::Disabled;
  if (s.pressed) return ButtonSlot::Pressed;
  if (s.hover) return ButtonSlot::Hover;
  if (s.selected) return ButtonSlot::Selected;
  return ButtonSlot::Normal;
}

SlotSheets SlotSheetsFromLetters(std::string_view letters) {
  SlotSheets sheets{};
  sheets.fill(MainSheet::Normal);
  for (std::size_t i = 0; i < sheets.size() && i < letters.size(); ++i) {
    switch (letters[i]) {
      case 'H': sheets[i] = MainSheet::Over; break;
      case 'P': sheets[i] = MainSheet::Down; break;
      case 'D': sheets[i] = MainSheet::Disable; break;
      default: sheets[i] = MainSheet::Normal; break;
    }
  }
  return sheets;
}

CutRect CutFromSheet(int x, int y, int w, int h, SurfaceSize surface) {
  // Work in 64 bits: skin values are arbitrary integers.
  const long long left = std::clamp<long long>(x, 0, surface.width);
  const long long top = std::clamp<long long>(y, 0, surface.height);
  const long long right = std::clamp<long long>(static_cast<long long>(x) + std::max(w, 0), 0,
                                                surface.width);
  const long long bottom = std::clamp<long long>(static_cast<long long>(y) + std::max(h, 0), 0,
                                                 surface.height);
  if (right <= left || bottom <= top) return {static_cast<int>(left), static_cast<int>(top), 0, 0};
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

}  // namespace vendrel::skin
