#include "controls/bitmap_slider.h"

#include "controls/owner_drawn_button.h"
#include "controls/picture_paint.h"

namespace vendrel::controls {
namespace {

using control_logic::SliderKey;

// The pointer's x in client coordinates: signed, since a captured drag goes left of the slider.
int PointerX(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }

std::optional<SliderKey> KeyOf(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_LEFT: return SliderKey::Left;
    case VK_RIGHT: return SliderKey::Right;
    case VK_UP: return SliderKey::Up;
    case VK_DOWN: return SliderKey::Down;
    case VK_PRIOR: return SliderKey::PageUp;
    case VK_NEXT: return SliderKey::PageDown;
    case VK_HOME: return SliderKey::Home;
    case VK_END: return SliderKey::End;
    default: return std::nullopt;
  }
}

}  // namespace

bool BitmapSlider::Attach(HWND dialog, int control_id) {
  id_ = control_id;
  hwnd_ = AttachOwnerDrawn(hook_, dialog, control_id,
                           [this](UINT m, WPARAM w, LPARAM l) { return Handle(m, w, l); });
  if (hwnd_ == nullptr) return false;
  SetSeeThrough(hwnd_, picture_ == nullptr);
  return true;
}

void BitmapSlider::SetRange(int min, int max) {
  range_ = {min, max < min ? min : max};
  position_ = control_logic::ClampToRange(position_, range_);
}

void BitmapSlider::SetPosition(int position) {
  position_ = control_logic::ClampToRange(position, range_);
}

void BitmapSlider::SetPicture(HBITMAP picture) {
  if (picture == picture_) return;
  const bool had_picture = picture_ != nullptr;
  picture_ = picture;
  if (hwnd_ == nullptr) return;
  if (had_picture != (picture_ != nullptr)) SetSeeThrough(hwnd_, picture_ == nullptr);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void BitmapSlider::MoveToX(int x) {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  MoveByUser(control_logic::SliderPositionAt(x, client.right - client.left, range_));
}

void BitmapSlider::MoveByUser(int position) {
  position = control_logic::ClampToRange(position, range_);
  if (position == position_) return;
  position_ = position;
  ::PostMessageW(::GetParent(hwnd_), kMsgSliderMoved, static_cast<WPARAM>(id_),
                 static_cast<LPARAM>(position));
}

std::optional<LRESULT> BitmapSlider::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintPictureControl(hwnd_, picture_);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    // The mouse is the slider's alone: the button underneath never sees it, so it is never
    // pressed and never reports a click.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ::SetFocus(hwnd_);
      ::SetCapture(hwnd_);
      dragging_ = true;
      MoveToX(PointerX(lparam));
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && ::GetCapture() == hwnd_) MoveToX(PointerX(lparam));
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ::ReleaseCapture();
      dragging_ = false;
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_KEYDOWN:
      if (const std::optional<SliderKey> key = KeyOf(wparam)) {
        MoveByUser(control_logic::SliderPositionAfterKey(*key, position_, range_, page_));
        return 0;
      }
      if (wparam == VK_SPACE) return 0;  // no button press either
      return std::nullopt;
    case WM_KEYUP:
      if (wparam == VK_SPACE) return 0;
      return std::nullopt;
    case WM_ENABLE:
      if (wparam == FALSE && dragging_) ::ReleaseCapture();
      return HandleButtonMessage(hook_, message, wparam, lparam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      return HandleButtonMessage(hook_, message, wparam, lparam);
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace vendrel::controls
