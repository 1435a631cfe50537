#include "platform/read_once_ini_profile.h"

#include "platform/ini_lookup.h"
#include "platform/ini_profile_file.h"
#include "platform/ini_text.h"

namespace vendrel::platform {

ReadOnceIniProfile::ReadOnceIniProfile(const FileSystem& files, IniProfile& others,
                                       const std::vector<std::u16string>& read_once)
    : files_(files), others_(others) {
  for (const std::u16string& path : read_once) {
    if (!path.empty()) kept_.emplace(IniNameKey(path), Kept{});
  }
}

std::shared_ptr<const IniIndex> ReadOnceIniProfile::IndexOf(const char16_t* file) const {
  if (file == nullptr || *file == u'\0') return nullptr;
  const std::u16string path(file);
  const std::u16string folded = IniNameKey(path);
  unsigned writes = 0;
  {
    const std::lock_guard lock(mutex_);
    const auto it = kept_.find(folded);
    if (it == kept_.end()) return nullptr;
    if (it->second.index) return it->second.index;
    writes = it->second.writes;
  }
  // Read outside the lock; two first lookups at once may both read, and either index serves.
  std::vector<std::uint8_t> bytes;
  if (files_.ReadWholeFile(path, kMaxIniFileSize, bytes) != kReadOk) return nullptr;
  auto index = std::make_shared<const IniIndex>(bytes);
  const std::lock_guard lock(mutex_);
  Kept& kept = kept_[folded];
  if (kept.writes != writes) return index;  // answers this lookup; the next one reads again
  if (!kept.index) kept.index = std::move(index);
  return kept.index;
}

std::uint32_t ReadOnceIniProfile::ReadString(const char16_t* section, const char16_t* key,
                                             const char16_t* default_value, char16_t* buffer,
                                             std::uint32_t size, const char16_t* file) const {
  if (const std::shared_ptr<const IniIndex> index = IndexOf(file)) {
    return ReadIndexedString(index.get(), section, key, default_value, buffer, size);
  }
  return others_.ReadString(section, key, default_value, buffer, size, file);
}

int ReadOnceIniProfile::WriteString(const char16_t* section, const char16_t* key,
                                    const char16_t* value, const char16_t* file) {
  const int written = others_.WriteString(section, key, value, file);
  if (file != nullptr) {
    const std::lock_guard lock(mutex_);
    const auto it = kept_.find(IniNameKey(file));
    if (it != kept_.end()) {
      it->second.index.reset();
      ++it->second.writes;
    }
  }
  return written;
}

}  // namespace vendrel::platform
