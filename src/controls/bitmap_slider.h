#pragma once
// A slider over a button of a dialog whose picture shows its position: the owner swaps the
// picture for each position. The whole width maps onto the range (left pixel: minimum, right
// pixel: maximum). The mouse sets the position where it presses and, captured, while it drags;
// the keyboard steps it (Left/Down -1, Right/Up +1, PageDown/PageUp by the page, Home/End).
//
// Every change the user makes is posted to the dialog at once as kMsgSliderMoved (wParam: the
// control id, lParam: the new position), so the picture follows a drag; a press or drag step
// that leaves the position where it was posts nothing, and nothing more is posted on release.
// Changes from code (SetPosition, SetRange) post nothing.
//
// Without a picture the skin behind shows through (and the pointer passes through). Wraps the
// dialog's button without owning it; the picture is not owned.
#include <windows.h>

#include <optional>

#include "control_logic/slider_geometry.h"
#include "controls/window_hook.h"

namespace vendrel::controls {

inline constexpr UINT kMsgSliderMoved = 0x28D1;

class BitmapSlider {
 public:
  BitmapSlider() = default;
  BitmapSlider(const BitmapSlider&) = delete;
  BitmapSlider& operator=(const BitmapSlider&) = delete;

  bool Attach(HWND dialog, int control_id);
  HWND Hwnd() const { return hwnd_; }
  int Id() const { return id_; }

  // Both ends included; a maximum below the minimum leaves the minimum only. The position is
  // brought into the new range without a message.
  void SetRange(int min, int max);
  control_logic::SliderRange Range() const { return range_; }
  // The step of PageUp and PageDown; below 1 counts as 1.
  void SetPageSize(int page) { page_ = page; }
  // Clamped to the range; no message.
  void SetPosition(int position);
  int Position() const { return position_; }
  // Not owned; it must live while it is shown. nullptr: no picture.
  void SetPicture(HBITMAP picture);
  HBITMAP Picture() const { return picture_; }

 private:
  std::optional<LRESULT> Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void MoveToX(int x);
  // A change by the user: posted to the dialog when the position changes.
  void MoveByUser(int position);

  HWND hwnd_ = nullptr;
  int id_ = 0;
  control_logic::SliderRange range_{0, 100};
  int page_ = 10;
  int position_ = 0;
  bool dragging_ = false;
  HBITMAP picture_ = nullptr;
  WindowHook hook_;
};

}  // namespace vendrel::controls
