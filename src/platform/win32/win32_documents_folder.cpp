#include "platform/win32/win32_documents_folder.h"

#include <windows.h>
#include <shlobj.h>

namespace vendrel::platform::win32 {

std::u16string Win32DocumentsFolder::Path() const {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PERSONAL, FALSE)) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer));
}

}  // namespace vendrel::platform::win32
