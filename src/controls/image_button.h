#pragma once
// A skinned push button: five image slots cut from state sheets (normal, hover, pressed,
// disabled, selected), an optional centred label, and hover tracking. Wraps an existing BUTTON
// control of a dialog by subclassing it; it does not own the window.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "controls/sheet_surface.h"
#include "skin/state_sheet.h"

namespace vendrel::controls {

struct SlotImage {
  const SheetSurface* sheet = nullptr;  // not owned; lives as long as the main window
  POINT origin{0, 0};
};

// The sheets of the five slots, in slot order; not owned.
using SlotSheetSurfaces = std::array<const SheetSurface*, skin::kButtonSlotCount>;

class ImageButton {
 public:
  ImageButton() = default;
  ImageButton(const ImageButton&) = delete;
  ImageButton& operator=(const ImageButton&) = delete;
  ~ImageButton();

  bool Attach(HWND dialog, int control_id);
  HWND Hwnd() const { return hwnd_; }
  int Id() const { return id_; }

  void SetSlot(skin::ButtonSlot slot, SlotImage image);
  void SetAllSlots(SlotImage image);
  // Every slot from its sheet, cut where the button now stands in its window: for a button whose
  // image set changes after it was placed.
  void SetSlotsAtOwnPosition(const SlotSheetSurfaces& sheets);
  void SetSelected(bool selected);
  bool Selected() const { return selected_; }
  void SetLabel(const std::wstring& text, HFONT font, COLORREF colour);  // font not owned
  // Lit: the hover image in every state but pressed and disabled, while a dialog edits its key.
  void KeepLit(bool lit);
  // An image shown in every state but disabled (the colour-keys look); none: the usual slots.
  void SetFixedLook(std::optional<SlotImage> image);
  // A colour laid over the button's image (the key's lighting colour); none: the image alone.
  void SetTint(std::optional<COLORREF> colour);
  // Called with true when the pointer comes over the button and false when it leaves.
  void SetHoverHandler(std::function<void(bool)> handler) { on_hover_ = std::move(handler); }
  void Redraw() const;
  // Forgets the pointer resting on the button and stops following it (for a window going to the
  // tray: Wine follows a tracked pointer with a timer until it leaves, which a hidden window's
  // pointer may never do).
  void EndHover();

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC dc) const;

  HWND hwnd_ = nullptr;
  int id_ = 0;
  std::array<SlotImage, skin::kButtonSlotCount> slots_{};
  bool selected_ = false;
  bool hover_ = false;
  bool lit_ = false;
  std::optional<SlotImage> fixed_look_;
  std::optional<COLORREF> tint_;
  std::function<void(bool)> on_hover_;
  std::wstring label_;
  HFONT font_ = nullptr;
  COLORREF label_colour_ = RGB(255, 255, 255);
};

}  // namespace vendrel::controls
