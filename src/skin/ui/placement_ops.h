#pragma once
// The four ways a window places a control from its skin file.
#include <windows.h>

#include <array>
#include <string_view>

#include "controls/image_button.h"
#include "skin/ini_file.h"
#include "skin/placement.h"

namespace vendrel::skin {

// Sheets for the five slots, in the order normal, hover, pressed, disabled, selected.
using SlotSurfaces = std::array<const controls::SheetSurface*, kButtonSlotCount>;

// Moves and sizes without repainting; the slots take the images cut at (x, y) from their sheets.
// A control placed at (1, 1) is disabled.
Placement PlaceWithImages(controls::ImageButton& button, const CIniFile& ini,
                          std::u16string_view section, std::u16string_view key,
                          const SlotSurfaces& sheets);
// Moves and sizes without repainting.
Placement PlaceOnly(HWND control, const CIniFile& ini, std::u16string_view section,
                    std::u16string_view key);
// Moves, keeps the size, repaints.
Placement MoveOnly(HWND control, const CIniFile& ini, std::u16string_view section,
                   std::u16string_view key);
// Moves and sizes from the first key; every slot takes the image at (x2, y2) of one sheet, read
// from the second section and key.
Placement PlaceWithVariant(controls::ImageButton& button, const CIniFile& ini,
                           std::u16string_view section, std::u16string_view key,
                           std::u16string_view section2, std::u16string_view key2,
                           const controls::SheetSurface* sheet);

}  // namespace vendrel::skin
