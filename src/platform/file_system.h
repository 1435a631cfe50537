#pragma once
// Whole-file reads and writes and folder creation, the only file operations the core needs.
// Paths are UTF-16; a write never leaves the target half written: the bytes go to a temporary
// file beside it, which then replaces the target in one step.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vendrel::platform {

// Results of ReadWholeFile.
inline constexpr int kReadOk = 1;
inline constexpr int kReadMissing = 0;
inline constexpr int kReadCannotOpen = -2;
inline constexpr int kReadOutOfMemory = -3;
inline constexpr int kReadTooLarge = -4;

// What tells one version of a file from the next: its size and last-write time (in the
// platform's own units). Readers that keep what they parsed compare it before trusting that.
// Write times are coarse (milliseconds), so two writes in quick succession may leave the same
// time: only a settled file, last written over a second ago, may be kept on its stamp.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  bool settled = false;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a file or folder exists at path.
  virtual bool Exists(const std::u16string& path) const = 0;
  // True when a regular file exists at path.
  virtual bool FileExists(const std::u16string& path) const = 0;
  // Creates one folder (its parent must exist). True when it exists afterwards.
  virtual bool CreateFolder(const std::u16string& path) = 0;
  // Reads the whole file into out. A file larger than max_size gives kReadTooLarge without
  // reading it. On any result but kReadOk, out is empty.
  virtual int ReadWholeFile(const std::u16string& path, std::uint64_t max_size,
                            std::vector<std::uint8_t>& out) const = 0;
  // Writes bytes to a temporary file beside path and replaces path with it. On failure the
  // previous file at path, if any, is untouched and the temporary file is removed.
  virtual bool WriteFileReplacing(const std::u16string& path,
                                  std::span<const std::uint8_t> bytes) = 0;
  // Removes a file; true when no file is left at path.
  virtual bool RemoveFile(const std::u16string& path) = 0;
  // The stamp of the regular file at path; nothing when there is none, or when this file system
  // cannot tell (then readers read afresh every time).
  virtual std::optional<FileStamp> Stamp(const std::u16string& path) const {
    (void)path;
    return std::nullopt;
  }
};

// The separator between folder and name on this platform.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name);

// Name of the temporary file that WriteFileReplacing writes beside path.
std::u16string TemporaryPathFor(const std::u16string& path);

// The machine's file system through the standard library (native builds and tests).
FileSystem& PortableFileSystem();

}  // namespace vendrel::platform
