#pragma once
// Where the user's documents folder is. The per-user settings folder lives inside it.
#include <string>

namespace vendrel::platform {

class DocumentsFolder {
 public:
  virtual ~DocumentsFolder() = default;
  // The folder's path without a trailing separator, or empty when it cannot be determined.
  virtual std::u16string Path() const = 0;
};

// A documents folder fixed at construction (native runs and tests).
class FixedDocumentsFolder final : public DocumentsFolder {
 public:
  explicit FixedDocumentsFolder(std::u16string path) : path_(std::move(path)) {}
  std::u16string Path() const override { return path_; }

 private:
  std::u16string path_;
};

}  // namespace vendrel::platform
