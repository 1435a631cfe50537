#pragma once
// Decoding and encoding of INI file bytes and the line model that the profile-string calls work on.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vendrel::platform {

enum class IniEncoding { Utf16Le, Utf16Be, Utf8Bom, Utf8 };

struct IniText {
  IniEncoding encoding = IniEncoding::Utf16Le;
  std::vector<std::u16string> lines;  // without line ends
};

// The bytes as characters, after detecting the encoding from the byte-order mark. Bytes without
// a mark are UTF-8 when they are valid UTF-8, otherwise one character per byte. A 0 unit ends the
// text, as it would for a reader of C strings.
struct IniChars {
  IniEncoding encoding = IniEncoding::Utf16Le;
  std::u16string text;
};
IniChars DecodeIniChars(std::span<const std::uint8_t> bytes);

// Calls line for each line of text (without its CR, LF or CR LF end), in order.
void ForEachIniLine(std::u16string_view text, const std::function<void(std::u16string_view)>& line);

// DecodeIniChars split into lines.
IniText DecodeIniText(std::span<const std::uint8_t> bytes);

// Lines joined with CR LF (and a final CR LF) in the given encoding, with its mark.
std::vector<std::uint8_t> EncodeIniText(const IniText& text);

// A line's role: a section header "[name]", a "key=value", or anything else (blank lines, lines
// without '='). A key starting with ';' is an entry that lookups find but key lists leave out.
enum class IniLineKind { Section, Entry, Other };

struct IniLine {
  IniLineKind kind = IniLineKind::Other;
  std::u16string name;   // section or key name, blanks around it removed
  std::u16string value;  // entry value, blanks around it removed
};

IniLine ParseIniLine(std::u16string_view line);

// Letter-case-insensitive comparison of section and key names.
bool IniNamesEqual(std::u16string_view a, std::u16string_view b);
// The name in the one letter case IniNamesEqual compares in: equal keys for equal names.
std::u16string IniNameKey(std::u16string_view name);

}  // namespace vendrel::platform
