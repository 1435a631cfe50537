#include "platform/file_dialog.h"

namespace vendrel::platform {

std::u16string SystemFilter(const std::u16string& filter) {
  std::u16string out = filter;
  for (char16_t& c : out) {
    if (c == u'|') c = u'\0';
  }
  while (!out.empty() && out.back() == u'\0') out.pop_back();
  out.push_back(u'\0');
  out.push_back(u'\0');
  return out;
}

}  // namespace vendrel::platform
