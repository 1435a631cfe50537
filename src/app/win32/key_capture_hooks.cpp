#include "app/win32/key_capture_hooks.h"

namespace vendrel::app {

CompositeDialogLogic* KeyCaptureHooks::target_ = nullptr;

void KeyCaptureHooks::Install() {
  target_ = &logic_;
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  if (!thread_hook_) {
    thread_hook_.reset(::SetWindowsHookExW(WH_KEYBOARD, &ThreadProc, nullptr, ::GetCurrentThreadId()));
  }
  if (!low_level_hook_) {
    low_level_hook_.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, &LowLevelProc, module, 0));
  }
}

void KeyCaptureHooks::Remove() {
  thread_hook_.reset();
  low_level_hook_.reset();
  if (target_ == &logic_) target_ = nullptr;
}

LRESULT CALLBACK KeyCaptureHooks::ThreadProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && target_ != nullptr &&
      target_->OnCaptureKey(static_cast<std::uint32_t>(wparam), static_cast<std::uint32_t>(lparam))) {
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK KeyCaptureHooks::LowLevelProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && target_ != nullptr) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if (target_->OnLowLevelKey(static_cast<std::uint32_t>(wparam), event->vkCode)) return 1;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace vendrel::app
