#pragma once
// The one thread that brings the connection state up to date. The library's callback only leaves
// the latest count in a mailbox and returns; the worker takes what has piled up since its last
// turn, so a storm of attach and detach notifications costs one refresh at a time, never a thread
// each, and the last count reported always wins. Whenever it finds the mailbox empty after a turn
// it reports the connection quiet.
//
// Everything the worker waits for (the window's refresh, the window becoming ready) must come to
// an end by itself: nothing may hold the worker for the user, or every later plug and unplug
// would wait behind it.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "device/connection.h"

namespace vendrel::device {

class ConnectionWorker {
 public:
  // Starts the worker thread; connection must outlive this object.
  explicit ConnectionWorker(Connection& connection);
  // Drops what is still pending, ends a wait for the window, and joins the thread.
  ~ConnectionWorker();

  ConnectionWorker(const ConnectionWorker&) = delete;
  ConnectionWorker& operator=(const ConnectionWorker&) = delete;

  // Any thread; returns at once. A count of 0 (or less) is a detach, remembered even when an
  // attach follows before the worker gets to it.
  void Post(int count);

  // Returns once everything posted so far has been handled.
  void WaitIdle();
  // The same, giving up after timeout: false when the worker is still busy then.
  bool WaitIdleFor(std::chrono::milliseconds timeout);

  // Notifications posted, and turns the worker took to handle them (several posts may share one).
  int Posted() const;
  int Handled() const;

 private:
  void Run();
  // Nothing posted is waiting and no turn is running (or the worker is ending); mutex_ held.
  bool IdleLocked() const;

  Connection& connection_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::optional<int> latest_count_;
  bool detach_seen_ = false;
  bool busy_ = false;
  bool stopping_ = false;
  int posted_ = 0;
  int handled_ = 0;
  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace vendrel::device
