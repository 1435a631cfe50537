#include "platform/ini_profile_file.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ini_lookup.h"
#include "platform/ini_text.h"

namespace vendrel::platform {
namespace {

std::u16string_view ViewOf(const char16_t* s) {
  return s ? std::u16string_view(s) : std::u16string_view();
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

  return ReadIndexedString(index.get(), section, key, default_value, buffer, size);
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
