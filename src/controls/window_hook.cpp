#include "controls/window_hook.h"

#include <commctrl.h>

#include <utility>

namespace vendrel::controls {

bool WindowHook::Install(HWND hwnd, Handler handler) {
  Remove();
  if (hwnd == nullptr) return false;
  handler_ = std::move(handler);
  if (::SetWindowSubclass(hwnd, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this)) == FALSE) {
    handler_ = nullptr;
    return false;
  }
  hwnd_ = hwnd;
  return true;
}

void WindowHook::Remove() {
  if (hwnd_ != nullptr) {
    ::RemoveWindowSubclass(hwnd_, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(this));
    hwnd_ = nullptr;
  }
  // The handler stays: a handler may take its own hook off while it runs.
}

LRESULT WindowHook::PassOn(UINT message, WPARAM wparam, LPARAM lparam) const {
  return ::DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK WindowHook::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                  UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<WindowHook*>(data);
  if (message == WM_NCDESTROY) {
    // The handler sees the end of the window, then the hook comes off before the window goes.
    if (self->handler_) self->handler_(message, wparam, lparam);
    self->Remove();
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  if (self->handler_) {
    if (const std::optional<LRESULT> result = self->handler_(message, wparam, lparam)) {
      return *result;
    }
  }
  return ::DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace vendrel::controls
