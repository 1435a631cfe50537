#pragma once
// What the main window does with each device event: which message it gets, which tray icon shows,
// when it hides, and its one chance to open by itself when a keyboard is there at start-up.
#include <atomic>

#include "app/host_window.h"
#include "app/tray_icons.h"
#include "device/connection_events.h"

namespace vendrel::app {

class DeviceEventPolicy final : public device::ConnectionEvents {
 public:
  explicit DeviceEventPolicy(HostWindow& window) : window_(window) {}

  void Attached() override;
  void Detached() override;
  bool ReadyForConnection() const override { return window_.IsReady(); }
  void ConnectionSettled(bool connected) override;
  void ConnectionQuiet(bool connected) override;
  void BankChanged() override;
  void LightingChanged() override;
  void MacroStarted() override;
  void MacroEnded() override;

  // The tray icon that stands for the connection (what the end of a macro restores).
  int ConnectionIcon() const { return connection_icon_.load(); }

 private:
  HostWindow& window_;
  std::atomic<int> connection_icon_{kIconDisconnected};
};

}  // namespace vendrel::app
