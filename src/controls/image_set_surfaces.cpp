#include "controls/image_set_surfaces.h"

#include "controls/wide_text.h"

namespace vendrel::controls {

bool ImageSetSurfaces::Load(const std::wstring& skin_folder, skin::ImageSet set, HWND dialog) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  const skin::SurfaceSize size = skin::SheetSurfaceSize(client.right, client.bottom);
  const skin::SetPictureFiles& files = skin::ImageSetFiles(set);
  bool made = true;
  for (std::size_t i = 0; i < pictures_.size(); ++i) {
    made = pictures_[i].Load(skin_folder + WideFrom(files[i]), size.width, size.height) && made;
  }
  return made;
}

SlotSheetSurfaces ImageSetSurfaces::Slots() const {
  SlotSheetSurfaces slots{};
  for (std::size_t slot = 0; slot < slots.size(); ++slot) {
    const skin::SetPicture picture = skin::SetPictureForSlot(static_cast<skin::ButtonSlot>(slot));
    slots[slot] = &pictures_[static_cast<std::size_t>(picture)];
  }
  return slots;
}

}  // namespace vendrel::controls
