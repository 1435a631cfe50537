#include "app/win32/macro_record_hooks.h"

namespace vendrel::app {

MacroRecorder* MacroRecordHooks::target_ = nullptr;

void MacroRecordHooks::Install(MacroRecorder& recorder) {
  recorder_ = &recorder;
  target_ = &recorder;
  if (!thread_hook_) {
    thread_hook_.reset(::SetWindowsHookExW(WH_KEYBOARD, &ThreadProc, ::GetModuleHandleW(nullptr),
                                           ::GetCurrentThreadId()));
  }
  if (!low_level_hook_) {
    low_level_hook_.reset(
        ::SetWindowsHookExW(WH_KEYBOARD_LL, &LowLevelProc, ::GetModuleHandleW(nullptr), 0));
  }
}

void MacroRecordHooks::Remove() {
  thread_hook_.reset();
  low_level_hook_.reset();
  if (recorder_ != nullptr && target_ == recorder_) target_ = nullptr;
  recorder_ = nullptr;
}

LRESULT CALLBACK MacroRecordHooks::ThreadProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && target_ != nullptr &&
      target_->OnThreadKey(static_cast<std::uint32_t>(wparam), static_cast<std::uint32_t>(lparam),
                           ::GetTickCount())) {
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK MacroRecordHooks::LowLevelProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && target_ != nullptr) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    const bool press = wparam == WM_KEYDOWN || wparam == WM_SYSKEYDOWN;
    if (target_->OnLowLevelKey(event->vkCode, press, ::GetTickCount())) return 1;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace vendrel::app
