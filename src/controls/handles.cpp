#include "controls/handles.h"

#include <string>

namespace vendrel::controls {

// wchar_t and char16_t are both UTF-16 code units on Windows.
std::wstring WideFrom(const std::u16string& text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string U16From(const wchar_t* text) {
  if (text == nullptr) return {};
  const std::wstring_view view(text);
  return std::u16string(view.begin(), view.end());
}

}  // namespace vendrel::controls
