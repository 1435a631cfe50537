#include "controls/owner_drawn_button.h"

#include <utility>

namespace vendrel::controls {
namespace {

// Whether the dialog manager asks about an Enter key press (WM_GETDLGCODE's lParam).
bool AsksAboutEnter(LPARAM lparam) {
  const auto* message = reinterpret_cast<const MSG*>(lparam);
  return message != nullptr &&
         (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
         message->wParam == VK_RETURN;  // the key and its character share the code
}

}  // namespace

void MakeOwnerDrawn(HWND button) {
  if (button == nullptr) return;
  const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  const LONG_PTR owner_drawn = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
  if (owner_drawn != style) ::SetWindowLongPtrW(button, GWL_STYLE, owner_drawn);
}

std::optional<LRESULT> HandleButtonMessage(const WindowHook& hook, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  HWND button = hook.Hwnd();
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole button
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE: {
      // The button's own drawing of these changes is an owner-draw request nobody answers.
      const LRESULT result = hook.PassOn(message, wparam, lparam);
      ::InvalidateRect(button, nullptr, FALSE);
      return result;
    }
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click instead of its second click; a picture
      // button clicked twice quickly has been clicked twice.
      return hook.PassOn(WM_LBUTTONDOWN, wparam, lparam);
    case WM_GETDLGCODE: {
      LRESULT code = hook.PassOn(message, wparam, lparam);
      if (AsksAboutEnter(lparam)) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wparam != VK_RETURN) return std::nullopt;
      if ((lparam & (1 << 30)) == 0) {  // not a repeat of a held key
        ::SendMessageW(::GetParent(button), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
      }
      return 0;
    case WM_CHAR:
      if (wparam == VK_RETURN) return 0;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

HWND AttachOwnerDrawn(WindowHook& hook, HWND dialog, int control_id, WindowHook::Handler handler) {
  hook.Remove();
  HWND button = ::GetDlgItem(dialog, control_id);
  if (button == nullptr) return nullptr;
  MakeOwnerDrawn(button);
  return hook.Install(button, std::move(handler)) ? button : nullptr;
}

}  // namespace vendrel::controls
