#include "platform/win32/win32_message_boxes.h"

namespace vendrel::platform::win32 {
namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

}  // namespace

void Win32MessageBoxes::ShowOk(std::u16string_view text) {
  const std::u16string t(text);
  MessageBoxW(owner_, W(t), W(caption_), MB_OK);
}

bool Win32MessageBoxes::AskYesNo(std::u16string_view text) {
  const std::u16string t(text);
  return MessageBoxW(owner_, W(t), W(caption_), MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

}  // namespace vendrel::platform::win32
