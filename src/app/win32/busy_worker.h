#pragma once
// The one thread Apply's busy indicator and its transfer run on, made once and reused. It has its
// own message queue: 0x0401 tells it to show the progress picture and 0x0402 to hide it 100 ms
// later, which it passes on to the main window as posted messages, so that the window starts and
// stops timer 1050 on its own thread. A job runs on it while the window thread waits for the job's
// end, still painting (TransferPump).
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "controls/handles.h"

namespace vendrel::app {

inline constexpr UINT kBusyShow = 0x0401;
inline constexpr UINT kBusyHide = 0x0402;

class BusyWorker {
 public:
  // Starts the thread and returns once its queue exists, so that nothing posted to it is lost.
  explicit BusyWorker(HWND main_window);
  BusyWorker(const BusyWorker&) = delete;
  BusyWorker& operator=(const BusyWorker&) = delete;
  ~BusyWorker();

  void Show();  // a hide still pending from the last Apply is cancelled
  void Hide();
  // Hands job to the thread; the returned event (owned by the worker) is set when it has run.
  HANDLE Start(std::function<void()> job);

 private:
  void Run();

  HWND main_window_;
  controls::UniqueKernelHandle queue_ready_;
  controls::UniqueKernelHandle job_done_;
  std::mutex job_mutex_;
  std::function<void()> job_;
  std::thread thread_;
  std::atomic<DWORD> thread_id_{0};
};

}  // namespace vendrel::app
