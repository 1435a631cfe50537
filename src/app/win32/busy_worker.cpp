#include "app/win32/busy_worker.h"

#include <atomic>

namespace vendrel::app {

void BusyWorker::Join() {
  if (thread_.joinable()) {
    ::PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
}

void BusyWorker::Start() {
  Join();
  std::atomic<DWORD> id{0};
  thread_ = std::thread([this, &id] {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue
    id = ::GetCurrentThreadId();
    Run();
  });
  ::Sleep(100);
  while (id.load() == 0) ::Sleep(1);
  thread_id_ = id.load();
  ::PostThreadMessageW(thread_id_, kBusyShow, 0, 0);
}

void BusyWorker::Stop() {
  if (thread_.joinable()) ::PostThreadMessageW(thread_id_, kBusyHide, 0, 0);
}

void BusyWorker::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kBusyShow) {
      ::PostMessageW(main_window_, kMsgBusyStarted, 0, 0);
    } else if (msg.message == kBusyHide) {
      ::Sleep(100);
      ::PostMessageW(main_window_, kMsgBusyStopped, 0, 0);
      return;
    }
  }
}

}  // namespace vendrel::app
