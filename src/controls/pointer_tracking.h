#pragma once
// Ends the thread's following of the pointer for WM_MOUSELEAVE, whichever window asked for it.
// Wine follows a tracked pointer with a timer that runs until the pointer leaves the window; a
// window hidden under a resting pointer (a dialog closed by a click, the main window going to the
// tray) would keep the program waking for nothing.
#include <windows.h>

namespace vendrel::controls {

void StopPointerTracking();

}  // namespace vendrel::controls
