#pragma once
// The read side of the profile-string calls over an indexed file: what ReadString copies into
// the caller's buffer for a section and key (or the lists a null section or key asks for).
#include <cstdint>

#include "platform/ini_index.h"

namespace vendrel::platform {

// index: the file's index, or null when there is no readable file (every lookup gives the default
// and the lists are empty). Arguments and result as IniProfile::ReadString.
std::uint32_t ReadIndexedString(const IniIndex* index, const char16_t* section,
                                const char16_t* key, const char16_t* default_value,
                                char16_t* buffer, std::uint32_t size);

}  // namespace vendrel::platform
