#pragma once
// An INI file read once and indexed for the profile-string lookups: its section headers and
// entries only (blank lines and other text take no room), the first section of each name and the
// first entry of each key found through hash maps. IniIndexCache keeps the indexes of the files
// read, each trusted only while the file's stamp is the same.
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace vendrel::platform {

class IniIndex {
 public:
  struct Entry {
    std::u16string name;
    std::u16string value;
  };
  struct Section {
    std::u16string name;
    std::vector<Entry> entries;  // in file order, up to the next section header
    std::unordered_map<std::u16string, std::size_t> first_entry;  // IniNameKey -> entries index

    const Entry* Find(std::u16string_view key) const;
  };

  explicit IniIndex(std::span<const std::uint8_t> bytes);

  // Every section header, in file order (a repeated name appears again).
  const std::vector<Section>& Sections() const { return sections_; }
  // The first section of this name; its entries are the ones lookups see.
  const Section* Find(std::u16string_view section) const;

 private:
  std::vector<Section> sections_;
  std::unordered_map<std::u16string, std::size_t> first_section_;  // IniNameKey -> sections_ index
};

class IniIndexCache {
 public:
  explicit IniIndexCache(const FileSystem& files) : files_(files) {}

  // The index of the file as it is now: the kept one while the stamp matches, otherwise read
  // afresh (and kept when the stamp is settled). Nothing when the file cannot be read.
  std::shared_ptr<const IniIndex> Get(const std::u16string& path, std::uint64_t max_size);
  // Forgets a file, after a write through this program.
  void Forget(const std::u16string& path);

 private:
  struct Kept {
    FileStamp stamp;
    std::shared_ptr<const IniIndex> index;
  };
  // The program reads a handful of files; more than this and the oldest are forgotten.
  static constexpr std::size_t kMaxKept = 8;

  const FileSystem& files_;
  std::mutex mutex_;
  std::unordered_map<std::u16string, Kept> kept_;
  std::list<std::u16string> order_;  // oldest first
};

}  // namespace vendrel::platform
