#include "platform/ini_text.h"

#include <optional>

namespace vendrel::platform {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v'; }

std::u16string Trimmed(std::u16string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return std::u16string(s.substr(b, e - b));
}

// Upper case for the scripts that section and key names realistically use.
char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

// Decodes UTF-8; nothing when the bytes are not valid UTF-8.
std::optional<std::u16string> DecodeUtf8(std::span<const std::uint8_t> b) {
  std::u16string out;
  out.reserve(b.size());
  std::size_t i = 0;
  while (i < b.size()) {
    const std::uint8_t c = b[i];
    std::uint32_t cp = 0;
    std::size_t extra = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1Fu;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0Fu;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07u;
      extra = 3;
    } else {
      return std::nullopt;
    }
    if (extra > 0 && i + extra >= b.size()) return std::nullopt;  // sequence cut by the end
    for (std::size_t k = 1; k <= extra; ++k) {
      const std::uint8_t cc = b[i + k];
      if ((cc & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (cc & 0x3Fu);
    }
    const bool overlong = (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) ||
                          (extra == 3 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += extra + 1;
  }
  return out;
}

void AppendUtf8(std::vector<std::uint8_t>& out, const std::u16string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    std::uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    if (cp < 0x80) {
      out.push_back(static_cast<std::uint8_t>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<std::uint8_t>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<std::uint8_t>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<std::uint8_t>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    }
  }
}

}  // namespace

IniChars DecodeIniChars(std::span<const std::uint8_t> bytes) {
  IniChars result;
  std::u16string& text = result.text;
  if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
    const bool little = bytes[0] == 0xFF;
    result.encoding = little ? IniEncoding::Utf16Le : IniEncoding::Utf16Be;
    // An odd last byte is an incomplete unit and is dropped.
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const unsigned lo = little ? bytes[i] : bytes[i + 1];
      const unsigned hi = little ? bytes[i + 1] : bytes[i];
      text.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
  } else {
    std::span<const std::uint8_t> body = bytes;
    result.encoding = IniEncoding::Utf8;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
      body = bytes.subspan(3);
      result.encoding = IniEncoding::Utf8Bom;
    }
    if (auto decoded = DecodeUtf8(body)) {
      text = std::move(*decoded);
    } else {
      text.assign(body.begin(), body.end());
    }
  }
  const std::size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return result;
}

void ForEachIniLine(std::u16string_view text, const std::function<void(std::u16string_view)>& line) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' || text[i] == u'\r') {
      line(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) line(text.substr(start));
}

IniText DecodeIniText(std::span<const std::uint8_t> bytes) {
  IniChars chars = DecodeIniChars(bytes);
  IniText result;
  result.encoding = chars.encoding;
  ForEachIniLine(chars.text, [&](std::u16string_view line) { result.lines.emplace_back(line); });
  return result;
}

std::vector<std::uint8_t> EncodeIniText(const IniText& text) {
  std::u16string joined;
  for (const auto& line : text.lines) {
    joined += line;
    joined += u"\r\n";
  }
  std::vector<std::uint8_t> out;
  switch (text.encoding) {
    case IniEncoding::Utf16Le:
    case IniEncoding::Utf16Be: {
      const bool little = text.encoding == IniEncoding::Utf16Le;
      out.reserve(2 + joined.size() * 2);
      out.push_back(little ? 0xFF : 0xFE);
      out.push_back(little ? 0xFE : 0xFF);
      for (char16_t c : joined) {
        const auto lo = static_cast<std::uint8_t>(c & 0xFF);
        const auto hi = static_cast<std::uint8_t>(c >> 8);
        out.push_back(little ? lo : hi);
        out.push_back(little ? hi : lo);
      }
      break;
    }
    case IniEncoding::Utf8Bom:
      out = {0xEF, 0xBB, 0xBF};
      AppendUtf8(out, joined);
      break;
    case IniEncoding::Utf8:
      AppendUtf8(out, joined);
      break;
  }
  return out;
}

IniLine ParseIniLine(std::u16string_view line) {
  IniLine parsed;
  const std::u16string t = Trimmed(line);
  if (t.empty()) return parsed;
  if (t[0] == u'[') {
    const std::size_t close = t.rfind(u']');
    if (close != std::u16string::npos && close > 0) {
      parsed.kind = IniLineKind::Section;
      parsed.name = Trimmed(std::u16string_view(t).substr(1, close - 1));
      return parsed;
    }
  }
  // A line without '=' is no entry: it is neither found nor listed.
  const std::size_t eq = t.find(u'=');
  if (eq == std::u16string::npos) return parsed;
  parsed.kind = IniLineKind::Entry;
  parsed.name = Trimmed(std::u16string_view(t).substr(0, eq));
  parsed.value = Trimmed(std::u16string_view(t).substr(eq + 1));
  return parsed;
}

std::u16string IniNameKey(std::u16string_view name) {
  std::u16string key(name);
  for (char16_t& c : key) c = FoldCase(c);
  return key;
}

bool IniNamesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace vendrel::platform
