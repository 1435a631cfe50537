#pragma once
// The application's per-user registry profile behind the profile-string interface: section S is
// the key HKEY_CURRENT_USER\Software\<root>\S and each value a string value of it. The file
// argument of the interface does not apply and is ignored.
#include <string>

#include "platform/ini_profile.h"

namespace vendrel::platform {

class RegistryProfile final : public IniProfile {
 public:
  explicit RegistryProfile(std::u16string root) : root_(std::move(root)) {}

  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                           const char16_t* default_value, char16_t* buffer, std::uint32_t size,
                           const char16_t* file) const override;
  int WriteString(const char16_t* section, const char16_t* key, const char16_t* value,
                  const char16_t* file) override;

 private:
  std::u16string root_;
};

}  // namespace vendrel::platform
