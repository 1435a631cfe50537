#pragma once
// A picture over a button of a dialog: one bitmap stretched over the button, which the owner
// swaps to show a state (a switch on or off, a choice made). Clicks, Space and Enter reach the
// dialog as BN_CLICKED; a thin focus rectangle shows while it has the keyboard focus. Without a
// picture the skin behind shows through. A disabled one without tab stop is a plain picture (the
// progress indicator). Wraps the dialog's button without owning it; the bitmap is not owned.
#include <windows.h>

#include <optional>

#include "controls/window_hook.h"

namespace vendrel::controls {

class ImageToggle {
 public:
  ImageToggle() = default;
  ImageToggle(const ImageToggle&) = delete;
  ImageToggle& operator=(const ImageToggle&) = delete;

  bool Attach(HWND dialog, int control_id);
  HWND Hwnd() const { return hwnd_; }
  int Id() const { return id_; }

  // Not owned; it must live while it is shown. nullptr: no picture.
  void SetImage(HBITMAP image);
  HBITMAP Image() const { return image_; }

 private:
  std::optional<LRESULT> Handle(UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  int id_ = 0;
  HBITMAP image_ = nullptr;
  WindowHook hook_;
};

}  // namespace vendrel::controls
