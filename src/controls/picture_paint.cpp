#include "controls/picture_paint.h"

#include "controls/handles.h"

namespace vendrel::controls {

void PaintStretched(HDC dc, const RECT& area, HBITMAP picture) {
  if (picture == nullptr) return;
  BITMAP info{};
  if (::GetObjectW(picture, sizeof(info), &info) == 0) return;
  UniqueMemoryDc source(::CreateCompatibleDC(dc));
  if (!source) return;
  ScopedSelect select(source.get(), picture);
  // Skin pictures are drawn pixel for pixel; no blending when a control is sized differently.
  const int previous_mode = ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  if (previous_mode != 0) ::SetStretchBltMode(dc, previous_mode);
}

void SetSeeThrough(HWND control, bool see_through) {
  if (control == nullptr) return;
  if (!see_through) {
    ::SetWindowRgn(control, nullptr, TRUE);
    return;
  }
  UniqueRegion nothing(::CreateRectRgn(0, 0, 0, 0));
  // The window owns the region once it takes it.
  if (nothing && ::SetWindowRgn(control, nothing.get(), TRUE) != 0) nothing.release();
}

bool ShowsFocusCue(HWND control) {
  if (control == nullptr || ::GetFocus() != control) return false;
  const LRESULT ui_state = ::SendMessageW(control, WM_QUERYUISTATE, 0, 0);
  return (ui_state & UISF_HIDEFOCUS) == 0;
}

void PaintPictureControl(HWND control, HBITMAP picture) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(control, &ps);
  RECT client{};
  ::GetClientRect(control, &client);
  PaintStretched(dc, client, picture);
  if (picture != nullptr && ShowsFocusCue(control)) ::DrawFocusRect(dc, &client);
  ::EndPaint(control, &ps);
}

}  // namespace vendrel::controls
