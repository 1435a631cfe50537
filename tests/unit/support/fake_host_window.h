#pragma once
// The main window as the device events see it, recording everything it is asked to do.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/host_window.h"

namespace vendrel::testing {

class FakeHostWindow final : public app::HostWindow {
 public:
  struct Message {
    std::uint32_t id;
    std::uint32_t first;
    bool sent;  // SendToWindow rather than PostToWindow
  };

  void SendToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) override;
  void PostToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) override;
  void HideWindow() override;
  void SetTrayIcon(int icon_id) override;
  bool IsReady() const override { return ready_.load(); }
  bool StartFlag() const override { return start_flag_.load(); }
  void SetStartFlag() override { start_flag_.store(true); }

  void SetReady(bool ready) { ready_.store(ready); }
  void SetStartFlagValue(bool value) { start_flag_.store(value); }
  // Runs inside SendToWindow, on the sending thread, before it returns.
  void OnSend(std::function<void(const Message&)> handler);

  std::vector<Message> Messages() const;
  std::vector<int> TrayIcons() const;
  int HideCount() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::vector<int> icons_;
  std::function<void(const Message&)> on_send_;
  int hides_ = 0;
  std::atomic<bool> ready_{true};
  std::atomic<bool> start_flag_{false};
};

}  // namespace vendrel::testing
