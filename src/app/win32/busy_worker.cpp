#include "app/win32/busy_worker.h"

#include "app/main_window_commands.h"

namespace vendrel::app {
namespace {

constexpr UINT kRunJob = WM_USER + 3;
constexpr UINT kHideDelayMs = 100;  // the picture stays a moment after a very short Apply

}  // namespace

BusyWorker::BusyWorker(HWND main_window)
    : main_window_(main_window),
      queue_ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      job_done_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  thread_ = std::thread([this] {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue
    thread_id_ = ::GetCurrentThreadId();
    ::SetEvent(queue_ready_.get());
    Run();
  });
  ::WaitForSingleObject(queue_ready_.get(), INFINITE);
}

BusyWorker::~BusyWorker() {
  if (thread_.joinable()) {
    ::PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
}

void BusyWorker::Show() { ::PostThreadMessageW(thread_id_, kBusyShow, 0, 0); }

void BusyWorker::Hide() { ::PostThreadMessageW(thread_id_, kBusyHide, 0, 0); }

HANDLE BusyWorker::Start(std::function<void()> job) {
  {
    std::lock_guard lock(job_mutex_);
    job_ = std::move(job);
  }
  ::ResetEvent(job_done_.get());
  ::PostThreadMessageW(thread_id_, kRunJob, 0, 0);
  return job_done_.get();
}

void BusyWorker::Run() {
  UINT_PTR hide_timer = 0;
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    switch (msg.message) {
      case kBusyShow:
        if (hide_timer != 0) ::KillTimer(nullptr, hide_timer);
        hide_timer = 0;
        ::PostMessageW(main_window_, kMsgBusyStarted, 0, 0);
        break;
      case kBusyHide:
        // A thread timer rather than a sleep: the thread stays free for the next Apply's job.
        if (hide_timer != 0) ::KillTimer(nullptr, hide_timer);
        hide_timer = ::SetTimer(nullptr, 0, kHideDelayMs, nullptr);
        break;
      case WM_TIMER:
        if (hide_timer != 0 && msg.wParam == hide_timer) {
          ::KillTimer(nullptr, hide_timer);
          hide_timer = 0;
          ::PostMessageW(main_window_, kMsgBusyStopped, 0, 0);
        }
        break;
      case kRunJob: {
        std::function<void()> job;
        {
          std::lock_guard lock(job_mutex_);
          job = std::move(job_);
        }
        if (job) job();
        ::SetEvent(job_done_.get());
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace vendrel::app
