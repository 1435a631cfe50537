#include "skin/ui/placement_ops.h"

namespace vendrel::skin {

Placement PlaceOnly(HWND control, const CIniFile& ini, std::u16string_view section,
                    std::u16string_view key) {
  const Placement p = ReadPlacement(ini, section, key);
  ::SetWindowPos(control, nullptr, p.x, p.y, p.w, p.h,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  return p;
}

Placement MoveOnly(HWND control, const CIniFile& ini, std::u16string_view section,
                   std::u16string_view key) {
  const Placement p = ReadPlacement(ini, section, key);
  ::SetWindowPos(control, nullptr, p.x, p.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  ::InvalidateRect(control, nullptr, TRUE);
  return p;
}

Placement PlaceWithImages(controls::ImageButton& button, const CIniFile& ini,
                          std::u16string_view section, std::u16string_view key,
                          const SlotSurfaces& sheets) {
  const Placement p = PlaceOnly(button.Hwnd(), ini, section, key);
  for (std::size_t slot = 0; slot < sheets.size(); ++slot) {
    button.SetSlot(static_cast<ButtonSlot>(slot), {sheets[slot], POINT{p.x, p.y}});
  }
  if (p.Absent()) ::EnableWindow(button.Hwnd(), FALSE);
  return p;
}

Placement PlaceWithVariant(controls::ImageButton& button, const CIniFile& ini,
                           std::u16string_view section, std::u16string_view key,
                           std::u16string_view section2, std::u16string_view key2,
                           const controls::SheetSurface* sheet) {
  const Placement p = PlaceOnly(button.Hwnd(), ini, section, key);
  const Placement variant = ReadPlacement(ini, section2, key2);
  button.SetAllSlots({sheet, POINT{variant.x, variant.y}});
  return p;
}

}  // namespace vendrel::skin
