#pragma once
// One image set of the key-setting dialog on surfaces: its four pictures, each drawn like a
// state sheet onto a surface the size of the dialog plus the sheet margin, and the sheet of each
// button slot taken from them.
#include <windows.h>

#include <array>
#include <string>

#include "controls/image_button.h"
#include "controls/sheet_surface.h"
#include "skin/image_set.h"

namespace vendrel::controls {

class ImageSetSurfaces {
 public:
  // Draws the set's pictures from the skin folder (ending in its separator) for a dialog's
  // client area. A picture that cannot be read leaves its surface without a picture; false when
  // a surface cannot be made at all.
  bool Load(const std::wstring& skin_folder, skin::ImageSet set, HWND dialog);
  // The sheets of a button's five slots; they live as long as this object.
  SlotSheetSurfaces Slots() const;

 private:
  std::array<SheetSurface, skin::kSetPictureCount> pictures_;
};

}  // namespace vendrel::controls
