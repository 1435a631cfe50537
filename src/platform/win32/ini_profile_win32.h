#pragma once
// The profile-string calls of Windows itself.
#include "platform/ini_profile.h"

namespace vendrel::platform {

class Win32IniProfile final : public IniProfile {
 public:
  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                                        const char16_t* default_value, char16_t* buffer,
                                        std::uint32_t size, const char16_t* file) const override;
  int WriteString(const char16_t* section, const char16_t* key,
                                const char16_t* value, const char16_t* file) override;
};

}  // namespace vendrel::platform
