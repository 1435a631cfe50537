#pragma once
// Profile strings of files this program only reads (its skin and language files), each read and
// indexed once, at its first lookup, and then answered from the index by the portable reader;
// every other file goes to the platform's own calls, so a value the program writes is seen by
// the next read. A write that does reach one of the listed files through this object forgets its
// index, so that the next lookup reads it again. A listed file that cannot be read (missing,
// larger than kMaxIniFileSize) is answered by the platform's calls too, and tried again later.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/ini_index.h"
#include "platform/ini_profile.h"

namespace vendrel::platform {

class ReadOnceIniProfile final : public IniProfile {
 public:
  // files and others must outlive this object. Paths are matched ignoring letter case.
  ReadOnceIniProfile(const FileSystem& files, IniProfile& others,
                     const std::vector<std::u16string>& read_once);

  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                           const char16_t* default_value, char16_t* buffer, std::uint32_t size,
                           const char16_t* file) const override;
  int WriteString(const char16_t* section, const char16_t* key, const char16_t* value,
                  const char16_t* file) override;

 private:
  // The index of a listed file, read now when it is not kept; null for a file not listed or not
  // readable.
  std::shared_ptr<const IniIndex> IndexOf(const char16_t* file) const;

  const FileSystem& files_;
  IniProfile& others_;
  mutable std::mutex mutex_;
  struct Kept {
    std::shared_ptr<const IniIndex> index;  // null until read
    unsigned writes = 0;  // an index read before a write is not kept after it
  };
  // Folded path -> what is kept of it. Only listed files have an entry.
  mutable std::unordered_map<std::u16string, Kept> kept_;
};

}  // namespace vendrel::platform
