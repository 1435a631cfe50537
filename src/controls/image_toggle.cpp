#include "controls/image_toggle.h"

#include "controls/owner_drawn_button.h"
#include "controls/picture_paint.h"

namespace vendrel::controls {

bool ImageToggle::Attach(HWND dialog, int control_id) {
  id_ = control_id;
  hwnd_ = AttachOwnerDrawn(hook_, dialog, control_id,
                           [this](UINT m, WPARAM w, LPARAM l) { return Handle(m, w, l); });
  if (hwnd_ == nullptr) return false;
  SetSeeThrough(hwnd_, image_ == nullptr);
  return true;
}

void ImageToggle::SetImage(HBITMAP image) {
  if (image == image_) return;
  const bool had_picture = image_ != nullptr;
  image_ = image;
  if (hwnd_ == nullptr) return;
  if (had_picture != (image_ != nullptr)) SetSeeThrough(hwnd_, image_ == nullptr);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

std::optional<LRESULT> ImageToggle::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintPictureControl(hwnd_, image_);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return std::nullopt;
    default:
      return HandleButtonMessage(hook_, message, wparam, lparam);
  }
}

}  // namespace vendrel::controls
