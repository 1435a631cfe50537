#include "support/fake_host_window.h"

namespace vendrel::testing {

void FakeHostWindow::SendToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t) {
  std::function<void(const Message&)> handler;
  const Message m{message, first, true};
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(m);
    handler = on_send_;
  }
  if (handler) handler(m);
}

void FakeHostWindow::PostToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t) {
  std::lock_guard lock(mutex_);
  messages_.push_back({message, first, false});
}

void FakeHostWindow::HideWindow() {
  std::lock_guard lock(mutex_);
  ++hides_;
}

void FakeHostWindow::SetTrayIcon(int icon_id) {
  std::lock_guard lock(mutex_);
  icons_.push_back(icon_id);
}

void FakeHostWindow::RunWorker(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  ++workers_started_;
  workers_.emplace_back(std::move(work));
}

void FakeHostWindow::OnSend(std::function<void(const Message&)> handler) {
  std::lock_guard lock(mutex_);
  on_send_ = std::move(handler);
}

void FakeHostWindow::Join() {
  // Workers may start further workers; keep joining until none is left.
  for (;;) {
    std::vector<std::thread> batch;
    {
      std::lock_guard lock(mutex_);
      batch.swap(workers_);
    }
    if (batch.empty()) return;
    for (std::thread& t : batch) t.join();
  }
}

std::vector<FakeHostWindow::Message> FakeHostWindow::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<int> FakeHostWindow::TrayIcons() const {
  std::lock_guard lock(mutex_);
  return icons_;
}

int FakeHostWindow::HideCount() const {
  std::lock_guard lock(mutex_);
  return hides_;
}

int FakeHostWindow::WorkersStarted() const {
  std::lock_guard lock(mutex_);
  return workers_started_;
}

}  // namespace vendrel::testing
