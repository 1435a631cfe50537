#pragma once
// How the picture controls (image toggles, bitmap sliders, colour buttons) paint: a bitmap
// stretched over a rectangle, the see-through look of a control without a picture, the focus
// cue.
#include <windows.h>

namespace vendrel::controls {

// Draws the whole bitmap stretched over `area`; nothing for no bitmap. The bitmap is selected
// into a memory DC only while it is drawn, so one bitmap may serve several controls.
void PaintStretched(HDC dc, const RECT& area, HBITMAP picture);

// A control without a picture lets the skin behind it show: it takes an empty window region, so
// the dialog paints there and the pointer passes through (it keeps the keyboard focus it has).
// With a picture the region goes again.
void SetSeeThrough(HWND control, bool see_through);

// A picture control's whole WM_PAINT: its bitmap over the client area, with the focus cue when
// it has a picture to show it on.
void PaintPictureControl(HWND control, HBITMAP picture);

// Whether the control should show its focus rectangle now: it has the focus and the window has
// not hidden focus cues (they show once the keyboard is used).
bool ShowsFocusCue(HWND control);

}  // namespace vendrel::controls
