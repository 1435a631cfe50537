#pragma once
// The popup palette of a colour button: a grid of colour cells and an "other" row (laid out by
// control_logic/palette_geometry.h), in a borderless popup window owned by the top window. It
// takes the activation, so the keyboard reaches it: arrows move the highlight, Enter or Space
// picks it, Escape closes. The mouse highlights what it is over and picks it on release. Any
// activation elsewhere (a click outside) closes it.
//
// Once done it hides and posts its done message to the window that opened it, with wParam the
// serial it was given; that window reads Outcome() and destroys the popup. The popup never ends
// itself, so nothing runs on a destroyed object.
#include <windows.h>

#include <memory>
#include <string>

#include "controls/handles.h"

namespace vendrel::controls {

struct PaletteOutcome {
  enum class Kind { Dismissed, Colour, Other };
  Kind kind = Kind::Dismissed;
  COLORREF colour = 0;  // for Kind::Colour
};

struct PaletteRequest {
  HWND owner = nullptr;      // the top window
  POINT at{0, 0};            // the popup's top-left, screen coordinates
  COLORREF current = 0;      // its cell is highlighted first
  std::wstring other_label;  // text of the "other" row
  HFONT font = nullptr;      // not owned; the system's GUI font when none
  HWND report_to = nullptr;
  UINT done_message = 0;
  WPARAM serial = 0;
};

class PalettePopup {
 public:
  // The shown popup, or nullptr when no window could be made.
  static std::unique_ptr<PalettePopup> Open(PaletteRequest request);
  PalettePopup(const PalettePopup&) = delete;
  PalettePopup& operator=(const PalettePopup&) = delete;
  ~PalettePopup();

  HWND Hwnd() const { return window_.get(); }
  WPARAM Serial() const { return request_.serial; }
  PaletteOutcome Outcome() const { return outcome_; }

 private:
  explicit PalettePopup(PaletteRequest request);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC dc) const;
  void Highlight(int item);
  void Pick(int item);
  void Finish(PaletteOutcome outcome);

  PaletteRequest request_;
  UniqueWindow window_;
  int highlighted_;
  bool pressed_ = false;  // the left button went down on the popup
  bool finished_ = false;
  PaletteOutcome outcome_;
};

}  // namespace vendrel::controls
