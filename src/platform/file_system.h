#pragma once
// Whole-file reads and writes and folder creation, the only file operations the core needs.
// Paths are UTF-16; a write never leaves the target half written: the bytes go to a temporary
// file beside it, which then replaces the target in one step.
#include <cstdint>
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
