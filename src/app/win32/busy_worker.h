#pragma once
// The busy indicator of Apply: a thread with its own message queue that is told to show (0x0401)
// and to hide (0x0402) the progress image, and tells the main window through posted messages, so
// that the main window starts and stops timer 1050 on its own thread. One worker per Apply; it
// ends after hiding.
#include <windows.h>

#include <thread>

namespace vendrel::app {

inline constexpr UINT kBusyShow = 0x0401;
inline constexpr UINT kBusyHide = 0x0402;
// Posted to the main window by the worker.
inline constexpr UINT kMsgBusyStarted = WM_APP + 0x50;
inline constexpr UINT kMsgBusyStopped = WM_APP + 0x51;

class BusyWorker {
 public:
  explicit BusyWorker(HWND main_window) : main_window_(main_window) {}
  BusyWorker(const BusyWorker&) = delete;
  BusyWorker& operator=(const BusyWorker&) = delete;
  ~BusyWorker() { Join(); }

  void Start();  // starts the thread, waits 100 ms for its queue, then sends show
  void Stop();   // sends hide; the worker hides after 100 ms and ends
  void Join();

 private:
  void Run();

  HWND main_window_;
  std::thread thread_;
  DWORD thread_id_ = 0;
};

}  // namespace vendrel::app
