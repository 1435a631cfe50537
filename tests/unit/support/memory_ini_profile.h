#pragma once
// Profile strings held in memory, for logic that keeps a setting in the program's profile.
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini_profile.h"

namespace vendrel::testing {

class MemoryIniProfile final : public platform::IniProfile {
 public:
  struct Write {
    std::u16string section;
    std::u16string key;
    std::u16string value;
    friend bool operator==(const Write&, const Write&) = default;
  };

  // Single values only: the logic under test never asks for key or section lists.
  std::uint32_t ReadString(const char16_t* section, const char16_t* key, const char16_t* default_value,
                           char16_t* buffer, std::uint32_t size, const char16_t*) const override {
    if (size == 0) return 0;
    std::u16string value = default_value ? default_value : u"";
    const auto found = values.find({section ? section : u"", key ? key : u""});
    if (found != values.end()) value = found->second;
    const std::size_t length = std::min<std::size_t>(value.size(), size - 1);
    std::copy_n(value.begin(), length, buffer);
    buffer[length] = u'\0';
    return static_cast<std::uint32_t>(length);
  }
  int WriteString(const char16_t* section, const char16_t* key, const char16_t* value,
                  const char16_t*) override {
    if (!section || !key) return 0;
    if (!value) {  // removes the key
      values.erase({section, key});
      removals.push_back({section, key, u""});
      return 1;
    }
    values[{section, key}] = value;
    writes.push_back({section, key, value});
    return 1;
  }

  std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;
  std::vector<Write> writes;
  std::vector<Write> removals;
};

}  // namespace vendrel::testing
