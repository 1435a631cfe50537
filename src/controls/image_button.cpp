#include "controls/image_button.h"

#include <commctrl.h>

#include "controls/handles.h"

namespace vendrel::controls {

ImageButton::~ImageButton() {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
    ::RemoveWindowSubclass(hwnd_, &ImageButton::SubclassProc, 0);
  }
}

bool ImageButton::Attach(HWND dialog, int control_id) {
  hwnd_ = ::GetDlgItem(dialog, control_id);
  id_ = control_id;
  if (hwnd_ == nullptr) return false;
  return ::SetWindowSubclass(hwnd_, &ImageButton::SubclassProc, 0,
                             reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void ImageButton::SetSlot(skin::ButtonSlot slot, SlotImage image) {
  slots_[static_cast<std::size_t>(slot)] = image;
}

void ImageButton::SetAllSlots(SlotImage image) { slots_.fill(image); }

void ImageButton::SetSlotsAtOwnPosition(const SlotSheetSurfaces& sheets) {
  if (hwnd_ == nullptr) return;
  RECT bounds{};
  ::GetWindowRect(hwnd_, &bounds);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&bounds), 2);
  for (std::size_t slot = 0; slot < sheets.size(); ++slot) {
    slots_[slot] = {sheets[slot], POINT{bounds.left, bounds.top}};
  }
  Redraw();
}

void ImageButton::SetSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  Redraw();
}

void ImageButton::SetLabel(const std::wstring& text, HFONT font, COLORREF colour) {
  label_ = text;
  font_ = font;
  label_colour_ = colour;
  if (hwnd_) ::SetWindowTextW(hwnd_, text.c_str());
  Redraw();
}

void ImageButton::KeepLit(bool lit) {
  lit_ = lit;
  Redraw();
}

void ImageButton::SetFixedLook(std::optional<SlotImage> image) {
  fixed_look_ = image;
  Redraw();
}

void ImageButton::Redraw() const {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

namespace {

// Most of the colour over the key's picture, so the colour reads at a glance while the key's
// legend still shows through, and a frame of the pure colour around it.
constexpr BYTE kTintAlpha = 150;
constexpr int kTintFrame = 2;

void PaintTint(HDC dc, const RECT& client, COLORREF colour) {
  const int w = client.right - client.left;
  const int h = client.bottom - client.top;
  if (w <= 0 || h <= 0) return;
  UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  UniqueBitmap fill(::CreateCompatibleBitmap(dc, w, h));
  if (!memory || !fill) return;
  const HGDIOBJ previous = ::SelectObject(memory.get(), fill.get());
  UniqueBrush brush(::CreateSolidBrush(colour));
  RECT all{0, 0, w, h};
  ::FillRect(memory.get(), &all, brush.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, kTintAlpha, 0};
  ::AlphaBlend(dc, 0, 0, w, h, memory.get(), 0, 0, w, h, blend);
  ::SelectObject(memory.get(), previous);
  for (int i = 0; i < kTintFrame; ++i) {
    RECT frame{i, i, w - i, h - i};
    ::FrameRect(dc, &frame, brush.get());
  }
}

}  // namespace

void ImageButton::SetTint(std::optional<COLORREF> colour) {
  if (tint_ == colour) return;
  tint_ = colour;
  Redraw();
}

void ImageButton::Paint(HDC dc) const {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const LRESULT state = ::SendMessageW(hwnd_, BM_GETSTATE, 0, 0);
  skin::ButtonState s;
  s.disabled = ::IsWindowEnabled(hwnd_) == FALSE;
  s.pressed = (state & BST_PUSHED) != 0 && hover_;
  s.hover = hover_;
  s.selected = selected_;
  skin::ButtonSlot slot = skin::ChooseButtonSlot(s);
  if (lit_ && slot != skin::ButtonSlot::Pressed && slot != skin::ButtonSlot::Disabled) {
    slot = skin::ButtonSlot::Hover;
  }
  const SlotImage& image = fixed_look_ && !s.disabled ? *fixed_look_
                                                      : slots_[static_cast<std::size_t>(slot)];
  if (image.sheet != nullptr) image.sheet->Draw(dc, client.right, client.bottom, image.origin);
  if (tint_) PaintTint(dc, client, *tint_);
  if (!label_.empty()) {
    HGDIOBJ previous = font_ ? ::SelectObject(dc, font_) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, label_colour_);
    RECT r = client;
    ::DrawTextW(dc, label_.c_str(), static_cast<int>(label_.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (previous) ::SelectObject(dc, previous);
  }
}

LRESULT CALLBACK ImageButton::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ImageButton*>(data);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &ImageButton::SubclassProc, 0);
    self->hwnd_ = nullptr;
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

void ImageButton::EndHover() {
  if (!hover_ || hwnd_ == nullptr) return;
  TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_LEAVE, hwnd_, 0};
  ::TrackMouseEvent(&cancel);
  hover_ = false;
  Redraw();
  if (on_hover_) on_hover_(false);
}

LRESULT ImageButton::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      Paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!hover_) {
        hover_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        ::TrackMouseEvent(&track);
        Redraw();
        if (on_hover_) on_hover_(true);
      }
      break;
    case WM_MOUSELEAVE:
      hover_ = false;
      Redraw();
      if (on_hover_) on_hover_(false);
      break;
    case WM_ENABLE:
    case BM_SETSTATE:
    case BM_SETCHECK: {
      const LRESULT r = ::DefSubclassProc(hwnd_, message, wparam, lparam);
      Redraw();
      return r;
    }
    default:
      break;
  }
  return ::DefSubclassProc(hwnd_, message, wparam, lparam);
}

}  // namespace vendrel::controls
