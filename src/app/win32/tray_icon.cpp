#include "app/win32/tray_icon.h"

#include <cwchar>

namespace vendrel::app {
namespace {

// Shared icons from the module's resources are owned by the system; nothing to destroy.
HICON SmallResourceIcon(int resource) {
  return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                         IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                         ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

}  // namespace

bool CTrayIcon::Add(HWND owner, UINT id, UINT callback_message, int icon_resource,
                    const std::wstring& tip) {
  std::lock_guard lock(mutex_);
  data_ = {};
  data_.cbSize = sizeof(data_);
  data_.hWnd = owner;
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callback_message;
  data_.hIcon = SmallResourceIcon(icon_resource);
  std::wcsncpy(data_.szTip, tip.c_str(), std::size(data_.szTip) - 1);
  added_ = ::Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return added_;
}

bool CTrayIcon::SetIcon(int icon_resource) {
  std::lock_guard lock(mutex_);
  if (!added_) return false;
  data_.uFlags = NIF_ICON;
  data_.hIcon = SmallResourceIcon(icon_resource);
  return ::Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

void CTrayIcon::Remove() {
  std::lock_guard lock(mutex_);
  if (!added_) return;
  ::Shell_NotifyIconW(NIM_DELETE, &data_);
  added_ = false;
}

}  // namespace vendrel::app
