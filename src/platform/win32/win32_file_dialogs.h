#pragma once
// The system's open and save dialogs, owned by a window of the program.
#include <windows.h>

#include "platform/file_dialog.h"

namespace vendrel::platform::win32 {

class Win32FileDialogs final : public FileDialogs {
 public:
  explicit Win32FileDialogs(HWND owner) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  std::optional<std::u16string> Choose(const FileDialogRequest& request) override;

 private:
  HWND owner_;
};

}  // namespace vendrel::platform::win32
