#pragma once
// Decoding and encoding of INI file bytes and the line model that the profile-string calls work on.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vendrel::platform {

enum class IniEncoding { Utf16Le, Utf16Be, Utf8Bom, Utf8 };

struct IniText {
  IniEncoding encoding = IniEncoding::Utf16Le;
  std::vector<std::u16string> lines;  // without line ends
};

// Splits the bytes into lines after detecting the encoding from the byte-order mark. Bytes
// without a mark are UTF-8 when they are valid UTF-8, otherwise one character per byte.
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

IniLine ParseIniLine(const std::u16string& line);

// Letter-case-insensitive comparison of section and key names.
bool IniNamesEqual(std::u16string_view a, std::u16string_view b);

}  // namespace vendrel::platform
