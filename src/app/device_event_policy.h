#pragma once
// What the main window does with each device event: which message it gets, which tray icon shows,
// when it hides, and its one chance to open by itself when a keyboard is there at start-up.
#include <atomic>
#include <functional>

#include "app/host_window.h"
#include "app/tray_icons.h"
#include "device/connection_events.h"
#include "device/worker_runner.h"

namespace vendrel::app {

class DeviceEventPolicy final : public device::ConnectionEvents, public device::WorkerRunner {
 public:
  explicit DeviceEventPolicy(HostWindow& window) : window_(window) {}

  void Attached() override;
  void Detached() override;
  bool ReadyForConnection() const override { return window_.IsReady(); }
  void ConnectionSettled(bool connected) override;
  void BankChanged() override;
  void LightingChanged() override;
  void MacroStarted() override;
  void MacroEnded() override;

  void RunWorker(std::function<void()> work) override { window_.RunWorker(std::move(work)); }

  // The tray icon that stands for the connection (what the end of a macro restores).
  int ConnectionIcon() const { return connection_icon_.load(); }

 private:
  HostWindow& window_;
  std::atomic<int> connection_icon_{kIconDisconnected};
};

}  // namespace vendrel::app
