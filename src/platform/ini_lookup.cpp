#include "platform/ini_lookup.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace vendrel::platform {
namespace {

std::u16string_view ViewOf(const char16_t* s) {
  return s ? std::u16string_view(s) : std::u16string_view();
}

// Copies a single value: at most size - 1 characters and a terminator.
std::uint32_t CopyValue(std::u16string_view value, char16_t* buffer, std::uint32_t size) {
  if (size == 0 || buffer == nullptr) return 0;
  const std::size_t n = std::min<std::size_t>(value.size(), size - 1);
  std::copy_n(value.begin(), n, buffer);
  buffer[n] = u'\0';
  return static_cast<std::uint32_t>(n);
}

// Copies names each ended by 0, the list ended by a second 0. A list that does not fit is cut,
// ended by two 0s, and size - 2 is returned.
std::uint32_t CopyList(const std::vector<std::u16string>& names, char16_t* buffer,
                       std::uint32_t size) {
  if (size == 0 || buffer == nullptr) return 0;
  if (size == 1) {
    buffer[0] = u'\0';
    return 0;
  }
  std::size_t pos = 0;
  for (const auto& name : names) {
    for (char16_t c : name) {
      if (pos + 2 >= size) {
        buffer[size - 2] = u'\0';
        buffer[size - 1] = u'\0';
        return size - 2;
      }
      buffer[pos++] = c;
    }
    if (pos + 2 >= size) {
      buffer[size - 2] = u'\0';
      buffer[size - 1] = u'\0';
      return size - 2;
    }
    buffer[pos++] = u'\0';
  }
  buffer[pos] = u'\0';
  if (pos == 0 && size > 1) buffer[1] = u'\0';
  return static_cast<std::uint32_t>(pos);
}

// The value without matching quotes around it.
std::u16string_view Unquoted(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The default as the call uses it: trailing blanks removed, then quotes like a value's.
std::u16string_view TrimmedDefault(const char16_t* default_value) {
  std::u16string_view d = ViewOf(default_value);
  while (!d.empty() && d.back() == u' ') d.remove_suffix(1);
  return Unquoted(d);
}

}  // namespace

std::uint32_t ReadIndexedString(const IniIndex* index, const char16_t* section,
                                const char16_t* key, const char16_t* default_value,
                                char16_t* buffer, std::uint32_t size) {
  if (section == nullptr) {
    std::vector<std::u16string> names;
    if (index != nullptr) {
      for (const auto& s : index->Sections()) names.push_back(s.name);
    }
    return CopyList(names, buffer, size);
  }

  const IniIndex::Section* found = index ? index->Find(ViewOf(section)) : nullptr;

  if (key == nullptr) {
    if (found == nullptr) return CopyValue(TrimmedDefault(default_value), buffer, size);
    std::vector<std::u16string> names;
    for (const auto& entry : found->entries) {
      if (!entry.name.starts_with(u';')) names.push_back(entry.name);
    }
    return CopyList(names, buffer, size);
  }

  if (found != nullptr) {
    if (const IniIndex::Entry* entry = found->Find(ViewOf(key))) {
      return CopyValue(Unquoted(entry->value), buffer, size);
    }
  }
  return CopyValue(TrimmedDefault(default_value), buffer, size);
}

}  // namespace vendrel::platform
