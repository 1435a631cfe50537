#pragma once
// The main window's behaviour, apart from Win32: initialisation order (the tray icon before the
// connection worker), deferred initialisation, show and hide, Apply, restore defaults, the tray icon state and the order of shutdown.
#include <atomic>
#include <cstdint>

#include "app/main_window_view.h"

namespace vendrel::app {

// Flags shared with the connection worker and other threads.
struct ShellFlags {
  std::atomic<bool> start{false};             // the window must not open by itself
  std::atomic<bool> ready{false};             // deferred initialisation has run
  std::atomic<bool> settings_changed{false};  // Apply is enabled
};

inline constexpr int kBusyFrameCount = 10;
inline constexpr int kProfileButtonCount = 3;  // one per keyboard profile

class MainWindowLogic {
 public:
  MainWindowLogic(MainWindowView& view, MainWindowServices& services, ShellFlags& flags);

  // Returns false when the process was told to exit.
  bool OnInitDialog();
  void OnDeferredInit();

  void Show();
  void Hide();
  void OnOk();  // Apply, then hide
  void Apply();
  void RestoreDefaults();
  void CloseProgram();
  // "PROF": reads the keyboard that came. The connection worker waits for this, so it tells the
  // user nothing: a failed read is told by OnConnectionQuiet.
  void OnConnected();
  void OnDisconnected();  // child dialogs close
  // "CALM": every plug and unplug so far is handled. Tells once that the keyboard could not be
  // read when the last connect refresh failed and the keyboard is still there.
  void OnConnectionQuiet();

  void SetSettingsChanged(bool changed);

  // Tray icon: changes it only when it differs; a re-created taskbar gets the current one.
  void SetTrayIcon(int icon_id);
  void OnTaskbarCreated();
  int CurrentTrayIcon() const { return current_icon_.load(); }

  // Frame paint: the first two requests hide the window. Returns true when this one hid it.
  bool OnFramePaint();

  // Timer 1050: the next progress frame, 0..9 cycling.
  int NextBusyFrame();

  bool Closed() const { return closed_; }

 private:
  MainWindowView& view_;
  MainWindowServices& services_;
  ShellFlags& flags_;
  std::atomic<int> current_icon_{0};
  std::atomic<bool> tray_added_{false};
  // The tray icon with the "not connected" image; removed again at most once.
  void AddTrayIcon();
  void RemoveTrayIcon();
  // Apply's write, and what the user is told about it.
  void WriteSettings();
  // One write of the active profile on the busy worker, then its report on this thread.
  KeyboardWrite WriteActiveProfile();
  // Reads the keyboard's settings again into the WorkingStore and redraws the keys.
  KeyboardRead ReadKeyboardAgain();

  // The last connect refresh could not read the keyboard and the user has not been told yet.
  bool read_failure_untold_ = false;
  bool telling_read_failure_ = false;  // its box is open
  int frame_paint_hides_left_ = 2;
  int busy_frame_ = 0;
  bool closed_ = false;
};

}  // namespace vendrel::app
