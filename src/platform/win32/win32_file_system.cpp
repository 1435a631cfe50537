#include "platform/win32/win32_file_system.h"

#include <windows.h>

namespace vendrel::platform::win32 {
namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// Owns a file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

class Win32Fs final : public FileSystem {
 public:
  bool Exists(const std::u16string& path) const override {
    return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
  }

  bool FileExists(const std::u16string& path) const override {
    const DWORD attrs = GetFileAttributesW(W(path));
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  bool CreateFolder(const std::u16string& path) override {
    if (CreateDirectoryW(W(path), nullptr)) return true;
    const DWORD attrs = GetFileAttributesW(W(path));
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  int ReadWholeFile(const std::u16string& path, std::uint64_t max_size,
                    std::vector<std::uint8_t>& out) const override {
    out.clear();
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(W(path), &found);
    if (search == INVALID_HANDLE_VALUE) return kReadMissing;
    FindClose(search);
    FileHandle file(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return kReadCannotOpen;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return kReadCannotOpen;
    if (static_cast<std::uint64_t>(size.QuadPart) > max_size) return kReadTooLarge;
    try {
      out.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (...) {
      return kReadOutOfMemory;
    }
    std::size_t done = 0;
    while (done < out.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(out.size() - done);
      if (!ReadFile(file.get(), out.data() + done, want, &got, nullptr) || got == 0) {
        out.clear();
        return kReadCannotOpen;
      }
      done += got;
    }
    return kReadOk;
  }

  bool WriteFileReplacing(const std::u16string& path,
                          std::span<const std::uint8_t> bytes) override {
    const std::u16string temp = TemporaryPathFor(path);
    FileHandle file(CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
      DWORD wrote = 0;
      const DWORD want = static_cast<DWORD>(bytes.size() - done);
      ok = WriteFile(file.get(), bytes.data() + done, want, &wrote, nullptr) && wrote > 0;
      done += wrote;
    }
    ok = ok && FlushFileBuffers(file.get());
    file.Close();
    ok = ok && MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(W(temp));
    return ok;
  }

  bool RemoveFile(const std::u16string& path) override {
    DeleteFileW(W(path));
    return GetFileAttributesW(W(path)) == INVALID_FILE_ATTRIBUTES;
  }
};

}  // namespace

FileSystem& Win32FileSystem() {
  static Win32Fs instance;
  return instance;
}

}  // namespace vendrel::platform::win32
