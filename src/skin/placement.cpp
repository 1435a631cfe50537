#include "skin/placement.h"

#include <array>
#include <climits>

namespace vendrel::skin {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Scans one "%d" at pos; false when there is no number there.
bool ScanInt(std::u16string_view text, std::size_t& pos, int& out) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  const std::size_t digits_start = pos;
  long long value = 0;
  while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
    if (value <= INT_MAX) value = value * 10 + (text[pos] - u'0');
    ++pos;
  }
  if (pos == digits_start) return false;
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

Placement ParsePlacement(std::u16string_view text) {
  std::array<int, 4> numbers{};
  std::size_t pos = 0;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != u',') break;
      ++pos;
    }
    if (!ScanInt(text, pos, numbers[i])) break;
  }
  return Placement{numbers[0], numbers[1], numbers[2], numbers[3]};
}

Placement ReadPlacement(const CIniFile& ini, std::u16string_view section, std::u16string_view key) {
  const auto value = ini.GetString(section, key, kDefaultPlacement);
  return ParsePlacement(value ? std::u16string_view(*value) : std::u16string_view{});
}

}  // namespace vendrel::skin
