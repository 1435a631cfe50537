#pragma once
// The bitmaps of a skin folder that controls show by name ("dengdown.bmp"): each file is loaded
// once, as a device-independent bitmap, and owned here for as long as the controls show it. A
// file that is missing or no bitmap has no entry; its controls go without a picture.
#include <windows.h>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "controls/handles.h"

namespace vendrel::controls {

class PanelBitmaps {
 public:
  PanelBitmaps() = default;
  PanelBitmaps(const PanelBitmaps&) = delete;
  PanelBitmaps& operator=(const PanelBitmaps&) = delete;

  // Loads each named file of the folder (with or without a trailing separator) that was not
  // tried yet: a name tried before, found or not, is not read again, from any folder, so a
  // bitmap a control shows stays valid.
  void Load(std::u16string_view folder, std::span<const std::u16string_view> names);

  // The bitmap of a loaded name; nullptr for a name not loaded or whose file could not be read.
  HBITMAP Get(std::u16string_view name) const;

 private:
  // Every name tried; an empty bitmap for a file that could not be read.
  std::map<std::u16string, UniqueBitmap, std::less<>> bitmaps_;
};

}  // namespace vendrel::controls
