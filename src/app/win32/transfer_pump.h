#pragma once
// The window thread's wait for a transfer running on the busy worker: it goes on painting and
// animating the progress picture, throws the user's input away, and keeps every other message,
// its own private ones sent from other threads included, for after the transfer (in their order).
#include <windows.h>

#include <functional>
#include <vector>

#include "app/win32/busy_worker.h"

namespace vendrel::app {

class TransferPump {
 public:
  // Runs job on worker and returns when it has run; main_window is the window whose private
  // messages and timers the wait looks after.
  void Run(HWND main_window, BusyWorker& worker, std::function<void()> job);
  bool Running() const { return running_; }
  // A message the window received while Running() that must wait until the transfer is over.
  void Defer(UINT message, WPARAM first, LPARAM second);

 private:
  void Drain();  // sorts every queued message: dispatched, dropped, paused or kept
  void Replay();

  HWND main_window_ = nullptr;
  bool running_ = false;
  std::vector<MSG> deferred_;
  std::vector<UINT_PTR> paused_timers_;
};

}  // namespace vendrel::app
