#include "platform/ini_profile_file.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ini_text.h"

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

struct ParsedFile {
  IniText text;
  std::vector<IniLine> lines;
};

std::optional<ParsedFile> ReadFile(const FileSystem& files, const char16_t* file) {
  if (file == nullptr || *file == u'\0') return std::nullopt;
  std::vector<std::uint8_t> bytes;
  if (files.ReadWholeFile(std::u16string(file), kMaxIniFileSize, bytes) != kReadOk) {
    return std::nullopt;
  }
  ParsedFile parsed;
  parsed.text = DecodeIniText(bytes);
  parsed.lines.reserve(parsed.text.lines.size());
  for (const auto& line : parsed.text.lines) parsed.lines.push_back(ParseIniLine(line));
  return parsed;
}

// Line range [begin, end) of the first section with this name: begin is its header line, end the
// next header or the end of the file. Nothing when there is no such section.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<IniLine>& lines,
                                                               std::u16string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == IniLineKind::Section && IniNamesEqual(lines[i].name, section)) {
      std::size_t end = i + 1;
      while (end < lines.size() && lines[end].kind != IniLineKind::Section) ++end;
      return std::make_pair(i, end);
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<IniLine>& lines,
                                   std::pair<std::size_t, std::size_t> range,
                                   std::u16string_view key) {
  for (std::size_t i = range.first + 1; i < range.second; ++i) {
    if (lines[i].kind == IniLineKind::Entry && IniNamesEqual(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::uint32_t IniFileProfile::ReadString(const char16_t* section, const char16_t* key,
                                                      const char16_t* default_value,
                                                      char16_t* buffer, std::uint32_t size,
                                                      const char16_t* file) const {
  std::shared_ptr<const IniIndex> index;
  if (file != nullptr && *file != u'\0') index = indexes_.Get(std::u16string(file), kMaxIniFileSize);

  if (section == nullptr) {
    std::vector<std::u16string> names;
    if (index) {
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

int IniFileProfile::WriteString(const char16_t* section, const char16_t* key,
                                              const char16_t* value, const char16_t* file) {
  if (file == nullptr || *file == u'\0') return 0;
  if (section == nullptr) return (key == nullptr && value == nullptr) ? 1 : 0;

  const std::u16string path(file);
  // Whatever happens below, the next read looks at the file again.
  indexes_.Forget(path);
  ParsedFile parsed;
  if (files_.FileExists(path)) {
    auto read = ReadFile(files_, file);
    if (!read) return 0;  // present but unreadable: never replace it with a fresh file
    parsed = std::move(*read);
  } else if (key == nullptr || value == nullptr) {
    return 1;  // nothing to remove
  }
  auto& lines = parsed.text.lines;
  const auto range = FindSection(parsed.lines, ViewOf(section));

  if (key == nullptr) {
    if (!range) return 1;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->first),
                lines.begin() + static_cast<std::ptrdiff_t>(range->second));
  } else if (value == nullptr) {
    if (!range) return 1;
    const auto at = FindKey(parsed.lines, *range, ViewOf(key));
    if (!at) return 1;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
  } else if (range) {
    if (const auto at = FindKey(parsed.lines, *range, ViewOf(key))) {
      lines[*at] = parsed.lines[*at].name + u"=" + std::u16string(value);
    } else {
      // After the section's last non-blank line, so that blank lines between sections stay.
      std::size_t insert = range->second;
      while (insert > range->first + 1 && parsed.lines[insert - 1].kind == IniLineKind::Other &&
             lines[insert - 1].find_first_not_of(u" \t") == std::u16string::npos) {
        --insert;
      }
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert),
                   std::u16string(key) + u"=" + std::u16string(value));
    }
  } else {
    lines.push_back(u"[" + std::u16string(section) + u"]");
    lines.push_back(std::u16string(key) + u"=" + std::u16string(value));
  }

  const std::vector<std::uint8_t> bytes = EncodeIniText(parsed.text);
  const bool written = files_.WriteFileReplacing(path, bytes);
  indexes_.Forget(path);  // also a read that came in between
  return written ? 1 : 0;
}

}  // namespace vendrel::platform
