#pragma once
// A FileSystem over a map in memory, so that targets reading "files" never touch the disk. Every
// write gives the file a new stamp, so readers that keep indexes are exercised too.
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vendrel::fuzz {

class MemoryFileSystem final : public platform::FileSystem {
 public:
  std::map<std::u16string, std::vector<std::uint8_t>> files;

  bool Exists(const std::u16string& path) const override {
    return files.count(path) != 0 || folders_.count(path) != 0;
  }
  bool FileExists(const std::u16string& path) const override { return files.count(path) != 0; }
  bool CreateFolder(const std::u16string& path) override {
    folders_[path] = true;
    return true;
  }
  int ReadWholeFile(const std::u16string& path, std::uint64_t max_size,
                    std::vector<std::uint8_t>& out) const override {
    out.clear();
    const auto it = files.find(path);
    if (it == files.end()) return platform::kReadMissing;
    if (it->second.size() > max_size) return platform::kReadTooLarge;
    out = it->second;
    return platform::kReadOk;
  }
  bool WriteFileReplacing(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
    files[path].assign(bytes.begin(), bytes.end());
    ++writes_;
    return true;
  }
  bool RemoveFile(const std::u16string& path) override {
    files.erase(path);
    return true;
  }
  std::optional<platform::FileStamp> Stamp(const std::u16string& path) const override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return platform::FileStamp{it->second.size(), writes_, true};
  }

 private:
  std::map<std::u16string, bool> folders_;
  std::int64_t writes_ = 0;
};

}  // namespace vendrel::fuzz
