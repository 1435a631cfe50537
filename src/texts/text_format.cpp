#include "texts/text_format.h"

#include <cstddef>
#include <optional>

namespace vendrel::texts {
namespace {

// One conversion of a format text.
struct Conversion {
  bool left = false;
  bool zero = false;
  unsigned width = 0;
  char16_t letter = 0;  // d, u, x, X, s, c; 0 for "%%"
  std::size_t length = 0;  // characters of the format it spans
};

constexpr unsigned kMaxWidth = 99;

// Parses the conversion starting at format[at] == '%'; nothing for anything outside the
// supported set (precision, length modifiers, '*', %n, %p, a lone '%' at the end, ...).
std::optional<Conversion> ParseConversion(std::u16string_view format, std::size_t at) {
  Conversion c;
  std::size_t i = at + 1;
  if (i < format.size() && format[i] == u'%') {
    c.length = 2;
    return c;
  }
  while (i < format.size() && (format[i] == u'-' || format[i] == u'0')) {
    (format[i] == u'-' ? c.left : c.zero) = true;
    ++i;
  }
  std::size_t digits = 0;
  while (i < format.size() && format[i] >= u'0' && format[i] <= u'9') {
    if (++digits > 2) return std::nullopt;
    c.width = c.width * 10 + static_cast<unsigned>(format[i] - u'0');
    ++i;
  }
  if (i >= format.size()) return std::nullopt;
  switch (format[i]) {
    case u'd':
    case u'i':
      c.letter = u'd';
      break;
    case u'u':
    case u'x':
    case u'X':
    case u's':
    case u'c':
      c.letter = format[i];
      break;
    default:
      return std::nullopt;
  }
  c.length = i + 1 - at;
  return c;
}

// The argument kinds of a format's conversions in order ('n' number, 's' text), or nothing when
// it holds an unsupported conversion.
std::optional<std::u16string> ConversionLetters(std::u16string_view format) {
  std::u16string letters;
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != u'%') {
      ++i;
      continue;
    }
    const auto c = ParseConversion(format, i);
    if (!c) return std::nullopt;
    if (c->letter != 0) letters.push_back(c->letter == u's' ? u's' : u'n');
    i += c->length;
  }
  return letters;
}

std::u16string Digits(std::uint64_t value, unsigned base, bool upper) {
  const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
  std::u16string out;
  do {
    out.insert(out.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return out;
}

void AppendPadded(std::u16string& out, std::u16string body, const Conversion& c, bool numeric) {
  if (body.size() < c.width) {
    const std::size_t pad = c.width - body.size();
    if (c.left) {
      body.append(pad, u' ');
    } else if (c.zero && numeric) {
      const std::size_t sign = (!body.empty() && body[0] == u'-') ? 1 : 0;
      body.insert(sign, pad, u'0');
    } else {
      body.insert(0, pad, u' ');
    }
  }
  out += body;
}

}  // namespace

bool FormatChecked(std::u16string_view format, std::initializer_list<FormatArg> args,
                   std::u16string& out) {
  std::u16string result;
  auto arg = args.begin();
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != u'%') {
      result.push_back(format[i++]);
      continue;
    }
    const auto c = ParseConversion(format, i);
    if (!c) return false;
    i += c->length;
    if (c->letter == 0) {
      result.push_back(u'%');
      continue;
    }
    if (arg == args.end()) return false;
    if (c->letter == u's') {
      const auto* text = std::get_if<std::u16string_view>(&*arg);
      if (!text) return false;
      AppendPadded(result, std::u16string(*text), *c, false);
    } else {
      const auto* number = std::get_if<std::int64_t>(&*arg);
      if (!number) return false;
      std::u16string body;
      switch (c->letter) {
        case u'd':
          body = *number < 0 ? u"-" + Digits(0 - static_cast<std::uint64_t>(*number), 10, false)
                             : Digits(static_cast<std::uint64_t>(*number), 10, false);
          break;
        case u'u':
          body = Digits(static_cast<std::uint32_t>(*number), 10, false);
          break;
        case u'x':
        case u'X':
          body = Digits(static_cast<std::uint32_t>(*number), 16, c->letter == u'X');
          break;
        default:  // 'c'
          body = std::u16string(1, static_cast<char16_t>(*number));
          break;
      }
      AppendPadded(result, std::move(body), *c, c->letter != u'c');
    }
    ++arg;
  }
  if (arg != args.end()) return false;
  out = std::move(result);
  return true;
}

bool SameConversions(std::u16string_view a, std::u16string_view b) {
  const auto la = ConversionLetters(a);
  const auto lb = ConversionLetters(b);
  return la && lb && *la == *lb;
}

}  // namespace vendrel::texts
