#include "platform/ini_profile.h"

#include <vector>

namespace vendrel::platform {

std::u16string ReadProfileString(const IniProfile& ini, const std::u16string& section,
                                 const std::u16string& key, const std::u16string& default_value,
                                 std::uint32_t capacity, const std::u16string& file) {
  if (capacity == 0) return {};
  std::vector<char16_t> buffer(capacity, u'\0');
  const std::uint32_t n = ini.ReadString(section.c_str(), key.c_str(),
                                                      default_value.c_str(), buffer.data(),
                                                      capacity, file.c_str());
  return std::u16string(buffer.data(), n < capacity ? n : capacity - 1);
}

}  // namespace vendrel::platform
