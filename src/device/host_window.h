#pragma once
// What the device link needs from the main window: its messages, its timer, the tray icon, worker
// threads and two flags. The Win32 main window implements it; tests observe it.
#include <cstdint>
#include <functional>

#include "device/descriptors.h"

namespace vendrel::device {

// Private messages, each carrying a tag as first parameter that the handler checks.
inline constexpr std::uint32_t kMsgBankChanged = 0x5045;   // first parameter kTagLed
inline constexpr std::uint32_t kMsgProfileRefresh = 0x5452; // first parameter kTagProf
inline constexpr std::uint32_t kMsgCloseChildren = 0x4753;  // child dialogs close
inline constexpr std::uint32_t kMsgOpen = 0x5350;           // first parameter kTagOpen
inline constexpr Tag kTagProf = MakeTag('P', 'R', 'O', 'F');  // 0x50524F46
inline constexpr Tag kTagOpen = MakeTag('O', 'P', 'E', 'N');  // 0x4F50454E

inline constexpr std::uint32_t kTimerLightingChanged = 1051;

inline constexpr int kIconDisconnected = 128;
inline constexpr int kIconConnected = 141;
inline constexpr int kIconMacroPlaying = 142;

class HostWindow {
 public:
  virtual ~HostWindow() = default;

  // Delivers a message and returns when the main window has handled it.
  virtual void SendToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) = 0;
  // Queues a message and returns at once.
  virtual void PostToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) = 0;
  virtual void StartTimer(std::uint32_t id, std::uint32_t period_ms) = 0;
  virtual void HideWindow() = 0;
  virtual void SetTrayIcon(int icon_id) = 0;

  // Runs work on a new thread of its own and returns at once.
  virtual void RunWorker(std::function<void()> work) = 0;

  // Set once the main window's deferred initialisation is done.
  virtual bool IsReady() const = 0;
  // Set once the window has had its one chance to open by itself.
  virtual bool StartFlag() const = 0;
  virtual void SetStartFlag() = 0;
};

}  // namespace vendrel::device
