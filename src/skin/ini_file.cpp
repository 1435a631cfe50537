#include "skin/ini_file.h"

namespace vendrel::skin {

CIniFile::CIniFile(platform::IniProfile& ini, std::u16string_view path) : ini_(ini) {
  SetPath(path);
}

void CIniFile::SetPath(std::u16string_view path) {
  path_.assign(path.substr(0, kIniPathChars));
}

std::optional<std::u16string> CIniFile::GetString(std::u16string_view section,
                                                  std::u16string_view key,
                                                  std::u16string_view default_value) const {
  std::u16string value = platform::ReadProfileString(
      ini_, std::u16string(section), std::u16string(key), std::u16string(default_value),
      static_cast<std::uint32_t>(kIniValueChars + 1), path_);
  if (value.empty()) return std::nullopt;
  return value;
}

int CIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                          std::u16string_view value) {
  const std::u16string s(section), k(key), v(value);
  return ini_.WriteString(s.c_str(), k.c_str(), v.c_str(), path_.c_str()) == 1 ? 1
                                                                                            : 0;
}

}  // namespace vendrel::skin
