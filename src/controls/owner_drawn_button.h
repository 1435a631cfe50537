#pragma once
// The button a picture control is made from: a dialog's BUTTON turned owner-drawn, painted by the
// control's subclass in WM_PAINT (so the dialog needs no WM_DRAWITEM), clicked as any button is
// (mouse, Space) and also by Enter while it has the focus. Every click reaches the dialog as the
// usual WM_COMMAND with BN_CLICKED.
#include <windows.h>

#include <optional>

#include "controls/window_hook.h"

namespace vendrel::controls {

// Makes a dialog's button owner-drawn whatever its template said: such a button paints nothing
// by itself and never becomes the dialog's default button.
void MakeOwnerDrawn(HWND button);

// Finds the dialog's button, makes it owner-drawn and installs the control's handler on it. The
// button, or null (the hook removed) when there is no such button or it cannot be hooked.
HWND AttachOwnerDrawn(WindowHook& hook, HWND dialog, int control_id, WindowHook::Handler handler);

// The messages every owner-drawn picture button answers alike, for its hook's handler: a result
// when the message is dealt with, none to let the control go on. Redraws the button when its
// focus, pressed state, enabled state or focus cues change; takes a double click as a second
// click; sends BN_CLICKED for Enter.
std::optional<LRESULT> HandleButtonMessage(const WindowHook& hook, UINT message, WPARAM wparam,
                                           LPARAM lparam);

}  // namespace vendrel::controls
