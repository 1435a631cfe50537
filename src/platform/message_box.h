#pragma once
// The message boxes that core logic shows: refusals and errors as OK boxes, destructive
// confirmations as Yes/No boxes whose default button is No. The interface is not called
// MessageBox because the Windows headers define that name as a macro.
#include <string_view>

namespace vendrel::platform {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // An OK box with the application's title as caption; returns when the user closes it.
  virtual void ShowOk(std::u16string_view text) = 0;
  // A Yes/No box, No by default; true when the user chose Yes.
  virtual bool AskYesNo(std::u16string_view text) = 0;
};

}  // namespace vendrel::platform
