#include "controls/panel_bitmaps.h"

#include <utility>

namespace vendrel::controls {

void PanelBitmaps::Load(std::u16string_view folder, std::span<const std::u16string_view> names) {
  std::wstring prefix = WideFrom(folder);
  if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
  for (const std::u16string_view name : names) {
    if (name.empty() || bitmaps_.find(name) != bitmaps_.end()) continue;
    const std::wstring path = prefix + WideFrom(name);
    UniqueBitmap bitmap(static_cast<HBITMAP>(::LoadImageW(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    bitmaps_.emplace(std::u16string(name), std::move(bitmap));
  }
}

HBITMAP PanelBitmaps::Get(std::u16string_view name) const {
  const auto found = bitmaps_.find(name);
  return found == bitmaps_.end() ? nullptr : found->second.get();
}

}  // namespace vendrel::controls
