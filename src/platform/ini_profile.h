#pragma once
// Profile strings of INI files, with the behaviour the program relies on from the Windows
// profile-string calls: section and key names match without regard to letter case, the value is
// cut to the caller's buffer, trailing blanks of the default are removed, and a value enclosed in
// matching quotes loses them. On Windows this is the real call; natively IniFileProfile (in
// ini_profile_file.h) implements it over UTF-16 and UTF-8/ASCII files.
#include <cstdint>
#include <string>

namespace vendrel::platform {

class IniProfile {
 public:
  virtual ~IniProfile() = default;

  // Copies into buffer (size characters, terminator included) the value of key in section of the
  // file, or default_value (null = empty) with its trailing blanks removed when there is none.
  // A null key gives the section's key names (the default when there is no such section), a null
  // section the file's section names, each ended by a 0 and the list by a second 0. Returns the
  // characters copied without the final 0: size - 1 when a value was cut, size - 2 when a list
  // was cut, 0 when size is 0.
  virtual std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                                                const char16_t* default_value, char16_t* buffer,
                                                std::uint32_t size, const char16_t* file) const = 0;

  // Sets key in section to value, creating the section and the file as needed. A null value
  // removes the key, a null key the whole section. Returns 1 on success, 0 on failure.
  virtual int WriteString(const char16_t* section, const char16_t* key,
                                        const char16_t* value, const char16_t* file) = 0;
};

// Convenience over ReadString for a single value: at most capacity - 1 characters,
// as a caller with a buffer of capacity characters would get.
std::u16string ReadProfileString(const IniProfile& ini, const std::u16string& section,
                                 const std::u16string& key, const std::u16string& default_value,
                                 std::uint32_t capacity, const std::u16string& file);

}  // namespace vendrel::platform
