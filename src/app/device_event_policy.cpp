#include "app/device_event_policy.h"

#include "app/window_messages.h"

namespace vendrel::app {

void DeviceEventPolicy::Attached() { window_.SendToWindow(kMsgProfile, kTagProfile, 0); }

void DeviceEventPolicy::Detached() {
  window_.SendToWindow(kMsgDetach, 0, 0);
  window_.HideWindow();
}

void DeviceEventPolicy::ConnectionSettled(bool connected) {
  const int icon = connected ? kIconConnected : kIconDisconnected;
  window_.SetTrayIcon(icon);
  connection_icon_.store(icon);
  if (!window_.StartFlag()) {
    if (connected) window_.PostToWindow(kMsgOpen, kTagOpen, 0);
    window_.SetStartFlag();
  }
}

// Posted: the window may show a box for it, and the worker must not wait for the user.
void DeviceEventPolicy::ConnectionQuiet(bool connected) {
  if (connected) window_.PostToWindow(kMsgConnectionQuiet, kTagQuiet, 0);
}

// Posted, not sent: the main thread may be waiting in an exchange for a reply that the library's
// thread, which reports this, has yet to deliver.
void DeviceEventPolicy::BankChanged() { window_.PostToWindow(kMsgLed, kTagLed, 0); }

void DeviceEventPolicy::LightingChanged() { window_.PostToWindow(kMsgLighting, kTagLighting, 0); }

void DeviceEventPolicy::MacroStarted() { window_.SetTrayIcon(kIconMacroPlaying); }

void DeviceEventPolicy::MacroEnded() { window_.SetTrayIcon(connection_icon_.load()); }

}  // namespace vendrel::app
