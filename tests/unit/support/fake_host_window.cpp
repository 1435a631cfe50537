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

void FakeHostWindow::OnSend(std::function<void(const Message&)> handler) {
  std::lock_guard lock(mutex_);
  on_send_ = std::move(handler);
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

}  // namespace vendrel::testing
