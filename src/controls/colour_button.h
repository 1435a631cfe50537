#pragma once
// A button of a dialog that shows a colour as a framed swatch and lets the user choose another.
// A click (or Space, or Enter) opens the palette (controls/palette_popup.h) with its top-left at
// the button's bottom-left on the screen (placed by control_logic::PalettePlacement, so it stays
// on the work area); its "other" row opens the standard colour dialog, owned by the top window
// and starting from the current colour. Each choice, even of the colour already shown, sets the
// button's colour and sends the dialog WM_COMMAND(MAKEWPARAM(id, kColourButtonChanged), hwnd);
// the dialog does not see the button's own clicks. SetColour from code sends nothing.
// Colours are COLORREF: R | G << 8 | B << 16, as the lighting record holds them.
// Wraps the dialog's button without owning it.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "controls/palette_popup.h"
#include "controls/window_hook.h"

namespace vendrel::controls {

// The notification code of a colour chosen by the user.
inline constexpr WORD kColourButtonChanged = 0x0A01;

class ColourButton {
 public:
  ColourButton() = default;
  ColourButton(const ColourButton&) = delete;
  ColourButton& operator=(const ColourButton&) = delete;
  ~ColourButton();

  bool Attach(HWND dialog, int control_id);
  HWND Hwnd() const { return hwnd_; }
  int Id() const { return id_; }

  void SetColour(COLORREF colour);
  COLORREF Colour() const { return colour_; }
  // The text of the palette's row that opens the colour dialog; "other" until set.
  void SetOtherLabel(std::wstring text) { other_label_ = std::move(text); }

  // Opens the palette as a click does; nothing while the button is disabled.
  void OpenPalette();
  bool PaletteOpen() const { return popup_ != nullptr; }

 private:
  std::optional<LRESULT> Handle(UINT message, WPARAM wparam, LPARAM lparam);
  std::optional<LRESULT> OnDialogMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC dc) const;
  void PaletteDone(WPARAM serial);
  std::optional<COLORREF> AskColourDialog() const;
  void Choose(COLORREF colour);

  HWND hwnd_ = nullptr;
  int id_ = 0;
  COLORREF colour_ = RGB(0, 0, 0);
  std::wstring other_label_ = L"other";
  WPARAM serial_ = 0;
  WindowHook hook_;
  WindowHook dialog_hook_;  // the button's clicks reach the dialog
  std::unique_ptr<PalettePopup> popup_;  // last: goes first
};

}  // namespace vendrel::controls
