#pragma once
// A static label drawn straight onto the skin behind it: no background of its own, its text in
// a chosen colour and font. Wraps the dialog's static control without owning it; a font made
// here is owned here, one handed in is not.
#include <windows.h>

#include <optional>
#include <string>

#include "controls/handles.h"
#include "controls/window_hook.h"

namespace vendrel::controls {

// The colour of the key-setting dialog's labels.
inline constexpr COLORREF kLabelColour = RGB(228, 228, 228);

class TransparentLabel {
 public:
  TransparentLabel() = default;
  TransparentLabel(const TransparentLabel&) = delete;
  TransparentLabel& operator=(const TransparentLabel&) = delete;
  ~TransparentLabel();

  bool Attach(HWND dialog, int control_id, COLORREF colour = kLabelColour);
  HWND Hwnd() const { return label_; }

  void SetColour(COLORREF colour);
  void SetFont(HFONT font);  // not owned; lives as long as the label
  // Makes the label's own font: the face at a height in pixels. False when none can be made; the
  // label then keeps its font.
  bool MakeFont(const std::wstring& face, int height, int weight = FW_NORMAL);
  void SetText(const std::wstring& text);
  void Show(bool shown);

 private:
  std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // A label without a background cannot rub out its old text: the skin under it is painted
  // again first.
  void RepaintBehind();

  HWND label_ = nullptr;
  COLORREF colour_ = kLabelColour;
  UniqueFont own_font_;
  WindowHook parent_hook_;  // the colour is asked of the parent
};

}  // namespace vendrel::controls
