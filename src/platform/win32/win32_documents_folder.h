#pragma once
// The user's documents folder as the shell reports it.
#include "platform/documents_folder.h"

namespace vendrel::platform::win32 {

class Win32DocumentsFolder final : public DocumentsFolder {
 public:
  std::u16string Path() const override;
};

}  // namespace vendrel::platform::win32
