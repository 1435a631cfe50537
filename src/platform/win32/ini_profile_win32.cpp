#include "platform/win32/ini_profile_win32.h"

#include <windows.h>

#include <string>

namespace vendrel::platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 texts pass to Win32 unchanged");

const wchar_t* Wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

// Windows removes trailing blanks from the default before returning it, and the language texts rely
// on that (a missing key reads as an empty text, not a blank). Some implementations of the call
// return the default as given, so the blanks are removed here first.
std::u16string WithoutTrailingBlanks(const char16_t* text) {
  std::u16string s = text ? text : u"";
  while (!s.empty() && s.back() == u' ') s.pop_back();
  return s;
}

}  // namespace

std::uint32_t Win32IniProfile::ReadString(const char16_t* section,
                                                       const char16_t* key,
                                                       const char16_t* default_value,
                                                       char16_t* buffer, std::uint32_t size,
                                                       const char16_t* file) const {
  const std::u16string fallback = WithoutTrailingBlanks(default_value);
  return ::GetPrivateProfileStringW(Wide(section), Wide(key), Wide(fallback.c_str()),
                                    reinterpret_cast<wchar_t*>(buffer), size, Wide(file));
}

int Win32IniProfile::WriteString(const char16_t* section, const char16_t* key,
                                               const char16_t* value, const char16_t* file) {
  return ::WritePrivateProfileStringW(Wide(section), Wide(key), Wide(value), Wide(file)) ? 1 : 0;
}

}  // namespace vendrel::platform
