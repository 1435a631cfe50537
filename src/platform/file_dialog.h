#pragma once
// The standard open and save dialogs, as the core asks for them: which file the user picked, or
// nothing when the dialog was cancelled.
#include <optional>
#include <string>
#include <vector>

namespace vendrel::platform {

struct FileDialogRequest {
  bool save = false;
  // Pairs of description and pattern separated by '|', ended by "||", as in
  // "(*.fwc)|*.fwc|(*.*)|*.*||".
  std::u16string filter;
  std::u16string default_extension;  // without the dot; added to a typed name without one
  std::u16string proposed;           // the path or pattern the dialog starts with
  bool overwrite_prompt = false;     // save: ask before replacing an existing file
  bool hide_read_only = false;       // open: no read-only box
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::u16string> Choose(const FileDialogRequest& request) = 0;
};

// The filter as the system dialogs take it: every '|' becomes a terminating zero, and the list
// ends with two zeros whatever the text ended with.
std::u16string SystemFilter(const std::u16string& filter);

}  // namespace vendrel::platform
