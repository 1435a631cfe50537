#pragma once
// The profile-string calls over INI files through the FileSystem interface, for native builds
// and tests. Reads UTF-16 files (with byte-order mark), UTF-8 files (with or without mark) and
// plain 8-bit files; writes keep a file's encoding and create new files as UTF-16 LE with mark.
// A file is read and indexed once and kept while its size and last-write time stay the same, so
// edits made by others still show up at once; a write through this object forgets the index.
#include "platform/file_system.h"
#include "platform/ini_index.h"
#include "platform/ini_profile.h"

namespace vendrel::platform {

class IniFileProfile final : public IniProfile {
 public:
  explicit IniFileProfile(FileSystem& files = PortableFileSystem()) : files_(files), indexes_(files) {}

  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                                        const char16_t* default_value, char16_t* buffer,
                                        std::uint32_t size, const char16_t* file) const override;
  int WriteString(const char16_t* section, const char16_t* key,
                                const char16_t* value, const char16_t* file) override;

 private:
  FileSystem& files_;
  mutable IniIndexCache indexes_;
};

// Files larger than this are treated as missing rather than read.
inline constexpr std::uint64_t kMaxIniFileSize = 16u * 1024u * 1024u;

}  // namespace vendrel::platform
