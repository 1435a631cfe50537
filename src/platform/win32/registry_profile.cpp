#include "platform/win32/registry_profile.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/unique_handle.h"

namespace vendrel::platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 texts pass to Win32 unchanged");

void CloseKey(HKEY key) { ::RegCloseKey(key); }
using UniqueKey = UniqueHandle<HKEY, &CloseKey>;

const wchar_t* Wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

std::wstring Path(const std::u16string& root, const char16_t* section) {
  std::wstring path = L"Software\\";
  path.append(root.begin(), root.end());
  if (section != nullptr) {
    path += L'\\';
    path += Wide(section);
  }
  return path;
}

UniqueKey OpenKey(const std::wstring& path, bool create) {
  HKEY key = nullptr;
  const LONG status =
      create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                 KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
             : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  return UniqueKey(status == ERROR_SUCCESS ? key : nullptr);
}

// A string value; nothing when it is missing or not a string.
std::optional<std::u16string> ReadValue(HKEY key, const char16_t* name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring text(data.data());  // ends at the first 0, stored or added
  return std::u16string(text.begin(), text.end());
}

// Names of the key's values (or of its subkeys), each ended by a 0.
std::u16string NameList(HKEY key, bool subkeys) {
  std::u16string list;
  std::vector<wchar_t> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status =
        subkeys ? ::RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
                : ::RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    list.append(name.data(), name.data() + length);
    list += u'\0';
  }
  return list;
}

std::u16string WithoutTrailingBlanks(const char16_t* text) {
  std::u16string s = text ? text : u"";
  while (!s.empty() && s.back() == u' ') s.pop_back();
  return s;
}

// Copies a value cut to the buffer, as the profile-string calls do.
std::uint32_t CopyValue(const std::u16string& value, char16_t* buffer, std::uint32_t size) {
  if (size == 0) return 0;
  const std::size_t n = std::min<std::size_t>(value.size(), size - 1);
  std::copy_n(value.begin(), n, buffer);
  buffer[n] = u'\0';
  return static_cast<std::uint32_t>(n);
}

// Copies a list of 0-ended names and its final 0; a cut list keeps whole units and both ends.
std::uint32_t CopyList(const std::u16string& list, char16_t* buffer, std::uint32_t size) {
  if (size == 0) return 0;
  if (size == 1) {
    buffer[0] = u'\0';
    return 0;
  }
  if (list.size() + 1 <= size) {
    std::copy(list.begin(), list.end(), buffer);
    buffer[list.size()] = u'\0';
    return static_cast<std::uint32_t>(list.size());
  }
  std::copy_n(list.begin(), size - 2, buffer);
  buffer[size - 2] = u'\0';
  buffer[size - 1] = u'\0';
  return size - 2;
}

}  // namespace

std::uint32_t RegistryProfile::ReadString(const char16_t* section, const char16_t* key,
                                          const char16_t* default_value, char16_t* buffer,
                                          std::uint32_t size, const char16_t*) const {
  if (section == nullptr) {
    const UniqueKey root = OpenKey(Path(root_, nullptr), false);
    return CopyList(root ? NameList(root.get(), true) : std::u16string(), buffer, size);
  }
  const UniqueKey opened = OpenKey(Path(root_, section), false);
  if (key == nullptr) {
    return opened ? CopyList(NameList(opened.get(), false), buffer, size)
                  : CopyValue(WithoutTrailingBlanks(default_value), buffer, size);
  }
  std::optional<std::u16string> value;
  if (opened) value = ReadValue(opened.get(), key);
  return CopyValue(value ? *value : WithoutTrailingBlanks(default_value), buffer, size);
}

int RegistryProfile::WriteString(const char16_t* section, const char16_t* key,
                                 const char16_t* value, const char16_t*) {
  if (section == nullptr) return 0;
  if (key == nullptr) {
    const LONG status = ::RegDeleteTreeW(HKEY_CURRENT_USER, Path(root_, section).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 1 : 0;
  }
  const UniqueKey opened = OpenKey(Path(root_, section), true);
  if (!opened) return 0;
  if (value == nullptr) {
    const LONG status = ::RegDeleteValueW(opened.get(), Wide(key));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 1 : 0;
  }
  const std::wstring text(Wide(value));
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(opened.get(), Wide(key), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS
             ? 1
             : 0;
}

}  // namespace vendrel::platform
