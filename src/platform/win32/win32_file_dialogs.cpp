#include "platform/win32/win32_file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

namespace vendrel::platform::win32 {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::optional<std::u16string> Win32FileDialogs::Choose(const FileDialogRequest& request) {
  const std::wstring filter = Wide(SystemFilter(request.filter));
  const std::wstring extension = Wide(request.default_extension);
  // The chosen path comes back in this buffer; the proposal starts in it.
  std::wstring path(MAX_PATH, L'\0');
  const std::wstring proposed = Wide(request.proposed);
  std::copy_n(proposed.begin(), std::min<std::size_t>(proposed.size(), MAX_PATH - 1), path.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (request.save) {
    if (request.overwrite_prompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    if (request.hide_read_only) dialog.Flags |= OFN_HIDEREADONLY;
  }
  const BOOL chosen = request.save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  path.resize(std::wcslen(path.c_str()));
  return std::u16string(path.begin(), path.end());
}

}  // namespace vendrel::platform::win32
