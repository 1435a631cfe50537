#pragma once
// What the device events need from the main window: its messages, the tray icon and two flags. The Win32 main window implements it; tests record it. Nothing here may start a
// timer: the device events arrive on other threads, and only the window's own thread may do that.
#include <cstdint>

namespace vendrel::app {

class HostWindow {
 public:
  virtual ~HostWindow() = default;

  // Delivers a message and returns when the main window has handled it.
  virtual void SendToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) = 0;
  // Queues a message and returns at once.
  virtual void PostToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) = 0;
  virtual void HideWindow() = 0;
  virtual void SetTrayIcon(int icon_id) = 0;

  // Set once the main window's deferred initialisation is done.
  virtual bool IsReady() const = 0;
  // Set once the window has had its one chance to open by itself.
  virtual bool StartFlag() const = 0;
  virtual void SetStartFlag() = 0;
};

}  // namespace vendrel::app
