#pragma once
// Message boxes owned by a window of the program (or none), captioned with the program's title.
#include <windows.h>

#include <string>

#include "platform/message_box.h"

namespace vendrel::platform::win32 {

class Win32MessageBoxes final : public MessageBoxes {
 public:
  // owner may be null; the caller keeps the window alive while boxes are shown.
  Win32MessageBoxes(HWND owner, std::u16string caption)
      : owner_(owner), caption_(std::move(caption)) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  void ShowOk(std::u16string_view text) override;
  bool AskYesNo(std::u16string_view text) override;

 private:
  HWND owner_;
  std::u16string caption_;
};

}  // namespace vendrel::platform::win32
