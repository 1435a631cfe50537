#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vendrel::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vendrel-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::u16string U16() const { return path_.u16string(); }
  std::u16string File(const std::string& name) const { return (path_ / name).u16string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vendrel::testing
