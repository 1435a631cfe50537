#include "app/win32/transfer_pump.h"

#include "app/transfer_message_policy.h"

namespace vendrel::app {

void TransferPump::Run(HWND main_window, BusyWorker& worker, std::function<void()> job) {
  main_window_ = main_window;
  running_ = true;
  const HANDLE done = worker.Start(std::move(job));
  for (;;) {
    const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT,
                                                     MWMO_INPUTAVAILABLE);
    // Once more after the end, so that what came last is sorted like the rest rather than
    // overtaking the kept messages.
    Drain();
    if (woke != WAIT_OBJECT_0 + 1) break;
  }
  running_ = false;
  Replay();
}

void TransferPump::Drain() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    switch (ClassifyDuringTransfer(msg.message, msg.wParam, msg.hwnd == main_window_)) {
      case DuringTransfer::Dispatch: ::DispatchMessageW(&msg); break;
      case DuringTransfer::Drop: break;
      case DuringTransfer::Pause:
        ::KillTimer(msg.hwnd, msg.wParam);
        paused_timers_.push_back(msg.wParam);
        break;
      case DuringTransfer::Defer: KeepForAfterTransfer(deferred_, msg); break;
    }
  }
}

void TransferPump::Defer(UINT message, WPARAM first, LPARAM second) {
  MSG msg{};
  msg.hwnd = main_window_;
  msg.message = message;
  msg.wParam = first;
  msg.lParam = second;
  KeepForAfterTransfer(deferred_, msg);
}

void TransferPump::Replay() {
  for (const UINT_PTR id : paused_timers_) ::SetTimer(main_window_, id, 0, nullptr);
  paused_timers_.clear();
  // Posted behind whatever is queued now, in the order they came.
  for (const MSG& msg : deferred_) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
    } else if (msg.hwnd == nullptr) {
      ::PostThreadMessageW(::GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
    } else {
      ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
  }
  deferred_.clear();
}

}  // namespace vendrel::app
