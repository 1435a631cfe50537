#pragma once
// CTrayIcon: the program's icon in the notification area. Removing it is tied to the owner's
// lifetime, so the icon never outlives the program.
#include <windows.h>

#include <shellapi.h>

#include <mutex>
#include <string>

namespace vendrel::app {

class CTrayIcon {
 public:
  CTrayIcon() = default;
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;
  ~CTrayIcon() { Remove(); }

  // Adds (or adds again, after the taskbar restarted) the icon with a resource icon and tooltip.
  bool Add(HWND owner, UINT id, UINT callback_message, int icon_resource, const std::wstring& tip);
  bool SetIcon(int icon_resource);
  void Remove();
  bool Added() const { return added_; }

 private:
  std::mutex mutex_;  // the icon changes from worker threads too
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

}  // namespace vendrel::app
