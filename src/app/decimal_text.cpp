#include "app/decimal_text.h"

#include <string>

namespace vendrel::app {
namespace {

constexpr std::int64_t kSaturation = 0x7FFFFFFF;

}  // namespace

std::optional<std::int64_t> LeadingDecimal(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  if (i >= text.size() || text[i] < u'0' || text[i] > u'9') return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > kSaturation) value = kSaturation;
  }
  return negative ? -value : value;
}

std::u16string DecimalText(std::int64_t value) {
  const std::string narrow = std::to_string(value);
  return std::u16string(narrow.begin(), narrow.end());
}

}  // namespace vendrel::app
