#pragma once
// Sees a window's messages before its own procedure, for the life of this object (comctl32
// subclassing, so several hooks may share one window). The window is not owned: the hook comes
// off when this object ends or, first, when the window is destroyed.
#include <windows.h>

#include <functional>
#include <optional>

namespace vendrel::controls {

class WindowHook {
 public:
  // A result ends the message there; nothing passes it on to the window's own procedure.
  using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM, LPARAM)>;

  WindowHook() = default;
  WindowHook(const WindowHook&) = delete;
  WindowHook& operator=(const WindowHook&) = delete;
  ~WindowHook() { Remove(); }

  bool Install(HWND hwnd, Handler handler);
  void Remove();
  HWND Hwnd() const { return hwnd_; }
  // The window's own treatment of a message, for a handler that adds to it.
  LRESULT PassOn(UINT message, WPARAM wparam, LPARAM lparam) const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  HWND hwnd_ = nullptr;
  Handler handler_;
};

}  // namespace vendrel::controls
