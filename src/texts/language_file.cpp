#include "texts/language_file.h"

#include <algorithm>
#include <limits>

namespace vendrel::texts {
namespace {

constexpr char16_t kLanguageSection[] = u"LANGUAGE";
constexpr char16_t kLanguageKey[] = u"language";
// A single blank: the reader removes it, so a missing key reads as an empty text.
constexpr char16_t kBlankDefault[] = u" ";
constexpr long long kSaturated = 1'000'000'000'000LL;

}  // namespace

long long LeadingInteger(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    // Saturates: an absurdly long number must not wrap round to 1.
    if (value < kSaturated) value = value * 10 + (text[i] - u'0');
    ++i;
  }
  return negative ? -value : value;
}

int LanguageValue(const platform::IniProfile& ini, const std::u16string& file) {
  const std::u16string value = platform::ReadProfileString(
      ini, kLanguageSection, kLanguageKey, kBlankDefault, kMaxTextLength + 1, file);
  // Clamped rather than cast: 2^32 + 1 must not come out as 1.
  return static_cast<int>(std::clamp<long long>(LeadingInteger(value),
                                                std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

std::u16string LanguageSection(const platform::IniProfile& ini, const std::u16string& file) {
  return LanguageValue(ini, file) == 1 ? kSectionEnglish : kSectionChinese;
}

std::u16string LookUpText(const platform::IniProfile& ini, const std::u16string& file,
                          const std::u16string& section, const std::u16string& key) {
  return platform::ReadProfileString(ini, section, key, kBlankDefault, kMaxTextLength + 1, file);
}

void LoadTexts(const platform::IniProfile& ini, const std::u16string& file, TextTable& table) {
  const std::u16string section = LanguageSection(ini, file);
  for (std::size_t i = 0; i < kTextKeyCount; ++i) {
    const auto key = static_cast<TextKey>(i);
    table.Set(key, LookUpText(ini, file, section, std::u16string(TextKeyName(key))));
  }
}

}  // namespace vendrel::texts
