#pragma once
// CIniFile: one skin file's path and the profile-string reads and writes on it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_profile.h"

namespace vendrel::skin {

inline constexpr std::size_t kIniPathChars = 259;
inline constexpr std::size_t kIniValueChars = 2047;

class CIniFile {
 public:
  explicit CIniFile(platform::IniProfile& ini, std::u16string_view path = {});

  // Replaces the stored path; longer paths are cut to kIniPathChars.
  void SetPath(std::u16string_view path);
  const std::u16string& Path() const { return path_; }

  // The value, at most kIniValueChars characters, or nothing when it is empty.
  std::optional<std::u16string> GetString(std::u16string_view section, std::u16string_view key,
                                          std::u16string_view default_value = {}) const;
  // 1 on success, 0 on failure.
  int WriteString(std::u16string_view section, std::u16string_view key,
                  std::u16string_view value);

 private:
  platform::IniProfile& ini_;
  std::u16string path_;
};

}  // namespace vendrel::skin
