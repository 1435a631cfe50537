#pragma once
// The one conversion between the core's UTF-16 strings (char16_t) and the Win32 API's wide
// strings (wchar_t): both are UTF-16 code units on Windows, so it copies units unchanged.
#include <string>
#include <string_view>

namespace vendrel::controls {

inline std::wstring WideFrom(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string U16From(const wchar_t* text) {
  if (text == nullptr) return {};
  const std::wstring_view view(text);
  return std::u16string(view.begin(), view.end());
}

}  // namespace vendrel::controls
