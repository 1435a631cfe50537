// The file system through std::filesystem and file streams. Used natively; the Windows program
// uses the Win32 implementation.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "platform/file_system.h"

namespace vendrel::platform {
namespace {

namespace fs = std::filesystem;

class PortableFs final : public FileSystem {
 public:
  bool Exists(const std::u16string& path) const override {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
  }

  bool FileExists(const std::u16string& path) const override {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
  }

  bool CreateFolder(const std::u16string& path) override {
    std::error_code ec;
    fs::create_directory(fs::path(path), ec);
    return fs::is_directory(fs::path(path), ec);
  }

  int ReadWholeFile(const std::u16string& path, std::uint64_t max_size,
                    std::vector<std::uint8_t>& out) const override {
    out.clear();
    const fs::path p(path);
    std::error_code ec;
    if (!fs::exists(p, ec)) return kReadMissing;
    std::ifstream in(p, std::ios::binary);
    if (!in) return kReadCannotOpen;
    const std::uint64_t size = fs::file_size(p, ec);
    if (ec) return kReadCannotOpen;
    if (size > max_size) return kReadTooLarge;
    try {
      out.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
      return kReadOutOfMemory;
    } catch (const std::length_error&) {
      return kReadOutOfMemory;
    }
    if (size > 0 &&
        !in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size))) {
      out.clear();
      return kReadCannotOpen;
    }
    return kReadOk;
  }

  bool WriteFileReplacing(const std::u16string& path,
                          std::span<const std::uint8_t> bytes) override {
    const fs::path target(path);
    const fs::path temp(TemporaryPathFor(path));
    std::error_code ec;
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      if (!out) return false;
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
      out.flush();
      if (!out) {
        out.close();
        fs::remove(temp, ec);
        return false;
      }
    }
    fs::rename(temp, target, ec);
    if (ec) {
      fs::remove(temp, ec);
      return false;
    }
    return true;
  }

  std::optional<FileStamp> Stamp(const std::u16string& path) const override {
    const fs::path p(path);
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return std::nullopt;
    const std::uint64_t size = fs::file_size(p, ec);
    if (ec) return std::nullopt;
    const auto modified = fs::last_write_time(p, ec);
    if (ec) return std::nullopt;
    const bool settled = fs::file_time_type::clock::now() - modified > std::chrono::seconds(1);
    return FileStamp{size, static_cast<std::int64_t>(modified.time_since_epoch().count()), settled};
  }

  bool RemoveFile(const std::u16string& path) override {
    std::error_code ec;
    fs::remove(fs::path(path), ec);
    return !fs::exists(fs::path(path), ec);
  }
};

}  // namespace

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (folder.empty()) return name;
  if (folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

std::u16string TemporaryPathFor(const std::u16string& path) { return path + u".tmp~"; }

FileSystem& PortableFileSystem() {
  static PortableFs instance;
  return instance;
}

}  // namespace vendrel::platform
